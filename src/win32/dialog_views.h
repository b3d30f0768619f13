// The two small modeless dialogs over the main window, built from their
// templates: the loading / moving progress dialog (298) and the
// term-extension answer (288). Both are created without owner; their
// presenters (ProgressDialog, TermExtensionDialog) decide texts and closing.
// GUI thread only; at most one window of each exists.
#pragma once

#include <windows.h>

#include "core/app/progress_dialog.h"
#include "core/app/term_extension_dialog.h"

namespace pom {

class Win32ProgressDialogView final : public ProgressDialogView {
 public:
  explicit Win32ProgressDialogView(HINSTANCE instance) : instance_(instance) {}
  ~Win32ProgressDialogView() override { destroy(); }
  bool exists() override;
  void create() override;
  void setTitle(const std::string& title) override;
  void setLabel(const std::string& text) override;
  void showAndFocus() override;
  void destroy() override;
  HWND handle() const { return dialog_; }

 private:
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  HINSTANCE instance_;
  HWND dialog_ = nullptr;
};

class Win32TermExtensionDialogView final : public TermExtensionDialogView {
 public:
  explicit Win32TermExtensionDialogView(HINSTANCE instance) : instance_(instance) {}
  ~Win32TermExtensionDialogView() override { destroy(); }
  bool exists() override;
  void create() override;
  void setTitle(const std::string& title) override;
  void setLabel(int controlId, const std::string& text) override;
  void showAndFocus() override;
  void destroy() override;
  HWND handle() const { return dialog_; }

 private:
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  HINSTANCE instance_;
  HWND dialog_ = nullptr;
};

}  // namespace pom
