// The two small modeless dialogs over the main window, built from their
// templates: the loading / moving progress dialog (298) and the
// term-extension answer (288). Both are created without owner; their
// presenters (ProgressDialog, TermExtensionDialog) decide texts and closing.
// GUI thread only; at most one window of each exists.
#pragma once

#include <windows.h>

#include <string>

#include "core/storage/progress_dialog.h"
#include "core/storage/term_extension_dialog.h"
#include "win32/window.h"

namespace pom {

class Win32ProgressDialogView final : public Dialog, public ProgressDialogView {
 public:
  Win32ProgressDialogView(HINSTANCE instance, ProgressDialog& presenter)
      : Dialog(instance), presenter_(presenter) {}
  bool exists() override { return dialogExists(); }
  void create() override { createDialog(kProgressDialogTemplate); }
  void setTitle(const std::string& title) override { setDialogTitle(title); }
  void setLabel(const std::string& text) override { setItemText(kProgressLabelId, text); }
  void showAndFocus() override { showDialog(); }
  void destroy() override { destroyDialog(); }

 protected:
  bool onInitDialog() override;
  bool onClose() override;

 private:
  ProgressDialog& presenter_;
};

class Win32TermExtensionDialogView final : public Dialog, public TermExtensionDialogView {
 public:
  Win32TermExtensionDialogView(HINSTANCE instance, TermExtensionDialog& presenter)
      : Dialog(instance), presenter_(presenter) {}
  bool exists() override { return dialogExists(); }
  void create() override { createDialog(kTermExtensionTemplate); }
  void setTitle(const std::string& title) override { setDialogTitle(title); }
  void setLabel(int controlId, const std::string& text) override { setItemText(controlId, text); }
  void showAndFocus() override { showDialog(); }
  void destroy() override { destroyDialog(); }

 protected:
  bool onInitDialog() override;
  bool onCommand(int id, int code, HWND control) override;
  bool onClose() override;

 private:
  TermExtensionDialog& presenter_;
};

}  // namespace pom
