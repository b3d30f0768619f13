// The transfer window's creation, the view's operations and painting (the
// list: transfer_window_list.cpp; input: transfer_window_input.cpp).
#include "win32/transfer_window.h"

#include <algorithm>
#include <utility>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr COLORREF kFaceColor = RGB(224, 226, 235);  // the skin's window face
constexpr int kCheckBoxIds[2] = {static_cast<int>(TransferCheckBox::CloseWhenDone),
                                 static_cast<int>(TransferCheckBox::PowerOffWhenDone)};
constexpr const char* kCheckBoxTexts[2] = {"완료후 창닫기", "완료후 컴퓨터끄기"};

int checkIndex(TransferCheckBox box) {
  return box == TransferCheckBox::CloseWhenDone ? 0 : 1;
}

bool isStartOrStop(TransferAction action) {
  return action == TransferAction::Start || action == TransferAction::Stop;
}

}  // namespace

Win32TransferWindowView::Win32TransferWindowView(HINSTANCE instance, TransferKind kind,
                                                 TransferWindowInput& input,
                                                 const std::string& fontFace,
                                                 std::function<HWND()> dragBounds)
    : instance_(instance),
      kind_(kind),
      layout_(transferLayoutOf(kind)),
      input_(input),
      dragBounds_(std::move(dragBounds)),
      painter_(instance, fontFace),
      faceBrush_(CreateSolidBrush(kFaceColor)),
      listControl_(*this),
      comboKeys_(*this),
      checkKeys_{KeyFilter(*this), KeyFilter(*this)},
      buttons_(layout_.buttonCount) {}

Win32TransferWindowView::~Win32TransferWindowView() {
  close();
  if (faceBrush_ != nullptr) DeleteObject(faceBrush_);
}

void Win32TransferWindowView::open() {
  if (!isOpen()) {
    // No class brush: the window paints its whole face itself, off screen.
    HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(kTransferIcon));
    if (!registerClass(instance_, layout_.className, icon, nullptr,
                       LoadCursorW(nullptr, IDC_ARROW)))
      return;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kTransferWindowWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kTransferWindowHeight) / 2;
    create(instance_, layout_.className, widen(layout_.title).c_str(), kWindowStyle, left, top,
           kTransferWindowWidth, kTransferWindowHeight);
    if (!isOpen()) return;
  }
  ShowWindow(handle(), SW_SHOW);
  if (IsIconic(handle())) ShowWindow(handle(), SW_RESTORE);
  UpdateWindow(handle());
  SetForegroundWindow(handle());
  SetFocus(list_);
}

void Win32TransferWindowView::close() {
  if (isOpen()) DestroyWindow(handle());
}

bool Win32TransferWindowView::isOpen() const {
  return handle() != nullptr && IsWindow(handle());
}

bool Win32TransferWindowView::isVisible() const {
  return isOpen() && IsWindowVisible(handle());
}

HWND Win32TransferWindowView::createChild(const wchar_t* className, const std::string& text,
                                          DWORD style, const TransferRect& r, int id) {
  HWND control = CreateWindowExW(
      0, className, widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.x, r.y, r.width, r.height,
      handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (control != nullptr)
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(painter_.font(SkinFont::Normal)),
                 FALSE);
  return control;
}

