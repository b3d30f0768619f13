#include "win32/web_file_list_view.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "win32/web_keys.h"

namespace pom {
namespace {

constexpr int kHeaderBitmap = 212;

struct Column {
  const char* title;
  int width;
  int format;
};
constexpr Column kColumns[kWebColumns] = {
    {"폴더/파일이름", 305, LVCFMT_LEFT}, {"크기", 90, LVCFMT_RIGHT},
    {"상태", 60, LVCFMT_RIGHT},          {"보관일[폴더생성일]", 120, LVCFMT_RIGHT},
    {"다운수", 50, LVCFMT_RIGHT},
};

// The system's small icon for a name, without touching the disk.
int iconOf(const std::wstring& name, DWORD attributes) {
  SHFILEINFOW info{};
  SHGetFileInfoW(name.c_str(), attributes, &info, sizeof info,
                 SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return info.iIcon;
}

HWND child(HWND parent, HINSTANCE instance, const wchar_t* className, const wchar_t* text,
           DWORD style, int id) {
  return CreateWindowExW(0, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

Win32WebFileListView::Win32WebFileListView(TopWindow& top, WebFileList& presenter)
    : top_(top), presenter_(presenter), control_(*this) {
  HWND parent = top_.handle();
  HINSTANCE instance = top_.instance();
  header_ = child(parent, instance, L"STATIC", L"", SS_BITMAP, -1);
  headerBitmap_ = LoadBitmapW(instance, MAKEINTRESOURCEW(kHeaderBitmap));
  SendMessageW(header_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(headerBitmap_));
  caption_ = child(parent, instance, L"STATIC", widen("내웹폴더").c_str(), 0, -1);
  for (HWND& frame : frames_) frame = child(parent, instance, L"BUTTON", L"", BS_GROUPBOX, -1);
  list_ = child(parent, instance, WC_LISTVIEWW, L"",
                WS_BORDER | LVS_REPORT | LVS_EDITLABELS | LVS_SHOWSELALWAYS, kWebListId);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_INFOTIP);
  HFONT font = top_.painter().font(SkinFont::Normal);
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(caption_, WM_SETFONT, reinterpret_cast<WPARAM>(top_.painter().font(SkinFont::Bold)),
               FALSE);
  // The shell's system image lists, shared with the other file lists.
  SHFILEINFOW info{};
  auto small = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  auto large = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_ICON));
  ListView_SetImageList(list_, small, LVSIL_SMALL);
  ListView_SetImageList(list_, large, LVSIL_NORMAL);
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  folderIcon_ = iconOf(windows, FILE_ATTRIBUTE_DIRECTORY);
  for (int i = 0; i < kWebColumns; ++i) {
    const std::wstring title = widen(kColumns[i].title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = kColumns[i].format;
    column.cx = kColumns[i].width;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.iSubItem = i;
    ListView_InsertColumn(list_, i, &column);
  }
  control_.attachTo(list_);
  top_.addNotifyTarget(list_, this);
}

Win32WebFileListView::~Win32WebFileListView() {
  top_.removeNotifyTarget(list_);
  if (dragImage_ != nullptr) ImageList_Destroy(dragImage_);
  if (headerBitmap_ != nullptr) DeleteObject(headerBitmap_);
}

int Win32WebFileListView::rowOf(std::int32_t itemId) const {
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = itemId;
  return ListView_FindItem(list_, -1, &find);
}

void Win32WebFileListView::clearRows() {
  ListView_DeleteAllItems(list_);
}

void Win32WebFileListView::appendRow(const WebRow& row) {
  const std::wstring name = widen(row.texts[kNameColumn]);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  item.iItem = ListView_GetItemCount(list_);
  item.pszText = const_cast<wchar_t*>(name.c_str());
  item.lParam = row.itemId;
  item.iImage = row.folder ? folderIcon_ : iconOf(name, FILE_ATTRIBUTE_NORMAL);
  const int at = ListView_InsertItem(list_, &item);
  if (at < 0) return;
  for (int column = 1; column < kWebColumns; ++column) {
    std::wstring text = widen(row.texts[column]);
    ListView_SetItemText(list_, at, column, const_cast<wchar_t*>(text.c_str()));
  }
}

void Win32WebFileListView::setCellText(std::int32_t itemId, int column, const std::string& text) {
  const int row = rowOf(itemId);
  if (row < 0) return;
  std::wstring wide = widen(text);
  ListView_SetItemText(list_, row, column, const_cast<wchar_t*>(wide.c_str()));
}

void Win32WebFileListView::removeRow(std::int32_t itemId) {
  const int row = rowOf(itemId);
  if (row >= 0) ListView_DeleteItem(list_, row);
}

std::vector<std::int32_t> Win32WebFileListView::selectedItems() {
  std::vector<std::int32_t> ids;
  for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (ListView_GetItem(list_, &item)) ids.push_back(static_cast<std::int32_t>(item.lParam));
  }
  return ids;
}

void Win32WebFileListView::deselectAll() {
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
}

void Win32WebFileListView::selectAll() {
  ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
  SetFocus(list_);
}

void Win32WebFileListView::editLabel(std::int32_t itemId) {
  const int row = rowOf(itemId);
  if (row < 0) return;
  SetFocus(list_);
  ListView_EnsureVisible(list_, row, FALSE);
  ListView_EditLabel(list_, row);
}

void Win32WebFileListView::setCaption(const std::string& text) {
  SetWindowTextW(caption_, widen(text).c_str());
}

WebListCommand Win32WebFileListView::trackMenu(WebMenu menu) {
  HMENU loaded = LoadMenuW(top_.instance(), MAKEINTRESOURCEW(static_cast<int>(menu)));
  if (loaded == nullptr) return WebListCommand::None;
  POINT at{};
  GetCursorPos(&at);
  const int chosen = TrackPopupMenu(GetSubMenu(loaded, 0), TPM_LEFTBUTTON | TPM_RETURNCMD, at.x,
                                    at.y, 0, top_.handle(), nullptr);
  DestroyMenu(loaded);
  return static_cast<WebListCommand>(chosen);
}

void Win32WebFileListView::place(const PaneRect& r) {
  MoveWindow(header_, r.x, r.y - 23, r.width - 29, 22, TRUE);
  MoveWindow(caption_, r.x + 5, r.y - 18, r.width - 10, 20, TRUE);
  MoveWindow(frames_[0], r.x - 2, r.y - 33, r.width + 4, 34, TRUE);
  MoveWindow(frames_[1], r.x - 2, r.y - 33, r.width + 4, r.height + 35, TRUE);
  MoveWindow(list_, r.x, r.y, r.width, r.height, TRUE);
}

void Win32WebFileListView::setVisible(bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  for (HWND control : {header_, caption_, frames_[0], frames_[1], list_}) ShowWindow(control, show);
  // The caption sits over the header bitmap: it is drawn last.
  if (visible) SetWindowPos(caption_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT Win32WebFileListView::customDraw(NMLVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      if (isShadedRow(static_cast<int>(draw.nmcd.dwItemSpec))) {
        draw.clrText = RGB(0x25, 0x25, 0x25);
        draw.clrTextBk = RGB(0xF5, 0xF5, 0xF5);
      }
      return CDRF_NEWFONT;
    default:
      return CDRF_DODEFAULT;
  }
}

bool Win32WebFileListView::onControlNotify(NMHDR* header, LRESULT& result) {
  result = 0;
  switch (header->code) {
    case NM_CUSTOMDRAW:
      result = customDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
      return true;
    case NM_DBLCLK:
      presenter_.doubleClick();
      return true;
    case NM_RCLICK: {
      LVHITTESTINFO hit{};
      GetCursorPos(&hit.pt);
      ScreenToClient(list_, &hit.pt);
      const bool onRow = ListView_HitTest(list_, &hit) >= 0;
      presenter_.rightClick(onRow);
      result = 1;
      return true;
    }
    case LVN_COLUMNCLICK:
      presenter_.columnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    case LVN_ENDLABELEDITW: {
      const auto* edit = reinterpret_cast<NMLVDISPINFOW*>(header);
      std::optional<std::string> text;
      if (edit->item.pszText != nullptr) text = narrow(edit->item.pszText);
      LVITEMW item{};
      item.mask = LVIF_PARAM;
      item.iItem = edit->item.iItem;
      ListView_GetItem(list_, &item);
      // The presenter sets the row's text itself (the name the server keeps).
      presenter_.endLabelEdit(static_cast<std::int32_t>(item.lParam), text);
      result = FALSE;
      return true;
    }
    case LVN_BEGINDRAG:
      beginDrag(*reinterpret_cast<NMLISTVIEW*>(header));
      return true;
    default:
      return false;
  }
}

void Win32WebFileListView::beginDrag(const NMLISTVIEW& info) {
  POINT origin{};
  dragImage_ = ListView_CreateDragImage(list_, info.iItem, &origin);
  if (dragImage_ == nullptr) return;
  ImageList_BeginDrag(dragImage_, 0, info.ptAction.x - origin.x, info.ptAction.y - origin.y);
  ImageList_DragEnter(list_, info.ptAction.x, info.ptAction.y);
  SetCapture(list_);
}

void Win32WebFileListView::endDrag() {
  if (dragImage_ == nullptr) return;
  ImageList_DragLeave(list_);
  ImageList_EndDrag();
  ImageList_Destroy(dragImage_);
  dragImage_ = nullptr;
  ReleaseCapture();
}

LRESULT Win32WebFileListView::Control::onMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                 bool& handled) {
  handled = false;
  if (const std::optional<WebKey> key = webKeyOf(message, wParam)) {
    owner_.presenter_.key(*key);
    handled = message == WM_SYSKEYDOWN || *key == WebKey::CtrlA;
    return 0;
  }
  if (owner_.dragImage_ != nullptr) {
    if (message == WM_MOUSEMOVE) {
      ImageList_DragMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    } else if (message == WM_LBUTTONUP || message == WM_CAPTURECHANGED) {
      // The download list and the local list take drops; neither is there yet.
      owner_.endDrag();
    }
  }
  return 0;
}

}  // namespace pom
