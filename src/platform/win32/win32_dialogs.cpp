#include "platform/win32/win32_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include "platform/win32/wide_text.h"

namespace pom {

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
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (!GetOpenFileNameW(&ofn)) return false;
  // One file: the full path. Several: the folder, then each name, each
  // terminated, the list ending in an empty string.
  paths.clear();
  const wchar_t* cursor = buffer.c_str();
  std::wstring folder = cursor;
  cursor += folder.size() + 1;
  if (*cursor == L'\0') {
    paths.push_back(narrow(folder));
    return true;
  }
  while (*cursor != L'\0') {
    std::wstring name = cursor;
    paths.push_back(narrow(folder + L"\\" + name));
    cursor += name.size() + 1;
  }
  return !paths.empty();
}

}  // namespace pom