bool Win32TransferWindowView::onCreate() {
  painter_.setWindow(handle());
  for (const TransferRect& frame : kTransferFrames)
    createChild(L"BUTTON", "", BS_GROUPBOX, frame, -1);
  createChild(L"STATIC", layout_.concurrencyLabel, 0, layout_.labelRect, -1);
  combo_ = createChild(L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                       kTransferComboRect, layout_.comboId);
  for (const wchar_t* entry : {L"1", L"2", L"3"})
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(concurrency_ - 1), 0);
  comboKeys_.attachTo(combo_);
  const int checkX[2] = {layout_.closeWhenDoneX, layout_.powerOffWhenDoneX};
  const int checkWidth[2] = {kCloseWhenDoneWidth, kPowerOffWhenDoneWidth};
  for (int i = 0; i < 2; ++i) {
    checks_[i] = createChild(
        L"BUTTON", kCheckBoxTexts[i], BS_AUTOCHECKBOX | WS_TABSTOP,
        {checkX[i], kTransferCheckBoxY, checkWidth[i], kTransferCheckBoxHeight}, kCheckBoxIds[i]);
    SendMessageW(checks_[i], BM_SETCHECK, checked_[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    checkKeys_[i].attachTo(checks_[i]);
  }
  createList();
  loadButtons();
  if (layout_.acceptsDroppedFiles) DragAcceptFiles(handle(), TRUE);
  return true;
}

void Win32TransferWindowView::createList() {
  list_ = createChild(
      WC_LISTVIEWW, "",
      WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | LVS_SHAREIMAGELISTS,
      kTransferListRect, layout_.listId);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES);
  ListView_SetImageList(list_, ShellIcons::smallList(), LVSIL_SMALL);
  const char* titles[kTransferColumns] = {"파일이름", layout_.sizeColumnTitle, "전송상태", "속도",
                                          "상태"};
  for (int i = 0; i < kTransferColumns; ++i) {
    const std::wstring title = widen(titles[i]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = kTransferColumnWidths[i];
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.iSubItem = i;
    ListView_InsertColumn(list_, i, &column);
  }
  ListView_SetItemCountEx(list_, input_.rowCount(), 0);
  listControl_.attachTo(list_);
}

void Win32TransferWindowView::loadButtons() {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const TransferButtonPlace& place = layout_.buttons[i];
    buttons_[i].load(place.x, place.y, &painter_, place.bitmap);
  }
  showRunning();
}

// The start and stop buttons share a place: only the one that applies reacts
// and draws.
void Win32TransferWindowView::showRunning() {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const TransferAction action = layout_.buttons[i].action;
    SkinButton& button = buttons_[i];
    if (!isStartOrStop(action) || button.resourceId() < 0) continue;
    const bool shown = (action == TransferAction::Stop) == running_;
    if (shown == button.isEnabled()) continue;
    button.setEnabled(shown);
    // A button shown again starts from its normal frame, whatever it was
    // when it was hidden (a clicked start button is hidden at once).
    if (shown) button.hoverTest(-1, -1);
    if (isOpen()) {
      const SkinRect r = button.rect();
      RECT area{r.left, r.top, r.right, r.bottom};
      InvalidateRect(handle(), &area, FALSE);
    }
  }
}

int Win32TransferWindowView::rowCount() const {
  return list_ != nullptr ? ListView_GetItemCount(list_) : 0;
}

void Win32TransferWindowView::setRowCount(int count) {
  if (list_ == nullptr) return;
  drawnIndex_ = -1;
  ListView_SetItemCountEx(list_, std::max(count, 0), LVSICF_NOSCROLL);
  InvalidateRect(list_, nullptr, FALSE);
}

void Win32TransferWindowView::redrawRows(int first, int last) {
  const int count = rowCount();
  first = std::max(first, 0);
  last = std::min(last, count - 1);
  drawnIndex_ = -1;
  if (first <= last) ListView_RedrawItems(list_, first, last);
}

std::vector<int> Win32TransferWindowView::selectedRows() const {
  std::vector<int> rows;
  if (list_ == nullptr) return rows;
  for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list_, row, LVNI_SELECTED))
    rows.push_back(row);
  return rows;
}

void Win32TransferWindowView::selectRows(const std::vector<int>& rows) {
  if (list_ == nullptr) return;
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  const int count = rowCount();
  bool first = true;
  for (int row : rows) {
    if (row < 0 || row >= count) continue;
    const UINT state = first ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
    ListView_SetItemState(list_, row, state, state);
    first = false;
  }
}

void Win32TransferWindowView::ensureVisible(int index) {
  if (index >= 0 && index < rowCount()) ListView_EnsureVisible(list_, index, FALSE);
}

void Win32TransferWindowView::setRunning(bool running) {
  running_ = running;
  showRunning();
}

void Win32TransferWindowView::setConcurrency(int limit) {
  concurrency_ = std::clamp(limit, 1, 3);
  if (combo_ != nullptr) SendMessageW(combo_, CB_SETCURSEL, concurrency_ - 1, 0);
}

