#include "win32/local_shell_win32.h"

#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

constexpr int kFirstShellCommand = 1;
constexpr int kLastShellCommand = 32767;

std::wstring ansiText(const char* text) {
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH);
  return wide;
}

// The text of a display name, freed the shell's way.
std::wstring displayName(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags) {
  STRRET ret{};
  if (folder == nullptr || FAILED(folder->GetDisplayNameOf(item, flags, &ret))) return L"";
  switch (ret.uType) {
    case STRRET_WSTR: {
      std::wstring text = ret.pOleStr != nullptr ? ret.pOleStr : L"";
      CoTaskMemFree(ret.pOleStr);
      return text;
    }
    case STRRET_OFFSET:
      return ansiText(reinterpret_cast<const char*>(item) + ret.uOffset);
    case STRRET_CSTR:
      return ansiText(ret.cStr);
    default:
      return L"";
  }
}

LocalStamp stampOf(const FILETIME& utc) {
  LocalStamp stamp;
  FILETIME local{};
  SYSTEMTIME time{};
  FileTimeToLocalFileTime(&utc, &local);
  FileTimeToSystemTime(&local, &time);
  stamp.year = time.wYear;
  stamp.month = time.wMonth;
  stamp.day = time.wDay;
  stamp.hour = time.wHour;
  stamp.minute = time.wMinute;
  stamp.order = (static_cast<std::int64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
  return stamp;
}

// The head of an absolute list with its first count identifiers.
LPITEMIDLIST headOf(LPCITEMIDLIST list, int count) {
  LPITEMIDLIST head = ILClone(list);
  if (head == nullptr) return nullptr;
  auto* at = reinterpret_cast<BYTE*>(head);
  for (int i = 0; i < count && reinterpret_cast<LPITEMIDLIST>(at)->mkid.cb != 0; ++i)
    at += reinterpret_cast<LPITEMIDLIST>(at)->mkid.cb;
  reinterpret_cast<LPITEMIDLIST>(at)->mkid.cb = 0;
  return head;
}

int idCount(LPCITEMIDLIST list) {
  int count = 0;
  for (auto* at = reinterpret_cast<const BYTE*>(list);
       reinterpret_cast<LPCITEMIDLIST>(at)->mkid.cb != 0;
       at += reinterpret_cast<LPCITEMIDLIST>(at)->mkid.cb)
    ++count;
  return count;
}

}  // namespace

Win32LocalItem::Win32LocalItem(IShellFolder* parent, LPITEMIDLIST relative, LPITEMIDLIST absolute)
    : parent_(parent), relative_(relative), absolute_(absolute) {
  if (parent_ != nullptr) parent_->AddRef();
}

Win32LocalItem::~Win32LocalItem() {
  CoTaskMemFree(relative_);
  CoTaskMemFree(absolute_);
  if (parent_ != nullptr) parent_->Release();
}

Win32LocalShell::Win32LocalShell(HWND owner) : owner_(owner) {
  SHGetDesktopFolder(&desktop_);
}

Win32LocalShell::~Win32LocalShell() {
  if (desktop_ != nullptr) desktop_->Release();
}

LocalItemPtr Win32LocalShell::desktop() {
  LPITEMIDLIST root = nullptr;
  if (desktop_ == nullptr || FAILED(SHGetSpecialFolderLocation(owner_, CSIDL_DESKTOP, &root)))
    return nullptr;
  return std::make_shared<Win32LocalItem>(nullptr, nullptr, root);
}

IShellFolder* Win32LocalShell::bind(const LocalItem& folder) {
  const Win32LocalItem& item = win32Item(folder);
  IShellFolder* bound = nullptr;
  if (idCount(item.absolute()) == 0) {
    desktop_->AddRef();
    return desktop_;
  }
  if (FAILED(desktop_->BindToObject(item.absolute(), nullptr, IID_IShellFolder,
                                    reinterpret_cast<void**>(&bound))))
    return nullptr;
  return bound;
}

