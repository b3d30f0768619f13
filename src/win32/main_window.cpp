// The main window's layout, geometry and painting (input: main_window_input.cpp).
#include "win32/main_window.h"

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

constexpr DWORD kMainFrameStyle =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

}  // namespace

Win32MainWindowView::Win32MainWindowView(TopWindow& top, MainWindowPresenter& presenter,
                                         WindowMessageFanOut& fanOut)
    : top_(top), presenter_(presenter), fanOut_(fanOut), searchKeys_(presenter) {
  fanOut_.add(FanOutSlot::MainWindow, "MainWindow", *this);
  top_.setLayout(this);
}

Win32MainWindowView::~Win32MainWindowView() {
  top_.setLayout(nullptr);
  fanOut_.remove(this);
}

SkinPainter* Win32MainWindowView::painter() {
  return &top_.painter();
}

void Win32MainWindowView::setWindowVisible(bool visible) {
  ShowWindow(top_.handle(), visible ? SW_SHOW : SW_HIDE);
  if (visible) UpdateWindow(top_.handle());
}

HWND Win32MainWindowView::createChild(const wchar_t* className, const std::string& text,
                                      DWORD style, int x, int y, int width, int height, int id) {
  return CreateWindowExW(
      0, className, widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
      top_.handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), top_.instance(), nullptr);
}

void Win32MainWindowView::createSearchBar() {
  naturalRadio_ = createChild(L"BUTTON", "자연어검색", BS_AUTORADIOBUTTON | WS_GROUP, 345, 68, 95,
                              15, kNaturalRadioId);
  normalRadio_ =
      createChild(L"BUTTON", "일반검색", BS_AUTORADIOBUTTON, 440, 68, 70, 15, kNormalRadioId);
  SendMessageW(normalRadio_, BM_SETCHECK, BST_CHECKED, 0);
  searchEdit_ = createChild(L"EDIT", "", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 517, 64, 285, 20,
                            kSearchEditId);
  searchKeys_.attachTo(searchEdit_);
  searchBar_.attach(naturalRadio_, normalRadio_, searchEdit_);
  HFONT bold = top_.painter().font(SkinFont::Bold);
  for (HWND control : {naturalRadio_, normalRadio_, searchEdit_})
    if (control != nullptr)
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
}

void Win32MainWindowView::createFrames() {
  createChild(L"BUTTON", "", BS_GROUPBOX, -10, 51, 314, 39, -1);
  createChild(L"BUTTON", "", BS_GROUPBOX, -10, 51, 4000, 39, -1);
  bottomFrame_ = createChild(L"BUTTON", "", BS_GROUPBOX, -10, 662, 4000, 100, -1);
}

void Win32MainWindowView::acceptDroppedFiles() {
  DragAcceptFiles(top_.handle(), TRUE);
}

void Win32MainWindowView::prepareControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
}

WebPageView* Win32MainWindowView::createWebPage(const std::string& url) {
  webPage_.create(top_.instance(), top_.handle(), url);
  return &webPage_;
}

SkinSize Win32MainWindowView::outerSizeForClient(int clientWidth, int clientHeight) {
  HWND window = top_.handle();
  LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE) | kMainFrameStyle;
  SetWindowLongPtrW(window, GWL_STYLE, style);
  RECT rect{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(style), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void Win32MainWindowView::centerOnScreen(int outerWidth, int outerHeight) {
  const int left = (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2;
  SetWindowPos(top_.handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void Win32MainWindowView::moveBottomFrame(int x, int y, int width, int height) {
  if (bottomFrame_ != nullptr) MoveWindow(bottomFrame_, x, y, width, height, TRUE);
}

void Win32MainWindowView::resizeWindow(int outerWidth, int outerHeight) {
  SetWindowPos(top_.handle(), HWND_NOTOPMOST, 0, 0, outerWidth, outerHeight,
               SWP_NOMOVE | SWP_FRAMECHANGED);
}

void Win32MainWindowView::redrawAfterResize(int clientHeight) {
  HWND window = top_.handle();
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  RECT client{};
  GetClientRect(window, &client);
  RECT bottom{0, clientHeight - 100, client.right, clientHeight};
  InvalidateRect(window, &bottom, TRUE);
}

void Win32MainWindowView::setCursor(CursorShape shape) {
  const wchar_t* id = IDC_ARROW;
  switch (shape) {
    case CursorShape::Arrow:
      break;
    case CursorShape::SizeAll:
      id = IDC_SIZEALL;
      break;
    case CursorShape::SizeWestEast:
      id = IDC_SIZEWE;
      break;
    case CursorShape::SizeNorthSouth:
      id = IDC_SIZENS;
      break;
  }
  SetCursor(LoadCursorW(nullptr, id));
}

void Win32MainWindowView::repaintAll() {
  InvalidateRect(top_.handle(), nullptr, TRUE);
}

void Win32MainWindowView::requestClose() {
  // Posted, so the window is never destroyed under the handler that asked.
  PostMessageW(top_.handle(), WM_CLOSE, 0, 0);
}

ScreenPoint Win32MainWindowView::screenPosition() {
  RECT rect{};
  GetWindowRect(top_.handle(), &rect);
  return {rect.left, rect.top};
}

void Win32MainWindowView::paintStatusPanel(int resourceId, int x, int y,
                                           const std::string& pointsText,
                                           const std::string& connectionText) {
  GdiPainter& painter = top_.painter();
  SkinSize size;
  if (!painter.bitmapSize(resourceId, size) || !painter.windowValid()) return;
  HDC windowDc = GetDC(top_.handle());
  HDC composed = CreateCompatibleDC(windowDc);
  HBITMAP canvas = CreateCompatibleBitmap(windowDc, size.width, size.height);
  HGDIOBJ previous = SelectObject(composed, canvas);
  {
    GdiPainter::Scope offScreen(painter, composed);
    painter.copyBitmap(resourceId, 0, 0, size.width, size.height, 0, 0);
    painter.drawText(pointsText, 115, 12, SkinFont::Bold, SkinColor::White);
    painter.drawText(connectionText, 115, 32, SkinFont::Bold, SkinColor::White);
  }
  // Onto the paint context when inside WM_PAINT, else straight to the window.
  painter.copyFrom(composed, size.width, size.height, x, y);
  SelectObject(composed, previous);
  DeleteObject(canvas);
  DeleteDC(composed);
  ReleaseDC(top_.handle(), windowDc);
}

}  // namespace pom
