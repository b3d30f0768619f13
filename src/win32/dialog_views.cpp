#include "win32/dialog_views.h"

#include "core/app/client_app.h"
#include "platform/win32/wide_text.h"

namespace pom {
namespace {

ProgressDialog* progressPresenter() {
  ClientApp* app = ClientApp::instance();
  return app != nullptr ? app->progressDialog() : nullptr;
}

TermExtensionDialog* termPresenter() {
  ClientApp* app = ClientApp::instance();
  return app != nullptr ? app->termExtensionDialog() : nullptr;
}

}  // namespace

// --- progress dialog -------------------------------------------------------

bool Win32ProgressDialogView::exists() {
  return dialog_ != nullptr && IsWindow(dialog_);
}

void Win32ProgressDialogView::create() {
  dialog_ = CreateDialogParamW(instance_, MAKEINTRESOURCEW(kProgressDialogTemplate), nullptr,
                               &Win32ProgressDialogView::procedure, reinterpret_cast<LPARAM>(this));
}

void Win32ProgressDialogView::setTitle(const std::string& title) {
  if (exists()) SetWindowTextW(dialog_, widen(title).c_str());
}

void Win32ProgressDialogView::setLabel(const std::string& text) {
  if (exists()) SetDlgItemTextW(dialog_, kProgressLabelId, widen(text).c_str());
}

void Win32ProgressDialogView::showAndFocus() {
  if (!exists()) return;
  ShowWindow(dialog_, SW_SHOW);
  UpdateWindow(dialog_);
  SetFocus(dialog_);
}

void Win32ProgressDialogView::destroy() {
  if (exists()) {
    ShowWindow(dialog_, SW_HIDE);
    DestroyWindow(dialog_);
  }
  dialog_ = nullptr;
}

INT_PTR CALLBACK Win32ProgressDialogView::procedure(HWND dialog, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetWindowPos(dialog, HWND_TOPMOST, 500, 350, 0, 0, SWP_NOSIZE);
      return TRUE;
    case WM_CLOSE:
      if (ProgressDialog* progress = progressPresenter()) {
        progress->onCloseMessage();
      } else if (auto* self = reinterpret_cast<Win32ProgressDialogView*>(
                     GetWindowLongPtrW(dialog, DWLP_USER))) {
        self->destroy();
      }
      return TRUE;
  }
  return FALSE;
}

// --- term-extension dialog -------------------------------------------------

bool Win32TermExtensionDialogView::exists() {
  return dialog_ != nullptr && IsWindow(dialog_);
}

void Win32TermExtensionDialogView::create() {
  // The presenter fills the labels during WM_INITDIALOG and may already close
  // the dialog there; dialog_ is set before that, inside the procedure.
  HWND created =
      CreateDialogParamW(instance_, MAKEINTRESOURCEW(kTermExtensionTemplate), nullptr,
                         &Win32TermExtensionDialogView::procedure, reinterpret_cast<LPARAM>(this));
  if (created == nullptr || !IsWindow(created)) dialog_ = nullptr;
}

void Win32TermExtensionDialogView::setTitle(const std::string& title) {
  if (exists()) SetWindowTextW(dialog_, widen(title).c_str());
}

void Win32TermExtensionDialogView::setLabel(int controlId, const std::string& text) {
  if (exists()) SetDlgItemTextW(dialog_, controlId, widen(text).c_str());
}

void Win32TermExtensionDialogView::showAndFocus() {
  if (!exists()) return;
  ShowWindow(dialog_, SW_SHOW);
  UpdateWindow(dialog_);
  SetFocus(dialog_);
}

void Win32TermExtensionDialogView::destroy() {
  if (exists()) {
    ShowWindow(dialog_, SW_HIDE);
    DestroyWindow(dialog_);
  }
  dialog_ = nullptr;
}

INT_PTR CALLBACK Win32TermExtensionDialogView::procedure(HWND dialog, UINT message, WPARAM wParam,
                                                         LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* self = reinterpret_cast<Win32TermExtensionDialogView*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      self->dialog_ = dialog;
      if (TermExtensionDialog* term = termPresenter()) term->onInitDialog();
      return TRUE;
    }
    case WM_COMMAND:
      // OK, and Escape (which the dialog manager turns into Cancel).
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        if (TermExtensionDialog* term = termPresenter()) term->close();
        return TRUE;
      }
      break;
    case WM_CLOSE:
      if (TermExtensionDialog* term = termPresenter()) term->close();
      return TRUE;
  }
  return FALSE;
}

}  // namespace pom
