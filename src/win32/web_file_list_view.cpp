#include "win32/web_file_list_view.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "win32/local_list_view.h"
#include "win32/transfer_window.h"
#include "win32/web_keys.h"

namespace pom {
namespace {

constexpr int kHeaderBitmap = 212;

// Messages of our own to the list control.
enum PrivateMessage : UINT {
  kSyncRowCount = WM_APP + 0x113,  // bring the control's row count up to date
};

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
  // The caption is a child of the header: a sibling over the bitmap would be
  // painted over by it whenever the header repaints after the caption.
  caption_ = child(header_, instance, L"STATIC", widen("내웹폴더").c_str(), WS_VISIBLE, -1);
  headerControl_.attachTo(header_);
  for (HWND& frame : frames_) frame = child(parent, instance, L"BUTTON", L"", BS_GROUPBOX, -1);
  list_ = child(parent, instance, WC_LISTVIEWW, L"",
                WS_BORDER | LVS_REPORT | LVS_EDITLABELS | LVS_SHOWSELALWAYS | LVS_OWNERDATA |
                    LVS_SHAREIMAGELISTS,
                kWebListId);
  prepareFileList(list_, top_.painter().font(SkinFont::Normal));
  SendMessageW(caption_, WM_SETFONT, reinterpret_cast<WPARAM>(top_.painter().font(SkinFont::Bold)),
               FALSE);
  for (int i = 0; i < kWebColumns; ++i)
    addListColumn(list_, i, kColumns[i].title, kColumns[i].width, kColumns[i].format);
  control_.attachTo(list_);
  top_.addNotifyTarget(list_, this);
}

Win32WebFileListView::~Win32WebFileListView() {
  top_.removeNotifyTarget(list_);
  drag_.end();
  if (headerBitmap_ != nullptr) DeleteObject(headerBitmap_);
}

int Win32WebFileListView::rowOf(std::int32_t itemId) const {
  const auto found = std::find_if(rows_.begin(), rows_.end(),
                                  [itemId](const ShownRow& row) { return row.itemId == itemId; });
  return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

void Win32WebFileListView::syncRowCount() {
  if (!countPending_) return;
  countPending_ = false;
  // Rows only ever arrive at the end: the scroll position stays.
  ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
}

void Win32WebFileListView::clearRows() {
  rows_.clear();
  countPending_ = false;
  ListView_SetItemCountEx(list_, 0, 0);
}

void Win32WebFileListView::appendRow(const WebRow& row) {
  ShownRow shown;
  shown.itemId = row.itemId;
  shown.folder = row.folder;
  for (int column = 0; column < kWebColumns; ++column)
    shown.texts[column] = widen(row.texts[column]);
  rows_.push_back(std::move(shown));
  if (!countPending_) {
    countPending_ = true;
    // The count follows in the next turn of the loop, or at the latest
    // before the list paints again: a posted message alone was seen to get
    // lost under Wine at start-up, and the list then stayed empty.
    PostMessageW(list_, kSyncRowCount, 0, 0);
    InvalidateRect(list_, nullptr, FALSE);
  }
}

void Win32WebFileListView::setCellText(std::int32_t itemId, int column, const std::string& text) {
  const int row = rowOf(itemId);
  if (row < 0 || column < 0 || column >= kWebColumns) return;
  rows_[row].texts[column] = widen(text);
  if (column == kNameColumn) rows_[row].icon = -1;  // another name may mean another icon
  if (row < ListView_GetItemCount(list_)) ListView_RedrawItems(list_, row, row);
}

void Win32WebFileListView::removeRow(std::int32_t itemId) {
  syncRowCount();
  const int row = rowOf(itemId);
  if (row < 0) return;
  // The control moves the selection of the rows below up by one.
  rows_.erase(rows_.begin() + row);
  ListView_DeleteItem(list_, row);
}

std::vector<std::int32_t> Win32WebFileListView::selectedItems() {
  std::vector<std::int32_t> ids;
  for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) {
    if (static_cast<std::size_t>(row) < rows_.size()) ids.push_back(rows_[row].itemId);
  }
  return ids;
}

void Win32WebFileListView::deselectAll() {
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
}

void Win32WebFileListView::selectAll() {
  syncRowCount();
  ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
  SetFocus(list_);
}

void Win32WebFileListView::editLabel(std::int32_t itemId) {
  syncRowCount();
  const int row = rowOf(itemId);
  if (row < 0) return;
  SetFocus(list_);
  ListView_EnsureVisible(list_, row, FALSE);
  ListView_EditLabel(list_, row);
}

void Win32WebFileListView::setCaption(const std::string& text) {
  SetWindowTextW(caption_, widen(text).c_str());
  // The text is drawn without background: the bitmap under it is repainted
  // first, or the old path would show through the new one.
  RedrawWindow(header_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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
  // In the header's coordinates (the header is at x, y - 23).
  MoveWindow(caption_, 5, 5, r.width - 10, 20, TRUE);
  MoveWindow(frames_[0], r.x - 2, r.y - 33, r.width + 4, 34, TRUE);
  MoveWindow(frames_[1], r.x - 2, r.y - 33, r.width + 4, r.height + 35, TRUE);
  MoveWindow(list_, r.x, r.y, r.width, r.height, TRUE);
}

void Win32WebFileListView::setVisible(bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  for (HWND control : {header_, frames_[0], frames_[1], list_}) ShowWindow(control, show);
}

int Win32WebFileListView::iconOf(ShownRow& row) {
  if (row.icon >= 0) return row.icon;
  return row.icon = row.folder ? icons_.folderIcon() : icons_.fileIcon(row.texts[kNameColumn]);
}

void Win32WebFileListView::fillDisplayInfo(LVITEMW& item) {
  if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= rows_.size()) return;
  ShownRow& row = rows_[item.iItem];
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    const bool column = item.iSubItem >= 0 && item.iSubItem < kWebColumns;
    lstrcpynW(item.pszText, column ? row.texts[item.iSubItem].c_str() : L"", item.cchTextMax);
  }
  if ((item.mask & LVIF_IMAGE) != 0) item.iImage = iconOf(row);
  if ((item.mask & LVIF_PARAM) != 0) item.lParam = row.itemId;
}

