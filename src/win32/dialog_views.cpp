#include "win32/dialog_views.h"

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

}  // namespace pom
