// The headless front end's answers to what the program would ask a member
// (message boxes, pickers) and its stand-ins for the desktop (browser pages,
// programs, the clipboard). Message boxes are printed to the error stream in
// UTF-8; questions are answered from the command line; nothing is launched,
// only reported.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/ports/dialogs.h"
#include "core/ports/shell.h"

namespace pom {

class CliDialogs : public Dialogs {
 public:
  explicit CliDialogs(std::ostream& out) : out_(out) {}

  // Answers: OK/Cancel questions get okCancel (Ok or Cancel), Yes/No
  // questions yesNo (Yes or No).
  MessageAnswer okCancel = MessageAnswer::Cancel;
  MessageAnswer yesNo = MessageAnswer::No;
  std::vector<MessageBoxRequest> shown;

  MessageAnswer messageBox(const MessageBoxRequest& request) override;
  bool pickFolder(DialogOwner owner, const std::string& title, std::string& path) override;
  bool pickFiles(DialogOwner owner, const std::string& title, const std::string& filter,
                 std::vector<std::string>& paths) override;

 private:
  std::ostream& out_;
};

// The clipboard is kept in `clipboard` (the commands print it).
class CliShell : public Shell {
 public:
  explicit CliShell(std::ostream& out) : out_(out) {}
  std::string clipboard;
  bool execute(const std::string& verb, const std::string& file, const std::string& parameters,
               ShowMode show) override;
  bool openBrowserWindow(const std::string& url, int left, int top, int width, int height) override;
  bool runProgram(const std::string& commandLine) override;
  bool setClipboardText(const std::string& text) override;
  bool powerOff() override;

 private:
  std::ostream& out_;
};

}  // namespace pom
