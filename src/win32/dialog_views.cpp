#include "win32/dialog_views.h"

#include "core/app/client_app.h"
#include "platform/win32/wide_text.h"

namespace pom {

// --- shared ----------------------------------------------------------------

void ModelessDialog::createDialog(int templateId, DLGPROC procedure) {
  HWND created = CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId), nullptr, procedure,
                                    reinterpret_cast<LPARAM>(this));
  // The procedure may already have closed it again during WM_INITDIALOG.
  dialog_ = created != nullptr && IsWindow(created) ? created : nullptr;
}

void ModelessDialog::setDialogTitle(const std::string& title) {
  if (dialogExists()) SetWindowTextW(dialog_, widen(title).c_str());
}

void ModelessDialog::setItemText(int controlId, const std::string& text) {
  if (dialogExists()) SetDlgItemTextW(dialog_, controlId, widen(text).c_str());
}

void ModelessDialog::showDialog() {
  if (!dialogExists()) return;
  ShowWindow(dialog_, SW_SHOW);
  UpdateWindow(dialog_);
  SetFocus(dialog_);
}

void ModelessDialog::destroyDialog() {
  if (dialogExists()) {
    ShowWindow(dialog_, SW_HIDE);
    DestroyWindow(dialog_);
  }
  dialog_ = nullptr;
}

// --- progress dialog -------------------------------------------------------

void Win32ProgressDialogView::create() {
  createDialog(kProgressDialogTemplate, &Win32ProgressDialogView::procedure);
}

INT_PTR CALLBACK Win32ProgressDialogView::procedure(HWND dialog, UINT message, WPARAM,
                                                    LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetWindowPos(dialog, HWND_TOPMOST, 500, 350, 0, 0, SWP_NOSIZE);
      return TRUE;
    case WM_CLOSE: {
      ClientApp* app = ClientApp::instance();
      if (app != nullptr && app->progressDialog() != nullptr) {
        app->progressDialog()->onCloseMessage();
      } else if (auto* self = reinterpret_cast<Win32ProgressDialogView*>(
                     GetWindowLongPtrW(dialog, DWLP_USER))) {
        self->destroyDialog();
      }
      return TRUE;
    }
  }
  return FALSE;
}

// --- term-extension dialog -------------------------------------------------

void Win32TermExtensionDialogView::create() {
  createDialog(kTermExtensionTemplate, &Win32TermExtensionDialogView::procedure);
}

INT_PTR CALLBACK Win32TermExtensionDialogView::procedure(HWND dialog, UINT message, WPARAM wParam,
                                                         LPARAM lParam) {
  ClientApp* app = ClientApp::instance();
  TermExtensionDialog* term = app != nullptr ? app->termExtensionDialog() : nullptr;
  switch (message) {
    case WM_INITDIALOG: {
      // The presenter fills the labels now, through the view, so the view
      // must know its window before CreateDialogParamW returns.
      auto* self = reinterpret_cast<Win32TermExtensionDialogView*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      self->dialog_ = dialog;
      if (term != nullptr) term->onInitDialog();
      return TRUE;
    }
    case WM_COMMAND:
      // OK, and Escape (which the dialog manager turns into Cancel).
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        if (term != nullptr) term->close();
        return TRUE;
      }
      break;
    case WM_CLOSE:
      if (term != nullptr) term->close();
      return TRUE;
  }
  return FALSE;
}

}  // namespace pom