bool Win32LocalShell::enumerate(const LocalItem& folder, LocalEnum what,
                                std::vector<LocalEntry>& out) {
  IShellFolder* shellFolder = bind(folder);
  if (shellFolder == nullptr) return false;
  const DWORD flags =
      SHCONTF_FOLDERS | (what == LocalEnum::FoldersAndFiles ? SHCONTF_NONFOLDERS : 0);
  IEnumIDList* children = nullptr;
  // S_FALSE: nothing to enumerate (an empty drive); null: likewise.
  const HRESULT started = shellFolder->EnumObjects(owner_, flags, &children);
  bool ok = SUCCEEDED(started);
  const LPCITEMIDLIST parentList = win32Item(folder).absolute();
  for (LPITEMIDLIST child = nullptr; ok && children != nullptr;) {
    ULONG got = 0;
    if (children->Next(1, &child, &got) != S_OK || got != 1) break;
    LPITEMIDLIST absolute = ILCombine(parentList, child);
    if (absolute == nullptr) {  // the allocator failed
      CoTaskMemFree(child);
      ok = false;
      break;
    }
    LocalEntry entry;
    ULONG attributes = local_attr::kQueried;
    LPCITEMIDLIST one = child;
    if (FAILED(shellFolder->GetAttributesOf(1, &one, &attributes))) attributes = 0;
    entry.attributes = attributes;
    entry.name = narrow(displayName(shellFolder, child, SHGDN_INFOLDER));
    if (what == LocalEnum::FoldersAndFiles && (attributes & local_attr::kFileSystem) != 0) {
      WIN32_FIND_DATAW data{};
      if (SUCCEEDED(
              SHGetDataFromIDListW(shellFolder, child, SHGDFIL_FINDDATA, &data, sizeof data))) {
        entry.size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entry.modified = stampOf(data.ftLastWriteTime);
        // The type by the name and attributes alone, without opening the file.
        SHFILEINFOW info{};
        SHGetFileInfoW(data.cFileName, data.dwFileAttributes, &info, sizeof info,
                       SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES);
        entry.typeName = narrow(info.szTypeName);
      }
    }
    entry.item = std::make_shared<Win32LocalItem>(shellFolder, child, absolute);
    out.push_back(std::move(entry));
  }
  if (children != nullptr) children->Release();
  shellFolder->Release();
  return ok;
}

std::string Win32LocalShell::pathOf(const LocalItem& item) {
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(win32Item(item).absolute(), path)) return "";
  return narrow(path);
}

std::string Win32LocalShell::nameOf(const LocalItem& item) {
  SHFILEINFOW info{};
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(win32Item(item).absolute()), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_DISPLAYNAME);
  return narrow(info.szDisplayName);
}

int Win32LocalShell::compare(const LocalItem&, const LocalItem& a, const LocalItem& b, int column) {
  // Both are children of the folder shown, whose IShellFolder they carry.
  const Win32LocalItem& first = win32Item(a);
  const Win32LocalItem& second = win32Item(b);
  if (first.parent() == nullptr || first.relative() == nullptr || second.relative() == nullptr)
    return 0;
  const HRESULT order = first.parent()->CompareIDs(static_cast<LPARAM>(column & 0xFFFF),
                                                   first.relative(), second.relative());
  return FAILED(order) ? 0 : static_cast<short>(HRESULT_CODE(order));
}

int Win32LocalShell::compareText(const std::string& a, const std::string& b) {
  const std::wstring wa = widen(a), wb = widen(b);
  return CompareStringW(LOCALE_USER_DEFAULT, 0, wa.c_str(), -1, wb.c_str(), -1) - CSTR_EQUAL;
}

LocalItemPtr Win32LocalShell::rename(const LocalItem& folder, const LocalItem& item,
                                     const std::string& newName) {
  const Win32LocalItem& renamed = win32Item(item);
  if (renamed.parent() == nullptr || renamed.relative() == nullptr) return nullptr;
  LPITEMIDLIST child = nullptr;
  // In-folder naming: the shell keeps an extension it hides.
  if (FAILED(renamed.parent()->SetNameOf(owner_, renamed.relative(), widen(newName).c_str(),
                                         SHGDN_INFOLDER, &child)) ||
      child == nullptr)
    return nullptr;
  LPITEMIDLIST absolute = ILCombine(win32Item(folder).absolute(), child);
  if (absolute == nullptr) {
    CoTaskMemFree(child);
    return nullptr;
  }
  return std::make_shared<Win32LocalItem>(renamed.parent(), child, absolute);
}

