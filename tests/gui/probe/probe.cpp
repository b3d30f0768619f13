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
//
// Exit code 0 on success, 1 when the thing waited for did not appear, 2 on
// bad usage.
#include <windows.h>

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
  return 2;
}
