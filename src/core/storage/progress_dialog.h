// ProgressDialog: the small modeless "loading" / "moving" dialog shown while
// a folder listing or a move is awaited. The web tree and file list open it;
// the reply dispatcher closes it and clears busy when the answer arrives.
//
// The Win32 side creates the dialog from template 298 (no owner; topmost at
// screen (500, 350)), and sends its close command to onCloseMessage. At most
// one window exists. Owned by the web storage module; loop thread only.
#pragma once

#include <string>

namespace pom {

inline constexpr int kProgressDialogTemplate = 298;
inline constexpr int kProgressLabelId = 1030;

class ProgressDialogView {
 public:
  virtual ~ProgressDialogView() = default;
  virtual bool exists() = 0;
  virtual void create() = 0;
  virtual void setTitle(const std::string& title) = 0;
  virtual void setLabel(const std::string& text) = 0;
  // Shows, updates and focuses the dialog.
  virtual void showAndFocus() = 0;
  virtual void destroy() = 0;
};

class ProgressDialog {
 public:
  void attach(ProgressDialogView* view) { view_ = view; }

  // Both do nothing and return false while the window exists.
  bool openLoading();
  bool openMoving();
  // The awaited answer arrived: destroy the window and clear busy.
  void finish();
  // The dialog's own close command: hide and destroy.
  void onCloseMessage();

  bool busy() const { return busy_; }
  bool isOpen() const;

 private:
  bool open(const char* title, const char* label);

  ProgressDialogView* view_ = nullptr;
  bool busy_ = false;
};

}  // namespace pom
