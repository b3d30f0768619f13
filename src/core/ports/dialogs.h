// Dialogs: the questions and pickers the core puts to the member.
//
// A message box carries its text, caption, icon and buttons exactly as the
// core gives them (CP949 bytes, trailing blanks included) and returns the
// answer; it is modal, and on Win32 it pumps messages, so socket and timer
// events may run re-entrantly while it is open. The owner names which window
// of the program owns the box; the backend maps it onto a window (or none).
// An empty caption asks for the platform's default caption.
//
// Called on the loop thread only. Tests use a recording fake; the headless
// front end answers from its command line.
#pragma once

#include <string>
#include <vector>

namespace pom {

enum class MessageIcon { None, Error, Warning, Information, Question };

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

// Values as the Windows message box returns them.
enum class MessageAnswer { None = 0, Ok = 1, Cancel = 2, Yes = 6, No = 7 };

enum class DialogOwner {
  None,            // no owner window
  TopWindow,       // the program's one top-level window (login, then main)
  LoginWindow,     // same window while it shows the login controls
  MainWindow,      // same window once the main layout is built
  DownloadWindow,  // the transfer windows
  UploadWindow,
  TermExtensionDialog,
  SettingsDialog,
  FriendDialog,
  MemoDialog,
};

struct MessageBoxRequest {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  DialogOwner owner = DialogOwner::None;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  virtual MessageAnswer messageBox(const MessageBoxRequest& request) = 0;

  // The system folder browser (file-system folders only). True with the
  // chosen absolute path when the member picked one.
  virtual bool pickFolder(DialogOwner owner, const std::string& title, std::string& path) = 0;

  // The system file picker, several files allowed. filter: pairs of
  // description and pattern separated by '\0' as the platform expects.
  virtual bool pickFiles(DialogOwner owner, const std::string& title, const std::string& filter,
                         std::vector<std::string>& paths) = 0;

  // Shorthand for the common one-button box.
  MessageAnswer show(const std::string& text, const std::string& caption, MessageIcon icon,
                     DialogOwner owner, MessageButtons buttons = MessageButtons::Ok) {
    MessageBoxRequest request;
    request.text = text;
    request.caption = caption;
    request.icon = icon;
    request.buttons = buttons;
    request.owner = owner;
    return messageBox(request);
  }
};

}  // namespace pom
