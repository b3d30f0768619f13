#include "platform/win32/win32_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

std::wstring currentDirectory() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  if (length == 0) return std::wstring();
  std::wstring path(length, L'\0');
  const DWORD written = GetCurrentDirectoryW(length, &path[0]);
  if (written == 0 || written >= length) return std::wstring();
  path.resize(written);
  return path;
}

}  // namespace

UINT messageBoxStyle(MessageIcon icon, MessageButtons buttons) {
  UINT style = 0;
  switch (icon) {
    case MessageIcon::None:
      break;
    case MessageIcon::Error:
      style |= MB_ICONERROR;
      break;
    case MessageIcon::Warning:
      style |= MB_ICONWARNING;
      break;
    case MessageIcon::Information:
      style |= MB_ICONINFORMATION;
      break;
    case MessageIcon::Question:
      style |= MB_ICONQUESTION;
      break;
  }
  switch (buttons) {
    case MessageButtons::Ok:
      style |= MB_OK;
      break;
    case MessageButtons::OkCancel:
      style |= MB_OKCANCEL;
      break;
    case MessageButtons::YesNo:
      style |= MB_YESNO;
      break;
    case MessageButtons::YesNoCancel:
      style |= MB_YESNOCANCEL;
      break;
  }
  return style;
}

HWND Win32Dialogs::ownerWindow(DialogOwner owner) const {
  if (owner == DialogOwner::None || !resolver_) return nullptr;
  HWND window = resolver_(owner);
  return window != nullptr && IsWindow(window) ? window : nullptr;
}

MessageAnswer Win32Dialogs::messageBox(const MessageBoxRequest& request) {
  const std::wstring text = widen(request.text);
  const std::wstring caption = widen(request.caption);
  // A null caption gives the system's default one.
  int answer = MessageBoxW(ownerWindow(request.owner), text.c_str(),
                           request.caption.empty() ? nullptr : caption.c_str(),
                           messageBoxStyle(request.icon, request.buttons));
  switch (answer) {
    case IDOK:
      return MessageAnswer::Ok;
    case IDCANCEL:
      return MessageAnswer::Cancel;
    case IDYES:
      return MessageAnswer::Yes;
    case IDNO:
      return MessageAnswer::No;
    default:
      return MessageAnswer::None;
  }
}

bool Win32Dialogs::pickFolder(DialogOwner owner, const std::string& title, std::string& path) {
  const std::wstring wideTitle = widen(title);
  BROWSEINFOW info{};
  info.hwndOwner = ownerWindow(owner);
  info.lpszTitle = wideTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
  if (list == nullptr) return false;
  wchar_t buffer[MAX_PATH] = {};
  bool ok = SHGetPathFromIDListW(list, buffer) != FALSE;
  CoTaskMemFree(list);
  if (ok) path = narrow(buffer);
  return ok;
}

bool Win32Dialogs::pickFiles(DialogOwner owner, const std::string& title, const std::string& filter,
                             std::vector<std::string>& paths) {
  // The filter holds '\0' separators; widen keeps them (one byte, one unit),
  // and a second terminator ends the list as the picker expects.
  std::wstring wideFilter = widen(filter);
  wideFilter.push_back(L'\0');
  const std::wstring wideTitle = widen(title);
  std::wstring buffer(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = ownerWindow(owner);
  ofn.lpstrFilter = wideFilter.c_str();
  ofn.lpstrFile = &buffer[0];
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = title.empty() ? nullptr : wideTitle.c_str();
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
              OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  // The picker may leave the process in the chosen folder (the flag above is
  // not honoured by every version), and the configuration files are found
  // through the working directory: it is put back whatever the answer.
  const std::wstring workingDirectory = currentDirectory();
  const BOOL picked = GetOpenFileNameW(&ofn);
  if (!workingDirectory.empty()) SetCurrentDirectoryW(workingDirectory.c_str());
  if (!picked) return false;
  paths = pickedFilePaths(buffer.c_str());
  return !paths.empty();
}

std::vector<std::string> pickedFilePaths(const wchar_t* buffer) {
  std::vector<std::string> paths;
  if (buffer == nullptr || *buffer == L'\0') return paths;
  const std::wstring folder = buffer;
  const wchar_t* cursor = buffer + folder.size() + 1;
  if (*cursor == L'\0') {
    paths.push_back(narrow(folder));
    return paths;
  }
  const bool joined = folder.back() == L'\\' || folder.back() == L'/';
  const std::wstring prefix = joined ? folder : folder + L"\\";
  while (*cursor != L'\0') {
    const std::wstring name = cursor;
    paths.push_back(narrow(prefix + name));
    cursor += name.size() + 1;
  }
  return paths;
}

}  // namespace pom
