#include "win32/shell_icons.h"

#include <shellapi.h>

namespace pom {
namespace {

int systemIconOf(const wchar_t* name, DWORD attributes) {
  SHFILEINFOW info{};
  SHGetFileInfoW(name, attributes, &info, sizeof info,
                 SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return info.iIcon;
}

HIMAGELIST systemList(UINT size) {
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | size));
}

}  // namespace

HIMAGELIST ShellIcons::smallList() {
  return systemList(SHGFI_SMALLICON);
}

HIMAGELIST ShellIcons::largeList() {
  return systemList(SHGFI_ICON);
}

int ShellIcons::fileIcon(const std::wstring& name) {
  const std::size_t dot = name.rfind(L'.');
  std::wstring extension = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
  if (!extension.empty()) CharLowerBuffW(&extension[0], static_cast<DWORD>(extension.size()));
  const auto known = byExtension_.find(extension);
  if (known != byExtension_.end()) return known->second;
  return byExtension_[extension] = systemIconOf(name.c_str(), FILE_ATTRIBUTE_NORMAL);
}

int ShellIcons::folderIcon() {
  if (folderIcon_ >= 0) return folderIcon_;
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  return folderIcon_ = systemIconOf(windows, FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace pom