// Typing in the list jumps to the next row whose name starts with the typed
// text, as in a list that stores its items.
int Win32WebFileListView::findByName(const NMLVFINDITEMW& find) const {
  if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find.lvfi.psz == nullptr) return -1;
  const std::wstring wanted = find.lvfi.psz;
  const bool whole = (find.lvfi.flags & LVFI_PARTIAL) == 0;
  const int count = static_cast<int>(rows_.size());
  const int start = std::clamp(find.iStart, 0, count);
  const int span = (find.lvfi.flags & LVFI_WRAP) != 0 ? count : count - start;
  for (int i = 0; i < span; ++i) {
    const int row = (start + i) % count;
    const std::wstring& name = rows_[row].texts[kNameColumn];
    if (name.size() < wanted.size() || (whole && name.size() != wanted.size())) continue;
    if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.c_str(),
                       static_cast<int>(wanted.size()), wanted.c_str(),
                       static_cast<int>(wanted.size())) == CSTR_EQUAL)
      return row;
  }
  return -1;
}

LRESULT Win32WebFileListView::customDraw(NMLVCUSTOMDRAW& draw) const {
  return drawShadedRow(draw, isShadedRow(static_cast<int>(draw.nmcd.dwItemSpec)));
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
    case LVN_GETDISPINFOW:
      fillDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(header)->item);
      return true;
    case LVN_ODFINDITEMW:
      result = findByName(*reinterpret_cast<NMLVFINDITEMW*>(header));
      return true;
    case LVN_ENDLABELEDITW: {
      const auto* edit = reinterpret_cast<NMLVDISPINFOW*>(header);
      const int row = edit->item.iItem;
      if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return true;
      std::optional<std::string> text;
      if (edit->item.pszText != nullptr) text = narrow(edit->item.pszText);
      // The presenter sets the row's text itself (the name the server keeps).
      presenter_.endLabelEdit(rows_[row].itemId, text);
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

// The image of the selected rows in view follows the pointer over the main
// window. It is not drawn on the desktop, although the rows may go to the
// download window: where a desktop's content cannot be read back (Wine),
// the image would leave black trails over every window it crosses.
void Win32WebFileListView::beginDrag(const NMLISTVIEW& info) {
  POINT origin{};
  HIMAGELIST image = selectedRowsImage(list_, origin);
  POINT screen = info.ptAction;
  ClientToScreen(list_, &screen);
  drag_.begin(list_, GetAncestor(list_, GA_ROOT), image,
              {info.ptAction.x - origin.x, info.ptAction.y - origin.y}, screen);
}

void Win32WebFileListView::drop(POINT screen) {
  drag_.end();
  // Last: the presenter may open the download window or a listing.
  if (isInsideLocalList(screen)) {
    presenter_.dropOnLocalList();
  } else {
    presenter_.dropForDownload(isTransferWindowAt(TransferKind::Download, screen));
  }
}

LRESULT Win32WebFileListView::Header::onMessage(UINT message, WPARAM wParam, LPARAM,
                                                bool& handled) {
  handled = message == WM_CTLCOLORSTATIC;
  if (!handled) return 0;
  // The caption's text goes straight onto the bitmap, as on the main window.
  SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

LRESULT Win32WebFileListView::Control::onMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                 bool& handled) {
  handled = false;
  if (message == kSyncRowCount || message == WM_PAINT) {
    owner_.syncRowCount();
    handled = message == kSyncRowCount;  // the paint goes on as usual
    return 0;
  }
  if (const std::optional<WebKey> key = webKeyOf(message, wParam)) {
    owner_.presenter_.key(*key);
    handled = message == WM_SYSKEYDOWN || *key == WebKey::CtrlA;
    return 0;
  }
  owner_.drag_.follow(message, lParam, [this](POINT at) { owner_.drop(at); });
  return 0;
}

}  // namespace pom
