#include "win32/login_window.h"

#include "platform/win32/wide_text.h"
#include "win32/top_window.h"

namespace pom {
namespace {

HWND createEdit(HWND parent, HINSTANCE instance, int id, int y, DWORD extraStyle) {
  return CreateWindowExW(
      0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | extraStyle,
      90, y, 104, 18, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

std::string controlText(HWND control, int maxChars) {
  std::wstring buffer(static_cast<size_t>(maxChars) + 1, L'\0');
  int length = GetWindowTextW(control, &buffer[0], maxChars + 1);
  buffer.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return narrow(buffer);
}

Win32LoginView::Win32LoginView(TopWindow& top, LoginPresenter& presenter,
                               WindowMessageFanOut& fanOut)
    : top_(top),
      presenter_(presenter),
      fanOut_(fanOut),
      idFilter_(presenter, LoginEdit::Id),
      passwordFilter_(presenter, LoginEdit::Password) {
  fanOut_.add(FanOutSlot::LoginWindow, "LoginWindow", *this);
}

Win32LoginView::~Win32LoginView() {
  fanOut_.remove(this);
}

bool Win32LoginView::createControls() {
  HWND window = top_.handle();
  idEdit_ = createEdit(window, top_.instance(), kIdEditId, 100, 0);
  passwordEdit_ = createEdit(window, top_.instance(), kPasswordEditId, 122, ES_PASSWORD);
  saveBox_ = CreateWindowExW(0, L"BUTTON", widen("아이디/비밀번호저장").c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 90, 150, 140, 15,
                             window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSaveBoxId)),
                             top_.instance(), nullptr);
  if (idEdit_ == nullptr || passwordEdit_ == nullptr || saveBox_ == nullptr) return false;
  idFilter_.attachTo(idEdit_);
  passwordFilter_.attachTo(passwordEdit_);
  HFONT font = top_.painter().font(SkinFont::Normal);
  for (HWND control : {idEdit_, passwordEdit_, saveBox_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return true;
}

bool Win32LoginView::KeyFilter::onKeyDown(UINT key, LPARAM) {
  if (key == VK_TAB && edit_ == LoginEdit::Id) presenter_.onEditKey(edit_, LoginKey::Tab);
  if (key == VK_RETURN) presenter_.onEditKey(edit_, LoginKey::Enter);
  return false;  // the edit's own procedure still runs
}

bool Win32LoginView::KeyFilter::onChar(wchar_t character, LPARAM) {
  // The keys were handled on key-down; a single-line edit would only beep.
  return character == L'\t' || character == L'\r';
}

SkinPainter* Win32LoginView::painter() {
  return &top_.painter();
}

std::string Win32LoginView::idText() {
  return controlText(idEdit_, 127);
}
std::string Win32LoginView::passwordText() {
  return controlText(passwordEdit_, 127);
}
bool Win32LoginView::saveChecked() {
  return SendMessageW(saveBox_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32LoginView::setIdText(const std::string& text) {
  SetWindowTextW(idEdit_, widen(text).c_str());
}
void Win32LoginView::setPasswordText(const std::string& text) {
  SetWindowTextW(passwordEdit_, widen(text).c_str());
}
void Win32LoginView::setSaveChecked(bool checked) {
  SendMessageW(saveBox_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
void Win32LoginView::setTitle(const std::string& title) {
  SetWindowTextW(top_.handle(), widen(title).c_str());
}
void Win32LoginView::focusIdEdit() {
  SetFocus(idEdit_);
}
void Win32LoginView::focusPasswordEdit() {
  SetFocus(passwordEdit_);
}

void Win32LoginView::setControlsVisible(bool visible) {
  for (HWND control : {idEdit_, passwordEdit_, saveBox_})
    ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void Win32LoginView::redraw() {
  InvalidateRect(top_.handle(), nullptr, TRUE);
}

void Win32LoginView::showWindow() {
  ShowWindow(top_.handle(), SW_SHOW);
  UpdateWindow(top_.handle());
  SetForegroundWindow(top_.handle());
  SetFocus(idEdit_);
}

void Win32LoginView::destroyWindow() {
  if (IsWindow(top_.handle())) DestroyWindow(top_.handle());
}

void Win32LoginView::onWindowMessage(std::uint32_t message, std::uintptr_t, std::intptr_t) {
  if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_LBUTTONUP) return;
  const POINT at = top_.cursorInClient();
  if (message == WM_MOUSEMOVE) presenter_.onMouseMove(at.x, at.y);
  if (message == WM_LBUTTONDOWN) presenter_.onLeftDown(at.x, at.y);
  if (message == WM_LBUTTONUP) presenter_.onLeftUp(at.x, at.y);
}

}  // namespace pom
