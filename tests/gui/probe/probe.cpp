// probe: a companion Windows program for the GUI tests. It runs in the same
// Wine prefix as the program under test and reads or drives its windows the
// way a person would see them: window titles, control texts, message boxes.
// Output is UTF-8, one fact per line, so shell scripts can grep it.
//
//   probe windows                       visible top-level windows: hwnd, class, size, title
//   probe wait-window PREFIX MS         waits for a visible window whose title starts with PREFIX
//   probe controls PREFIX               the children of that window: id, class (with
//                                       "+checked" for checked boxes), visible, text,
//                                       and "x,y,w,h" in the window's client area
//   probe wait-control PREFIX ID MS     waits until child ID of that window is visible
//   probe client PREFIX                 "x y w h": the client area's origin inside the window
//                                       rectangle (for clicks) and its size
//   probe wait-msgbox MS                waits for a message box; prints its caption and text
//   probe answer ID                     clicks button ID (1 OK, 2 Cancel, 6 Yes, 7 No) of the box
//   probe settext PREFIX ID TEXT        sets the text of child ID (resets an edit)
//   probe close PREFIX                  posts the close command to that window
//   probe close-class CLASS             posts it to every shown top-level window of
//                                       that class; fails when there is none
//   probe tree PREFIX ID                the items of tree view ID, depth first: depth,
//                                       flags ("selected", "expanded" or "-"), label
//   probe node-rect PREFIX ID LABEL     "x y w h" of the first tree item with that label
//                                       (its text), in the window's client area
//   probe rows PREFIX ID                the rows of list view ID: index, flags
//                                       ("selected" or "-"), then one text per column
//   probe row-rect PREFIX ID ROW        "x y w h" of a row's label, in the window's client area
//   probe rect PREFIX                   "x y w h": that window's rectangle on the screen
//   probe skin-buttons PREFIX           the skinned buttons of a transfer window (drawn,
//                                       not windows): index, bitmap number, "shown" or
//                                       "hidden" (start and stop share one place), and
//                                       "x,y,w,h" in the window's client area
//   probe move PREFIX X Y               moves that window's top-left corner to (X, Y) on
//                                       the screen (its size and stacking order kept)
//   probe drop PREFIX X Y PATH...       drops files on that window at (X, Y) of its client
//                                       area, as the shell's drag of files would
//                                       (WM_DROPFILES with the wide paths)
//   probe browse-folder PATH MS         waits up to MS for the shell's folder browser,
//                                       selects PATH in it (none when empty) and
//                                       prints "window" and its title
//   probe menus                         the pop-up menus shown: "menu", "x,y,w,h" on the
//                                       screen and the number of items, then "item" and
//                                       each item's text; the count is -1 where another
//                                       process's menu cannot be read (so under Wine)
//
// Tree and list items are read with the controls' own messages; their
// structures and texts go through a buffer allocated in the program's
// process (VirtualAllocEx), since those messages are not marshalled between
// processes.
//
// Exit code 0 on success, 1 when the thing waited for did not appear, 2 on
// bad usage.
#include <windows.h>
// The common controls' and the shell's headers need windows.h first.
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void print(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size,
                      nullptr, nullptr);
  bytes += '\n';
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

// Escapes line breaks so one text stays on one line.
std::wstring oneLine(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\r')
      out += L"\\r";
    else if (c == L'\n')
      out += L"\\n";
    else
      out += c;
  }
  return out;
}

std::wstring windowText(HWND window) {
  // WM_GETTEXT works across processes for every control kind, edits included.
  wchar_t buffer[2048] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 2000,
                      nullptr);
  return buffer;
}

std::wstring className(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, 256);
  return buffer;
}