void Win32TransferWindowView::setCheckBox(TransferCheckBox box, bool checked) {
  const int i = checkIndex(box);
  checked_[i] = checked;
  if (checks_[i] != nullptr)
    SendMessageW(checks_[i], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32TransferWindowView::setTotals(const TransferTotalsText& texts, int barPixels) {
  totals_ = texts;
  barPixels_ = std::clamp(barPixels, 0, kTransferBarFullScale);
  if (!isVisible()) return;
  SkinSize panel;
  if (!painter_.bitmapSize(layout_.panelBitmap, panel)) panel = {kTransferWindowWidth, 84};
  RECT area{0, 0, panel.width, panel.height};
  InvalidateRect(handle(), &area, FALSE);
}

int Win32TransferWindowView::buttonQuery(WPARAM index, LPARAM field) const {
  if (index >= buttons_.size()) return -1;
  const SkinButton& button = buttons_[index];
  switch (static_cast<TransferButtonField>(field)) {
    case TransferButtonField::Bitmap:
      return layout_.buttons[index].bitmap;
    case TransferButtonField::Shown:
      return button.isEnabled() ? 1 : 0;
    case TransferButtonField::X:
      return button.x();
    case TransferButtonField::Y:
      return button.y();
    case TransferButtonField::Width:
      return button.width();
    case TransferButtonField::Height:
      return button.height();
  }
  return -1;
}

LRESULT Win32TransferWindowView::onMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                           bool& handled) {
  handled = true;
  switch (message) {
    case kTransferButtonQuery:
      return buttonQuery(wParam, lParam);
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole face
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // The label, the check boxes and the frames sit on the plain face.
      SetBkColor(reinterpret_cast<HDC>(wParam), kFaceColor);
      return reinterpret_cast<LRESULT>(faceBrush_);
    case WM_MOUSELEAVE:
      pointerTracked_ = false;
      pointerMoved(-1, -1);
      return 0;
  }
  return Window::onMessage(message, wParam, lParam, handled);
}

// Composes the panel, the bar, the skinned buttons and the three texts off
// screen, then copies them to the window around the list (which paints
// itself and would flicker under the copy).
bool Win32TransferWindowView::onPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle(), &ps);
  RECT client{};
  GetClientRect(handle(), &client);
  HDC composed = CreateCompatibleDC(dc);
  HBITMAP canvas = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ previous = SelectObject(composed, canvas);
  FillRect(composed, &client, faceBrush_);
  {
    GdiPainter::Scope offScreen(painter_, composed);
    SkinSize panel;
    if (painter_.bitmapSize(layout_.panelBitmap, panel))
      painter_.copyBitmap(layout_.panelBitmap, 0, 0, panel.width, panel.height, 0, 0);
    SkinSize bar;
    if (barPixels_ > 0 && painter_.bitmapSize(kTransferBarBitmap, bar))
      painter_.copyBitmap(kTransferBarBitmap, 0, 0, std::min(barPixels_, bar.width), bar.height,
                          kTransferBarX, kTransferBarY);
    for (SkinButton& button : buttons_) button.paint();
    painter_.drawText(totals_.elapsed, kElapsedTextX, kTransferTextY, SkinFont::Normal,
                      SkinColor::White);
    painter_.drawText(totals_.remaining, kRemainingTextX, kTransferTextY, SkinFont::Normal,
                      SkinColor::White);
    painter_.drawText(totals_.amounts, kAmountsTextX, kTransferTextY, SkinFont::Normal,
                      SkinColor::White);
  }
  if (list_ != nullptr) {
    RECT around{};
    GetWindowRect(list_, &around);
    MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT*>(&around), 2);
    ExcludeClipRect(dc, around.left, around.top, around.right, around.bottom);
  }
  BitBlt(dc, 0, 0, client.right, client.bottom, composed, 0, 0, SRCCOPY);
  SelectObject(composed, previous);
  DeleteObject(canvas);
  DeleteDC(composed);
  EndPaint(handle(), &ps);
  return true;
}

void Win32TransferWindowView::onDestroy() {
  endDrag();
  for (SkinButton& button : buttons_) button.destroy();
  painter_.setWindow(nullptr);
  list_ = nullptr;
  combo_ = nullptr;
  checks_[0] = checks_[1] = nullptr;
  drawnIndex_ = -1;
  pointerTracked_ = false;
}

}  // namespace pom
