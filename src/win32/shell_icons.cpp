#include "win32/shell_icons.h"

#include <shellapi.h>

#include "platform/win32/wide_text.h"

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

void prepareFileList(HWND list, HFONT font) {
  ListView_SetExtendedListViewStyle(list, LVS_EX_INFOTIP);
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ListView_SetImageList(list, ShellIcons::smallList(), LVSIL_SMALL);
  ListView_SetImageList(list, ShellIcons::largeList(), LVSIL_NORMAL);
}

void addListColumn(HWND list, int index, const std::string& title, int width, int format) {
  const std::wstring text = widen(title);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<wchar_t*>(text.c_str());
  column.iSubItem = index;
  ListView_InsertColumn(list, index, &column);
}

LRESULT drawShadedRow(NMLVCUSTOMDRAW& draw, bool shaded) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      if (shaded) {
        draw.clrText = RGB(0x25, 0x25, 0x25);
        draw.clrTextBk = RGB(0xF5, 0xF5, 0xF5);
      }
      return CDRF_NEWFONT;
    default:
      return CDRF_DODEFAULT;
  }
}

}  // namespace pom