std::vector<HWND> topWindows() {
  std::vector<HWND> out;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND findByPrefix(const std::wstring& prefix) {
  for (HWND window : topWindows())
    if (windowText(window).compare(0, prefix.size(), prefix) == 0) return window;
  return nullptr;
}

HWND findMessageBox() {
  for (HWND window : topWindows()) {
    // A message box is a dialog with the static text id 0xFFFF.
    if (className(window) == L"#32770" && GetDlgItem(window, 0xFFFF) != nullptr) return window;
  }
  return nullptr;
}

template <typename Find>
HWND waitFor(Find find, int milliseconds) {
  for (int waited = 0;; waited += 50) {
    if (HWND found = find()) return found;
    if (waited >= milliseconds) return nullptr;
    Sleep(50);
  }
}

std::wstring hex(HWND window) {
  wchar_t buffer[32];
  swprintf(buffer, 32, L"%p", static_cast<void*>(window));
  return buffer;
}

int listControls(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    wchar_t head[64];
    swprintf(head, 64, L"%d\t", GetDlgCtrlID(child));
    std::wstring kind = className(child);
    // Check boxes and radios also tell whether they are checked.
    if (kind == L"Button" && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED)
      kind += L"+checked";
    // Position and size in the parent's client coordinates.
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    wchar_t place[96];
    swprintf(place, 96, L"\t%ld,%ld,%ld,%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    print(head + kind + L"\t" + (IsWindowVisible(child) ? L"visible" : L"hidden") + L"\t" +
          oneLine(windowText(child)) + place);
  }
  return 0;
}

// A buffer in another process, for the common controls' messages whose
// structures must live in the control's own address space.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr)
      base_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (base_ != nullptr) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool ok() const { return base_ != nullptr; }
  // The remote address of a byte offset into the buffer.
  void* at(size_t offset) const { return static_cast<char*>(base_) + offset; }
  bool write(size_t offset, const void* data, size_t size) const {
    return offset + size <= size_ &&
           WriteProcessMemory(process_, at(offset), data, size, nullptr) != 0;
  }
  bool read(size_t offset, void* data, size_t size) const {
    return offset + size <= size_ &&
           ReadProcessMemory(process_, at(offset), data, size, nullptr) != 0;
  }
  std::wstring readText(size_t offset, size_t characters) const {
    std::vector<wchar_t> text(characters + 1, L'\0');
    if (!read(offset, text.data(), characters * sizeof(wchar_t))) return L"";
    text[characters] = L'\0';
    return text.data();
  }

 private:
  HANDLE process_ = nullptr;
  void* base_ = nullptr;
  size_t size_ = 0;
};

constexpr size_t kTextChars = 1024;

LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, 5000, &result)) return 0;
  return static_cast<LRESULT>(result);
}

HWND controlOf(const std::wstring& prefix, int id) {
  HWND window = findByPrefix(prefix);
  return window != nullptr ? GetDlgItem(window, id) : nullptr;
}

