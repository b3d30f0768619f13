#include "win32/search_list_views.h"

#include <commctrl.h>

#include <optional>

#include "platform/win32/wide_text.h"
#include "win32/transfer_window.h"

namespace pom {
namespace {

constexpr int kHeaderBitmap = 212;
// The longest text the search edit gives (a keyword of 63 bytes).
constexpr std::size_t kSearchTextBytes = 63;

HWND child(HWND parent, HINSTANCE instance, const wchar_t* className, const wchar_t* text,
           DWORD style, int id) {
  return CreateWindowExW(0, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

std::optional<SearchKey> searchKeyOf(UINT message, WPARAM key) {
  if (message != WM_KEYDOWN || (GetKeyState(VK_CONTROL) & 0x8000) == 0) return std::nullopt;
  switch (key) {
    case 'A':
      return SearchKey::CtrlA;
    case 'F':
      return SearchKey::CtrlF;
    case 'I':
      return SearchKey::CtrlI;
    case 'V':
      return SearchKey::CtrlV;
    case 'W':
      return SearchKey::CtrlW;
    default:
      return std::nullopt;
  }
}

// The keys that move through the rows and may bring the last one into view.
bool isScrollKey(UINT message, WPARAM key) {
  return message == WM_KEYDOWN && (key == VK_DOWN || key == VK_NEXT || key == VK_END);
}

// True when the point lies strictly inside the window's rectangle (a shown
// window only: a hidden local list takes nothing).
bool strictlyInside(HWND window, POINT screen) {
  RECT rect{};
  if (window == nullptr || !IsWindowVisible(window) || !GetWindowRect(window, &rect)) return false;
  return screen.x > rect.left && screen.x < rect.right - 1 && screen.y > rect.top &&
         screen.y < rect.bottom - 1;
}

}  // namespace

SearchListHome searchListHomeOn(TopWindow& top) {
  SearchListHome home;
  home.instance = top.instance();
  home.parent = top.handle();
  home.listFont = top.painter().font(SkinFont::Normal);
  home.captionFont = top.painter().font(SkinFont::Bold);
  home.route = [&top](HWND list, NotifyTarget* target) {
    if (target != nullptr) {
      top.addNotifyTarget(list, target);
    } else {
      top.removeNotifyTarget(list);
    }
  };
  return home;
}

template <typename View>
Win32SearchListView<View>::Win32SearchListView(const SearchListHome& home,
                                               SearchListInput& presenter, int controlId)
    : home_(home), presenter_(presenter), control_(*this) {
  HWND parent = home_.parent;
  HINSTANCE instance = home_.instance;
  header_ = child(parent, instance, L"STATIC", L"", SS_BITMAP, -1);
  headerBitmap_ = LoadBitmapW(instance, MAKEINTRESOURCEW(kHeaderBitmap));
  SendMessageW(header_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(headerBitmap_));
  // A child of the header: as a sibling over the bitmap it would be painted
  // over whenever the header repaints after it. A file name in it may hold
  // "&", which is no mnemonic here.
  caption_ =
      child(header_, instance, L"STATIC", widen("내웹폴더").c_str(), WS_VISIBLE | SS_NOPREFIX, -1);
  headerControl_.attachTo(header_);
  for (HWND& frame : frames_) frame = child(parent, instance, L"BUTTON", L"", BS_GROUPBOX, -1);
  list_ = child(parent, instance, WC_LISTVIEWW, L"",
                WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | LVS_SHAREIMAGELISTS,
                controlId);
  prepareFileList(list_, home_.listFont);
  SendMessageW(caption_, WM_SETFONT, reinterpret_cast<WPARAM>(home_.captionFont), FALSE);
  control_.attachTo(list_);
  if (home_.route) home_.route(list_, this);
}

template <typename View>
Win32SearchListView<View>::~Win32SearchListView() {
  if (home_.route) home_.route(list_, nullptr);
  drag_.end();
  if (headerBitmap_ != nullptr) DeleteObject(headerBitmap_);
}

template <typename View>
void Win32SearchListView<View>::setColumns(const std::vector<SearchColumn>& columns) {
  for (int i = 0; i < static_cast<int>(columns.size()); ++i)
    addListColumn(list_, i, columns[i].title, columns[i].width, LVCFMT_LEFT);
}

template <typename View>
void Win32SearchListView<View>::addRows(const std::vector<SearchRow>& rows) {
  for (const SearchRow& row : rows) {
    ShownRow shown;
    for (const std::string& text : row.texts) shown.texts.push_back(widen(text));
    shown.iconName = widen(row.iconName);
    rows_.push_back(std::move(shown));
  }
}

template <typename View>
void Win32SearchListView<View>::setRows(const std::vector<SearchRow>& rows) {
  rows_.clear();
  reportedEnd_ = 0;
  addRows(rows);
  // The selection belongs to the old rows.
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), 0);
  if (!rows_.empty()) ListView_EnsureVisible(list_, 0, FALSE);
  InvalidateRect(list_, nullptr, TRUE);
}

template <typename View>
void Win32SearchListView<View>::appendRows(const std::vector<SearchRow>& rows) {
  addRows(rows);
  ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
}

template <typename View>
void Win32SearchListView<View>::setCaption(const std::string& text) {
  SetWindowTextW(caption_, widen(text).c_str());
  // Drawn without background: the bitmap is repainted first, or the old
  // caption would show through the new one.
  RedrawWindow(header_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

template <typename View>
std::vector<int> Win32SearchListView<View>::selectedRows() {
  std::vector<int> selected;
  for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list_, row, LVNI_SELECTED))
    selected.push_back(row);
  return selected;
}

template <typename View>
void Win32SearchListView<View>::selectAllAndFocus() {
  ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
  SetFocus(list_);
}

template <typename View>
SearchCommand Win32SearchListView<View>::trackMenu(const std::vector<SearchMenuItem>& items) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return SearchCommand::None;
  for (const SearchMenuItem& item : items) {
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.command), widen(item.text).c_str());
  }
  POINT at{};
  GetCursorPos(&at);
  const int chosen =
      TrackPopupMenu(menu, TPM_LEFTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, home_.parent, nullptr);
  DestroyMenu(menu);
  return static_cast<SearchCommand>(chosen);
}

