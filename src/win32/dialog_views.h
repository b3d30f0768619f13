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

namespace pom {

// What both dialogs share: the window handle and the plain operations on it.
class ModelessDialog {
 public:
  explicit ModelessDialog(HINSTANCE instance) : instance_(instance) {}
  ~ModelessDialog() { destroyDialog(); }
  ModelessDialog(const ModelessDialog&) = delete;
  ModelessDialog& operator=(const ModelessDialog&) = delete;

  HWND handle() const { return dialog_; }
  bool dialogExists() const { return dialog_ != nullptr && IsWindow(dialog_); }
  void setDialogTitle(const std::string& title);
  void setItemText(int controlId, const std::string& text);
  void showDialog();
  void destroyDialog();

 protected:
  // Creates the dialog from a template; the procedure gets `this` as the
  // creation parameter.
  void createDialog(int templateId, DLGPROC procedure);

  HINSTANCE instance_;
  HWND dialog_ = nullptr;
};

class Win32ProgressDialogView final : public ModelessDialog, public ProgressDialogView {
 public:
  using ModelessDialog::ModelessDialog;
  bool exists() override { return dialogExists(); }
  void create() override;
  void setTitle(const std::string& title) override { setDialogTitle(title); }
  void setLabel(const std::string& text) override { setItemText(kProgressLabelId, text); }
  void showAndFocus() override { showDialog(); }
  void destroy() override { destroyDialog(); }

 private:
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

class Win32TermExtensionDialogView final : public ModelessDialog, public TermExtensionDialogView {
 public:
  using ModelessDialog::ModelessDialog;
  bool exists() override { return dialogExists(); }
  void create() override;
  void setTitle(const std::string& title) override { setDialogTitle(title); }
  void setLabel(int controlId, const std::string& text) override { setItemText(controlId, text); }
  void showAndFocus() override { showDialog(); }
  void destroy() override { destroyDialog(); }

 private:
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace pom