// "x y w h" of a rectangle of a control, in its top window's client area.
std::wstring clientRect(HWND control, RECT r) {
  MapWindowPoints(control, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT*>(&r), 2);
  wchar_t line[96];
  swprintf(line, 96, L"%ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return line;
}

struct TreeItem {
  HTREEITEM item;
  int depth;
  UINT state;
  std::wstring label;
};

// Every item of a tree view, depth first, collapsed branches included.
std::vector<TreeItem> treeItems(HWND tree) {
  std::vector<TreeItem> items;
  RemoteBuffer remote(tree, sizeof(TVITEMW) + (kTextChars + 1) * sizeof(wchar_t));
  if (!remote.ok()) return items;
  auto next = [tree](HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(
        send(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
  };
  std::vector<std::pair<HTREEITEM, int>> stack;
  for (HTREEITEM top = next(nullptr, TVGN_ROOT); top != nullptr; top = next(top, TVGN_NEXT))
    stack.emplace_back(top, 0);
  std::reverse(stack.begin(), stack.end());
  while (!stack.empty()) {
    const auto [item, depth] = stack.back();
    stack.pop_back();
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE;
    data.hItem = item;
    data.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
    data.pszText = static_cast<wchar_t*>(remote.at(sizeof(TVITEMW)));
    data.cchTextMax = static_cast<int>(kTextChars);
    remote.write(0, &data, sizeof data);
    std::wstring label;
    if (send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.at(0))) != 0) {
      remote.read(0, &data, sizeof data);
      label = remote.readText(sizeof(TVITEMW), kTextChars);
    }
    items.push_back({item, depth, data.state, label});
    std::vector<std::pair<HTREEITEM, int>> children;
    for (HTREEITEM c = next(item, TVGN_CHILD); c != nullptr; c = next(c, TVGN_NEXT))
      children.emplace_back(c, depth + 1);
    stack.insert(stack.end(), children.rbegin(), children.rend());
  }
  return items;
}

int printTree(HWND tree) {
  if (tree == nullptr) return 1;
  for (const TreeItem& item : treeItems(tree)) {
    std::wstring flags;
    if (item.state & TVIS_SELECTED) flags += L"selected";
    if (item.state & TVIS_EXPANDED) flags += flags.empty() ? L"expanded" : L",expanded";
    if (flags.empty()) flags = L"-";
    print(std::to_wstring(item.depth) + L"\t" + flags + L"\t" + oneLine(item.label));
  }
  return 0;
}

int printNodeRect(HWND tree, const std::wstring& label) {
  if (tree == nullptr) return 1;
  for (const TreeItem& item : treeItems(tree)) {
    if (item.label != label) continue;
    // TVM_GETITEMRECT takes the item handle in the rectangle it fills.
    RemoteBuffer remote(tree, sizeof(RECT));
    RECT r{};
    *reinterpret_cast<HTREEITEM*>(&r) = item.item;
    if (!remote.ok() || !remote.write(0, &r, sizeof r) ||
        send(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote.at(0))) == 0 ||
        !remote.read(0, &r, sizeof r))
      return 1;
    print(clientRect(tree, r));
    return 0;
  }
  return 1;
}

int printRows(HWND list) {
  if (list == nullptr) return 1;
  HWND header = reinterpret_cast<HWND>(send(list, LVM_GETHEADER, 0, 0));
  const int columns =
      header != nullptr ? static_cast<int>(send(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  const int count = static_cast<int>(send(list, LVM_GETITEMCOUNT, 0, 0));
  RemoteBuffer remote(list, sizeof(LVITEMW) + (kTextChars + 1) * sizeof(wchar_t));
  if (!remote.ok()) return 1;
  for (int row = 0; row < count; ++row) {
    const UINT state = static_cast<UINT>(send(list, LVM_GETITEMSTATE, row, LVIS_SELECTED));
    std::wstring line = std::to_wstring(row) + ((state & LVIS_SELECTED) ? L"\tselected" : L"\t-");
    for (int column = 0; column < columns; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = static_cast<wchar_t*>(remote.at(sizeof(LVITEMW)));
      item.cchTextMax = static_cast<int>(kTextChars);
      remote.write(0, &item, sizeof item);
      const wchar_t none = L'\0';
      remote.write(sizeof(LVITEMW), &none, sizeof none);
      send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.at(0)));
      line += L"\t" + oneLine(remote.readText(sizeof(LVITEMW), kTextChars));
    }
    print(line);
  }
  return 0;
}

int printRowRect(HWND list, int row) {
  if (list == nullptr) return 1;
  RemoteBuffer remote(list, sizeof(RECT));
  RECT r{};
  r.left = LVIR_LABEL;
  if (!remote.ok() || !remote.write(0, &r, sizeof r) ||
      send(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.at(0))) == 0 ||
      !remote.read(0, &r, sizeof r))
    return 1;
  print(clientRect(list, r));
  return 0;
}

// The transfer windows answer this private message about their skinned
// buttons (wParam the button's index, lParam the field: 0 bitmap, 1 shown,
// 2 x, 3 y, 4 width, 5 height; -1 past the last button). The number is the
// program's (kTransferButtonQuery in src/win32/transfer_window.h).
constexpr UINT kTransferButtonQuery = WM_APP + 0x2B0;