template <typename View>
void Win32SearchListView<View>::place(const PaneRect& r) {
  MoveWindow(header_, r.x, r.y - 23, r.width, 22, TRUE);
  // In the header's coordinates (the header is at x, y - 23).
  MoveWindow(caption_, 5, 5, r.width - 10, 20, TRUE);
  MoveWindow(frames_[0], r.x - 2, r.y - 33, r.width + 4, 34, TRUE);
  MoveWindow(frames_[1], r.x - 2, r.y - 33, r.width + 4, r.height + 35, TRUE);
  MoveWindow(list_, r.x, r.y, r.width, r.height, TRUE);
}

template <typename View>
void Win32SearchListView<View>::setVisible(bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  for (HWND control : {header_, frames_[0], frames_[1], list_}) ShowWindow(control, show);
}

template <typename View>
void Win32SearchListView<View>::fillDisplayInfo(LVITEMW& item) {
  if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= rows_.size()) return;
  ShownRow& row = rows_[item.iItem];
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    const bool inRow =
        item.iSubItem >= 0 && static_cast<std::size_t>(item.iSubItem) < row.texts.size();
    lstrcpynW(item.pszText, inRow ? row.texts[item.iSubItem].c_str() : L"", item.cchTextMax);
  }
  if ((item.mask & LVIF_IMAGE) != 0) {
    if (row.icon < 0) row.icon = icons_.fileIcon(row.iconName);
    item.iImage = row.icon;
  }
}

template <typename View>
LRESULT Win32SearchListView<View>::customDraw(NMLVCUSTOMDRAW& draw) const {
  return drawShadedRow(draw, draw.nmcd.dwItemSpec % 2 == 1);  // every odd row
}

template <typename View>
bool Win32SearchListView<View>::onControlNotify(NMHDR* header, LRESULT& result) {
  result = 0;
  switch (header->code) {
    case NM_CUSTOMDRAW:
      result = customDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
      return true;
    case NM_DBLCLK:
      presenter_.doubleClick();
      return true;
    case NM_RCLICK:
      presenter_.rightClick();
      result = 1;
      return true;
    case LVN_COLUMNCLICK:
      presenter_.columnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    case LVN_GETDISPINFOW:
      fillDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(header)->item);
      return true;
    case LVN_BEGINDRAG:
      beginDrag(*reinterpret_cast<NMLISTVIEW*>(header));
      return true;
    default:
      return false;
  }
}

