// The small dialogs over the main window, built from their templates: the
// modeless loading / moving progress dialog (298) and term-extension answer
// (288), both without owner, and the modal friend-add (185) and memo (297)
// dialogs, owned by the main window at screen (400, 200). Their presenters
// decide texts, cuts and closing. GUI thread only; at most one window of each
// exists.
#pragma once

#include <windows.h>

#include <string>

#include "core/storage/progress_dialog.h"
#include "core/storage/storage_dialogs.h"
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

class Win32FriendAddDialogView final : public Dialog, public FriendAddDialogView {
 public:
  Win32FriendAddDialogView(HINSTANCE instance, HWND owner) : Dialog(instance), owner_(owner) {}
  bool runModal(bool idShown, std::string& id, std::string& memo) override;

 protected:
  bool onInitDialog() override;
  bool onCommand(int id, int code, HWND control) override;
  bool onClose() override;

 private:
  HWND owner_;
  bool idShown_ = true;
  std::string id_, memo_;
};

class Win32MemoDialogView final : public Dialog, public MemoDialogView {
 public:
  Win32MemoDialogView(HINSTANCE instance, HWND owner) : Dialog(instance), owner_(owner) {}
  bool runModal(const std::string& title, const std::string& label, std::string& text) override;

 protected:
  bool onInitDialog() override;
  bool onCommand(int id, int code, HWND control) override;
  bool onClose() override;

 private:
  HWND owner_;
  std::string title_, label_, text_;
};

}  // namespace pom