int printSkinButtons(HWND window) {
  if (window == nullptr) return 1;
  auto field = [window](int index, int which) {
    return static_cast<int>(send(window, kTransferButtonQuery, static_cast<WPARAM>(index), which));
  };
  int index = 0;
  for (; index < 64 && field(index, 0) > 0; ++index) {
    wchar_t line[128];
    swprintf(line, 128, L"%d\t%d\t%ls\t%d,%d,%d,%d", index, field(index, 0),
             field(index, 1) == 1 ? L"shown" : L"hidden", field(index, 2), field(index, 3),
             field(index, 4), field(index, 5));
    print(line);
  }
  return index > 0 ? 0 : 1;
}

// Pop-up menus are windows of the class "#32768"; MN_GETHMENU gives the menu,
// whose items are read where the menu handle can be reached from here.
int printMenus() {
  int shown = 0;
  for (HWND window : topWindows()) {
    if (className(window) != L"#32768") continue;
    ++shown;
    RECT r{};
    GetWindowRect(window, &r);
    HMENU menu = reinterpret_cast<HMENU>(send(window, MN_GETHMENU, 0, 0));
    const int count = menu != nullptr ? GetMenuItemCount(menu) : -1;
    wchar_t head[128];
    swprintf(head, 128, L"menu\t%ld,%ld,%ld,%ld\t%d", r.left, r.top, r.right - r.left,
             r.bottom - r.top, count);
    print(head);
    for (int i = 0; i < count; ++i) {
      wchar_t text[256] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
      print(std::wstring(L"item\t") + text);
    }
  }
  return shown > 0 ? 0 : 1;
}

