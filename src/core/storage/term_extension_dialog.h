// TermExtensionDialog: shows the server's answer to a request to extend the
// member's storage term. The reply dispatcher fills the record and opens it.
//
// The Win32 side creates the dialog from template 288 (no owner) and calls
// onInitDialog while creating it; OK, Escape and the close command reach
// close(). At most one window exists. Owned by the web storage module; loop
// thread only.
#pragma once

#include <cstdint>
#include <string>

#include "core/net/messages/replies.h"

namespace pom {

class Dialogs;

inline constexpr int kTermExtensionTemplate = 288;
inline constexpr int kTermResultLabelId = 1022;
inline constexpr int kTermQuotaLabelId = 1023;
inline constexpr int kTermUsedLabelId = 1024;
inline constexpr int kTermAvailableLabelId = 1025;

class TermExtensionDialogView {
 public:
  virtual ~TermExtensionDialogView() = default;
  virtual bool exists() = 0;
  // Creates the dialog; calls TermExtensionDialog::onInitDialog before it
  // returns (that may already close it again).
  virtual void create() = 0;
  virtual void setTitle(const std::string& title) = 0;
  virtual void setLabel(int controlId, const std::string& text) = 0;
  virtual void showAndFocus() = 0;
  virtual void destroy() = 0;
};

class TermExtensionDialog {
 public:
  explicit TermExtensionDialog(Dialogs* dialogs = nullptr) : dialogs_(dialogs) {}
  void attach(TermExtensionDialogView* view, Dialogs* dialogs) {
    view_ = view;
    dialogs_ = dialogs;
  }

  // Before an answer (and after closing) the result reads as this value, which
  // the server never sends.
  static constexpr auto kNoAnswer = static_cast<ExtendTermReply::Result>(1);

  // The record the dispatcher fills from the extension answer.
  ExtendTermReply::Result result = kNoAnswer;
  std::int32_t storedValue = 0;
  std::int64_t freeQuota = 0;
  std::int64_t totalUsed = 0;

  // Creates and shows the dialog with the title "기간 연장 알림" unless it is
  // already open.
  void open();
  // Fills the labels from the record (and closes for results 2 and others).
  void onInitDialog();
  // Resets the record and destroys the window.
  void close();
  bool isOpen() const;

 private:
  TermExtensionDialogView* view_ = nullptr;
  Dialogs* dialogs_ = nullptr;
};

}  // namespace pom