// The image follows the pointer over the main window only: where the
// desktop's content cannot be read back (Wine) it would leave trails.
template <typename View>
void Win32SearchListView<View>::beginDrag(const NMLISTVIEW& info) {
  POINT origin{};
  HIMAGELIST image = selectedRowsImage(list_, origin);
  POINT screen = info.ptAction;
  ClientToScreen(list_, &screen);
  drag_.begin(list_, GetAncestor(list_, GA_ROOT), image,
              {info.ptAction.x - origin.x, info.ptAction.y - origin.y}, screen);
}

template <typename View>
SearchDropTarget Win32SearchListView<View>::targetAt(POINT screen) const {
  HWND hit = WindowFromPoint(screen);
  HWND downloads = findTransferWindow(TransferKind::Download);
  HWND downloadList = downloads != nullptr
                          ? GetDlgItem(downloads, transferLayoutOf(TransferKind::Download).listId)
                          : nullptr;
  // The list itself or its column header.
  if (hit != nullptr && downloadList != nullptr &&
      (hit == downloadList || IsChild(downloadList, hit)))
    return SearchDropTarget::DownloadList;
  if (strictlyInside(GetDlgItem(home_.parent, kLocalFileListId), screen))
    return SearchDropTarget::LocalList;
  return SearchDropTarget::Elsewhere;
}

template <typename View>
void Win32SearchListView<View>::drop(POINT screen) {
  drag_.end();
  // Last: the presenter may open the download window.
  presenter_.dropReleased(targetAt(screen));
}

template <typename View>
void Win32SearchListView<View>::checkScrolledToEnd() {
  const int count = static_cast<int>(rows_.size());
  if (count == 0 || rows_.size() == reportedEnd_) return;
  if (ListView_GetTopIndex(list_) + ListView_GetCountPerPage(list_) < count) return;
  reportedEnd_ = rows_.size();
  presenter_.scrolledToEnd();
}

template <typename View>
LRESULT Win32SearchListView<View>::Header::onMessage(UINT message, WPARAM wParam, LPARAM,
                                                     bool& handled) {
  handled = message == WM_CTLCOLORSTATIC;
  if (!handled) return 0;
  SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

template <typename View>
LRESULT Win32SearchListView<View>::Control::onMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                      bool& handled) {
  handled = false;
  if (const std::optional<SearchKey> key = searchKeyOf(message, wParam)) {
    owner_.presenter_.key(*key);
    // The control's own Ctrl+A would select all a second time.
    handled = *key == SearchKey::CtrlA;
    return 0;
  }
  if (message == WM_VSCROLL || message == WM_MOUSEWHEEL || isScrollKey(message, wParam)) {
    // After the control has scrolled.
    const LRESULT answer = defaultProc(message, wParam, lParam);
    handled = true;
    owner_.checkScrolledToEnd();
    return answer;
  }
  owner_.drag_.follow(message, lParam, [this](POINT at) { owner_.drop(at); });
  return 0;
}

template class Win32SearchListView<SearchResultListView>;
template class Win32SearchListView<FolderContentListView>;

void Win32SearchBarView::attach(HWND naturalRadio, HWND normalRadio, HWND edit) {
  natural_ = naturalRadio;
  normal_ = normalRadio;
  edit_ = edit;
}

std::string Win32SearchBarView::editText() {
  if (edit_ == nullptr) return {};
  const int length = GetWindowTextLengthW(edit_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(edit_, &text[0], length + 1)));
  return cutCp949(narrow(text), kSearchTextBytes);
}

SearchKind Win32SearchBarView::selectedKind() {
  if (natural_ != nullptr && SendMessageW(natural_, BM_GETCHECK, 0, 0) == BST_CHECKED)
    return SearchKind::Natural;
  if (normal_ != nullptr && SendMessageW(normal_, BM_GETCHECK, 0, 0) == BST_CHECKED)
    return SearchKind::Normal;
  return SearchKind::None;
}

void Win32SearchBarView::setEditText(const std::string& text) {
  if (edit_ != nullptr) SetWindowTextW(edit_, widen(text).c_str());
}

void Win32SearchBarView::focusEdit() {
  if (edit_ != nullptr) SetFocus(edit_);
}

}  // namespace pom