// The files of a drop live in the program's process: a fixed block there
// (its address serves as the drop handle, as a fixed global block's does)
// holding a DROPFILES header and the wide paths, the list ended by an empty
// one. The program finishes the drop itself; the block is then abandoned.
int dropFiles(HWND window, POINT at, const std::vector<std::wstring>& paths) {
  if (window == nullptr || paths.empty()) return 1;
  std::vector<wchar_t> names;
  for (const std::wstring& path : paths) {
    names.insert(names.end(), path.begin(), path.end());
    names.push_back(L'\0');
  }
  names.push_back(L'\0');
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.pt = at;
  header.fNC = FALSE;
  header.fWide = TRUE;
  const size_t size = sizeof header + names.size() * sizeof(wchar_t);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return 1;
  void* block = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool written =
      block != nullptr &&
      WriteProcessMemory(process, block, &header, sizeof header, nullptr) != 0 &&
      WriteProcessMemory(process, static_cast<char*>(block) + sizeof header, names.data(),
                         names.size() * sizeof(wchar_t), nullptr) != 0;
  CloseHandle(process);
  if (!written) return 1;
  return PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };
  auto number = [&](int i) { return i < argc ? _wtoi(argv[i]) : 0; };

  if (command == L"windows") {
    for (HWND window : topWindows()) {
      RECT r{};
      GetWindowRect(window, &r);
      wchar_t size[64];
      swprintf(size, 64, L"\t%ldx%ld\t", r.right - r.left, r.bottom - r.top);
      print(hex(window) + L"\t" + className(window) + size + oneLine(windowText(window)));
    }
    return 0;
  }
  if (command == L"wait-window") {
    const std::wstring prefix = arg(2);
    HWND found = waitFor([&] { return findByPrefix(prefix); }, number(3));
    if (found == nullptr) return 1;
    print(L"window\t" + oneLine(windowText(found)));
    return 0;
  }
  if (command == L"controls") {
    HWND window = findByPrefix(arg(2));
    return window != nullptr ? listControls(window) : 1;
  }
  if (command == L"wait-control") {
    const std::wstring prefix = arg(2);
    const int id = number(3);
    HWND found = waitFor(
        [&]() -> HWND {
          HWND window = findByPrefix(prefix);
          HWND child = window != nullptr ? GetDlgItem(window, id) : nullptr;
          return child != nullptr && IsWindowVisible(child) ? child : nullptr;
        },
        number(4));
    return found != nullptr ? 0 : 1;
  }
  if (command == L"client") {
    HWND window = findByPrefix(arg(2));
    if (window == nullptr) return 1;
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    wchar_t line[96];
    swprintf(line, 96, L"%ld %ld %ld %ld", origin.x - outer.left, origin.y - outer.top,
             client.right, client.bottom);
    print(line);
    return 0;
  }
  if (command == L"wait-msgbox") {
    HWND box = waitFor(findMessageBox, number(2));
    if (box == nullptr) return 1;
    print(L"caption\t" + oneLine(windowText(box)));
    print(L"text\t" + oneLine(windowText(GetDlgItem(box, 0xFFFF))));
    return 0;
  }
  if (command == L"answer") {
    HWND box = findMessageBox();
    HWND button = box != nullptr ? GetDlgItem(box, number(2)) : nullptr;
    if (button == nullptr) return 1;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(number(2), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return 0;
  }
  if (command == L"settext") {
    HWND window = findByPrefix(arg(2));
    HWND child = window != nullptr ? GetDlgItem(window, number(3)) : nullptr;
    if (child == nullptr) return 1;
    const std::wstring text = arg(4);
    SendMessageTimeoutW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK,
                        2000, nullptr);
    return 0;
  }
  if (command == L"close") {
    HWND window = findByPrefix(arg(2));
    if (window == nullptr) return 1;
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == L"close-class") {
    int closed = 0;
    for (HWND window : topWindows()) {
      if (className(window) != arg(2)) continue;
      PostMessageW(window, WM_CLOSE, 0, 0);
      ++closed;
    }
    return closed > 0 ? 0 : 1;
  }
  if (command == L"tree") return printTree(controlOf(arg(2), number(3)));
  if (command == L"node-rect") return printNodeRect(controlOf(arg(2), number(3)), arg(4));
  if (command == L"rows") return printRows(controlOf(arg(2), number(3)));
  if (command == L"row-rect") return printRowRect(controlOf(arg(2), number(3)), number(4));
  if (command == L"menus") return printMenus();
  if (command == L"rect") {
    HWND window = findByPrefix(arg(2));
    if (window == nullptr) return 1;
    RECT r{};
    GetWindowRect(window, &r);
    wchar_t line[96];
    swprintf(line, 96, L"%ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    print(line);
    return 0;
  }
  if (command == L"skin-buttons") return printSkinButtons(findByPrefix(arg(2)));
  if (command == L"move") {
    HWND window = findByPrefix(arg(2));
    if (window == nullptr) return 1;
    return SetWindowPos(window, nullptr, number(3), number(4), 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
               ? 0
               : 1;
  }
  if (command == L"browse-folder") {
    // The shell's folder browser (a dialog with a tree): selects PATH (when
    // one is given) and prints the dialog's title.
    HWND browser = waitFor(
        []() -> HWND {
          for (HWND window : topWindows()) {
            if (className(window) == L"#32770" &&
                FindWindowExW(window, nullptr, L"SysTreeView32", nullptr) != nullptr)
              return window;
          }
          return nullptr;
        },
        number(3));
    if (browser == nullptr) return 1;
    const std::wstring path = arg(2);
    if (!path.empty()) {
      const size_t bytes = (path.size() + 1) * sizeof(wchar_t);
      RemoteBuffer remote(browser, bytes);
      if (!remote.ok() || !remote.write(0, path.c_str(), bytes)) return 1;
      constexpr UINT kSetSelection = WM_USER + 103;  // BFFM_SETSELECTIONW
      send(browser, kSetSelection, TRUE, reinterpret_cast<LPARAM>(remote.at(0)));
    }
    print(L"window\t" + oneLine(windowText(browser)));
    return 0;
  }
  if (command == L"drop") {
    std::vector<std::wstring> paths;
    for (int i = 5; i < argc; ++i) paths.push_back(argv[i]);
    return dropFiles(findByPrefix(arg(2)), POINT{number(3), number(4)}, paths);
  }
  return 2;
}
