// FriendAddDialog and MemoDialog: the two small modal dialogs of the web
// storage, as presenters over modal views.
//
// The friend-add dialog (resource 185, "친구추가") asks for a member id and a
// memo, or only for the memo when the caller presets the id, and sends
// AddFriendRequest; the server's answer is shown by the reply branches. The
// memo dialog (resource 297) asks for one line under a caller-given title
// and label (a friend's memo, a combined link's title) and keeps the text of
// its last showing. Both are shown at screen (400, 200), owned by the main
// window, one at a time. Loop thread only (the views run modal loops).
#pragma once

#include <string>

namespace pom {

class SessionLink;

inline constexpr std::size_t kFriendIdBytes = 20;
inline constexpr std::size_t kMemoBytes = 199;

class FriendAddDialogView {
 public:
  virtual ~FriendAddDialogView() = default;
  // Runs the dialog; with idShown false the id edit and its label are hidden.
  // True on OK with what was typed (not yet cut).
  virtual bool runModal(bool idShown, std::string& id, std::string& memo) = 0;
};

class MemoDialogView {
 public:
  virtual ~MemoDialogView() = default;
  // Runs the dialog with this caption and label, the edit empty. True on OK.
  virtual bool runModal(const std::string& title, const std::string& label, std::string& text) = 0;
};

class FriendAddDialog {
 public:
  explicit FriendAddDialog(SessionLink& session) : session_(session) {}
  void attach(FriendAddDialogView* view) { view_ = view; }

  // True when the request was sent; false when cancelled or already open.
  bool open(const std::string& presetId = std::string());
  // The same without a window (the headless front end).
  void send(const std::string& friendId, const std::string& memo);

 private:
  SessionLink& session_;
  FriendAddDialogView* view_ = nullptr;
  bool open_ = false;
};

class MemoDialog {
 public:
  void attach(MemoDialogView* view) { view_ = view; }

  // Shows the dialog; true on OK. Cancelling (or having no window) leaves
  // text() empty.
  bool show(const std::string& title, const std::string& label);
  // The text of the last showing (at most 199 bytes).
  const std::string& text() const { return text_; }

 private:
  MemoDialogView* view_ = nullptr;
  bool open_ = false;
  std::string text_;
};

}  // namespace pom