bool Win32LocalShell::remove(const std::vector<std::string>& paths, bool toRecycleBin) {
  std::vector<std::wstring> wide;
  wide.reserve(paths.size());
  for (const std::string& path : paths) wide.push_back(widen(path));
  // However long: every path ends in a NUL and the list in another.
  const std::wstring from = doubleNulList(wide);
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = owner_;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOERRORUI | (toRecycleBin ? FOF_ALLOWUNDO : 0);
  return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

void Win32LocalShell::open(const LocalItem& item) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_IDLIST;
  info.hwnd = owner_;
  info.lpIDList = const_cast<LPITEMIDLIST>(win32Item(item).absolute());
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
}

std::vector<LocalItemPtr> Win32LocalShell::chainTo(const std::string& path) {
  std::vector<LocalItemPtr> chain;
  std::wstring wide = widen(path);
  LPITEMIDLIST full = nullptr;
  if (desktop_ == nullptr || wide.empty() ||
      FAILED(desktop_->ParseDisplayName(owner_, nullptr, &wide[0], nullptr, &full, nullptr)))
    return chain;
  const int count = idCount(full);
  for (int i = 1; i <= count; ++i) {
    LPITEMIDLIST head = headOf(full, i);
    if (head == nullptr) break;
    chain.push_back(std::make_shared<Win32LocalItem>(nullptr, nullptr, head));
  }
  CoTaskMemFree(full);
  return chain;
}

bool Win32LocalShell::sameItem(const LocalItem& a, const LocalItem& b) {
  const HRESULT order = desktop_->CompareIDs(0, win32Item(a).absolute(), win32Item(b).absolute());
  return SUCCEEDED(order) && HRESULT_CODE(order) == 0;
}

int Win32LocalShell::iconOf(const LocalItem& item, bool open) {
  SHFILEINFOW info{};
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(win32Item(item).absolute()), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0));
  return info.iIcon;
}

// --- the context menu -------------------------------------------------------

void ShellMenu::release() {
  if (menu2_ != nullptr) menu2_->Release();
  if (menu_ != nullptr) menu_->Release();
  menu2_ = nullptr;
  menu_ = nullptr;
}

LocalMenuChoice ShellMenu::track(HWND owner, IShellFolder* folder,
                                 const std::vector<LPCITEMIDLIST>& items, POINT screen) {
  release();
  LocalMenuChoice choice;
  if (folder == nullptr || items.empty()) return choice;
  std::vector<LPCITEMIDLIST> children(items);
  if (FAILED(folder->GetUIObjectOf(owner, static_cast<UINT>(children.size()), children.data(),
                                   IID_IContextMenu, nullptr, reinterpret_cast<void**>(&menu_))))
    return choice;
  menu_->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(&menu2_));
  HMENU popup = CreatePopupMenu();
  if (popup == nullptr) return choice;
  menu_->QueryContextMenu(popup, 0, kFirstShellCommand, kLastShellCommand,
                          CMF_NORMAL | CMF_CANRENAME);
  InsertMenuW(popup, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING, kUploadMenuCommand,
              widen("업로드하기(&F)").c_str());
  open_ = true;
  choice.command =
      TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
  open_ = false;
  DestroyMenu(popup);
  if (choice.command >= kFirstShellCommand && choice.command <= kLastShellCommand) {
    // The verb names the command whatever number this shell gave it.
    wchar_t verb[64] = {};
    if (SUCCEEDED(menu_->GetCommandString(choice.command - kFirstShellCommand, GCS_VERBW, nullptr,
                                          reinterpret_cast<LPSTR>(verb), 64)))
      choice.verb = narrow(verb);
  }
  return choice;
}

void ShellMenu::run(HWND owner, const LocalMenuChoice& choice) {
  if (menu_ == nullptr || choice.command < kFirstShellCommand || choice.command > kLastShellCommand)
    return;
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.hwnd = owner;
  info.lpVerb = MAKEINTRESOURCEA(choice.command - kFirstShellCommand);
  info.nShow = SW_SHOWNORMAL;
  menu_->InvokeCommand(&info);
  release();
}

bool ShellMenu::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!open_ || menu2_ == nullptr) return false;
  if (message != WM_INITMENUPOPUP && message != WM_DRAWITEM && message != WM_MEASUREITEM)
    return false;
  result = SUCCEEDED(menu2_->HandleMenuMsg(message, wParam, lParam)) ? TRUE : FALSE;
  return true;
}

}  // namespace pom
