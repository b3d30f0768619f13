#include "win32/dialog_views.h"

#include "platform/win32/wide_text.h"
#include "win32/login_window.h"

namespace pom {

bool Win32ProgressDialogView::onInitDialog() {
  SetWindowPos(handle(), HWND_TOPMOST, 500, 350, 0, 0, SWP_NOSIZE);
  return true;
}

bool Win32ProgressDialogView::onClose() {
  presenter_.onCloseMessage();
  return true;
}

bool Win32TermExtensionDialogView::onInitDialog() {
  // The presenter fills the labels now, through this view: the dialog is
  // bound to it already.
  presenter_.onInitDialog();
  return true;
}

bool Win32TermExtensionDialogView::onCommand(int id, int, HWND) {
  // OK, and Escape (which the dialog manager turns into Cancel).
  if (id != IDOK && id != IDCANCEL) return false;
  presenter_.close();
  return true;
}

bool Win32TermExtensionDialogView::onClose() {
  presenter_.close();
  return true;
}

// --- friend-add dialog -----------------------------------------------------

namespace {

constexpr int kFriendAddTemplate = 185;
constexpr int kFriendIdEdit = 1016;
constexpr int kFriendMemoEdit = 1019;
constexpr int kFriendAddButton = 1017;
constexpr int kFriendCancelButton = 1018;
constexpr int kFriendIdLabel = 1028;
constexpr int kMemoTemplate = 297;
constexpr int kMemoEdit = 1027;
constexpr int kMemoLabel = 1029;

}  // namespace

bool Win32FriendAddDialogView::runModal(bool idShown, std::string& id, std::string& memo) {
  idShown_ = idShown;
  id_.clear();
  memo_.clear();
  const bool ok = Dialog::runModal(kFriendAddTemplate, owner_) == IDOK;
  id = id_;
  memo = memo_;
  return ok;
}

bool Win32FriendAddDialogView::onInitDialog() {
  SetWindowPos(handle(), nullptr, 400, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  if (!idShown_) {
    ShowWindow(GetDlgItem(handle(), kFriendIdEdit), SW_HIDE);
    ShowWindow(GetDlgItem(handle(), kFriendIdLabel), SW_HIDE);
  }
  return true;
}

bool Win32FriendAddDialogView::onCommand(int id, int, HWND) {
  if (id == IDOK || id == kFriendAddButton) {
    id_ = controlText(GetDlgItem(handle(), kFriendIdEdit), 127);
    memo_ = controlText(GetDlgItem(handle(), kFriendMemoEdit), 255);
    endModal(IDOK);
    return true;
  }
  if (id == IDCANCEL || id == kFriendCancelButton) {
    endModal(IDCANCEL);
    return true;
  }
  return false;
}

bool Win32FriendAddDialogView::onClose() {
  endModal(IDCANCEL);
  return true;
}

// --- memo dialog -----------------------------------------------------------

bool Win32MemoDialogView::runModal(const std::string& title, const std::string& label,
                                   std::string& text) {
  title_ = title;
  label_ = label;
  text_.clear();
  const bool ok = Dialog::runModal(kMemoTemplate, owner_) == IDOK;
  text = text_;
  return ok;
}

bool Win32MemoDialogView::onInitDialog() {
  SetWindowPos(handle(), nullptr, 400, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowTextW(handle(), widen(title_).c_str());
  SetDlgItemTextW(handle(), kMemoLabel, widen(label_).c_str());
  return true;
}

bool Win32MemoDialogView::onCommand(int id, int, HWND) {
  if (id == IDOK) {
    text_ = controlText(GetDlgItem(handle(), kMemoEdit), 255);
    endModal(IDOK);
    return true;
  }
  if (id == IDCANCEL) {
    endModal(IDCANCEL);
    return true;
  }
  return false;
}

bool Win32MemoDialogView::onClose() {
  endModal(IDCANCEL);
  return true;
}

}  // namespace pom
