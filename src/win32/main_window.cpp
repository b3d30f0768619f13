#include "win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "core/session/login_presenter.h"
#include "core/mainwindow/main_window_presenter.h"
#include "platform/win32/wide_text.h"
#include "win32/top_window.h"

namespace pom {
namespace {

constexpr UINT_PTR kSearchFilterId = 2;
constexpr DWORD kMainFrameStyle =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

MainWindowPresenter* presenter() {
  ClientApp* app = ClientApp::instance();
  return app != nullptr ? app->mainWindow() : nullptr;
}

}  // namespace

Win32MainWindowView::Win32MainWindowView(TopWindow& top) : top_(top) {}

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
                              15, kSearchRadioId);
  normalRadio_ =
      createChild(L"BUTTON", "일반검색", BS_AUTORADIOBUTTON, 440, 68, 70, 15, kSearchRadioId);
  SendMessageW(normalRadio_, BM_SETCHECK, BST_CHECKED, 0);
  searchEdit_ = createChild(L"EDIT", "", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 517, 64, 285, 20,
                            kSearchEditId);
  if (searchEdit_ != nullptr)
    SetWindowSubclass(searchEdit_, &Win32MainWindowView::searchEditFilter, kSearchFilterId, 0);
  HFONT bold = top_.painter().font(SkinFont::Bold);
  for (HWND control : {naturalRadio_, normalRadio_, searchEdit_})
    if (control != nullptr)
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
}

LRESULT CALLBACK Win32MainWindowView::searchEditFilter(HWND edit, UINT message, WPARAM wParam,
                                                       LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    MainWindowPresenter* main = presenter();
    if (main != nullptr && main->hooks().runSearch) main->hooks().runSearch();
  } else if (message == WM_CHAR && wParam == L'\r') {
    return 0;  // handled on key-down; the edit would only beep
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(edit, &Win32MainWindowView::searchEditFilter, id);
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

void Win32MainWindowView::createFrames() {
  createChild(L"BUTTON", "", BS_GROUPBOX, -10, 51, 314, 39, -1);
  createChild(L"BUTTON", "", BS_GROUPBOX, -10, 51, 4000, 39, -1);
  bottomFrame_ = createChild(L"BUTTON", "", BS_GROUPBOX, -10, 662, 4000, 100, -1);
}

void Win32MainWindowView::acceptDroppedFiles() {
  DragAcceptFiles(top_.handle(), TRUE);
}

void Win32MainWindowView::createPaneViews() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  // The trees and lists are plugged in by their subsystems; the notice page
  // is this window's own, loaded once with the member id.
  ClientApp* app = ClientApp::instance();
  if (app == nullptr) return;
  const std::string url = app->webBase(Server::WebSite) + "/help_desk/notice_program.asp" +
                          "?userid=" + app->loginWindow()->memberId();
  webPage_.create(top_.instance(), top_.handle(), url);
  app->mainWindow()->setPane(PaneId::WebPage, &webPage_);
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

void Win32MainWindowView::filesDropped(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, i, &path[0], length + 1);
    path.resize(length);
    paths.push_back(narrow(path));
  }
  DragFinish(drop);
  if (MainWindowPresenter* main = presenter()) main->onFilesDropped(paths);
}

void Win32MainWindowView::onWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t) {
  MainWindowPresenter* main = presenter();
  if (main == nullptr || !main->layoutBuilt()) return;
  if (message == WM_DROPFILES) {
    filesDropped(reinterpret_cast<HDROP>(wParam));
    return;
  }
  if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_LBUTTONUP) return;
  const POINT at = top_.cursorInClient();
  if (message == WM_MOUSEMOVE) main->onMouseMove(at.x, at.y);
  if (message == WM_LBUTTONDOWN) main->onLeftDown(at.x, at.y);
  if (message == WM_LBUTTONUP) main->onLeftUp(at.x, at.y);
}

}  // namespace pom
