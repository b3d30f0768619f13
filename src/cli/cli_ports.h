// The headless front end's answers to what the program would ask a member
// (message boxes, pickers) and its stand-ins for the desktop (browser pages,
// programs, the clipboard). Message boxes are printed to the error stream in
// UTF-8; questions are answered from the command line; nothing is launched,
// only reported.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/app/front_end.h"
#include "core/ports/dialogs.h"
#include "core/ports/shell.h"
#include "core/session/login_view.h"

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

class CliShell : public Shell {
 public:
  explicit CliShell(std::ostream& out) : out_(out) {}
  bool execute(const std::string& verb, const std::string& file, const std::string& parameters,
               ShowMode show) override;
  bool openBrowserWindow(const std::string& url, int left, int top, int width, int height) override;
  bool runProgram(const std::string& commandLine) override;
  bool setClipboardText(const std::string& text) override;
  bool powerOff() override;

 private:
  std::ostream& out_;
};

// The login "window" of the headless front end: its edits hold the id and
// password from the command line; it draws nothing. Destroying it (the
// member declined to reconnect) ends the program: `ended` is set.
class CliLoginView : public LoginView {
 public:
  CliLoginView(std::string id, std::string password, bool& ended)
      : id_(std::move(id)), password_(std::move(password)), ended_(ended) {}
  SkinPainter* painter() override { return nullptr; }
  std::string idText() override { return id_; }
  std::string passwordText() override { return password_; }
  bool saveChecked() override { return false; }
  void setIdText(const std::string&) override {}
  void setPasswordText(const std::string&) override {}
  void setSaveChecked(bool) override {}
  void setTitle(const std::string&) override {}
  void focusIdEdit() override {}
  void focusPasswordEdit() override {}
  void setControlsVisible(bool) override {}
  void redraw() override {}
  void showWindow() override {}
  void destroyWindow() override { ended_ = true; }

 private:
  std::string id_;
  std::string password_;
  bool& ended_;
};

// The headless front end's views: the login "window" above and no others
// (the presenters run without windows).
class CliFrontEnd : public FrontEnd {
 public:
  CliFrontEnd(std::string id, std::string password)
      : id_(std::move(id)), password_(std::move(password)) {}
  bool ended = false;

  std::unique_ptr<LoginView> createLoginView(LoginPresenter&) override {
    return std::make_unique<CliLoginView>(id_, password_, ended);
  }
  std::unique_ptr<MainWindowView> createMainWindowView(MainWindowPresenter&) override {
    return nullptr;
  }
  std::unique_ptr<WebTreeView> createWebTreeView(WebFolderTree&) override { return nullptr; }
  std::unique_ptr<WebFileListView> createWebFileListView(WebFileList&) override { return nullptr; }
  std::unique_ptr<FriendAddDialogView> createFriendAddDialogView(FriendAddDialog&) override {
    return nullptr;
  }
  std::unique_ptr<MemoDialogView> createMemoDialogView(MemoDialog&) override { return nullptr; }
  std::unique_ptr<ProgressDialogView> createProgressDialogView(ProgressDialog&) override {
    return nullptr;
  }
  std::unique_ptr<TermExtensionDialogView> createTermExtensionDialogView(
      TermExtensionDialog&) override {
    return nullptr;
  }

 private:
  std::string id_;
  std::string password_;
};

}  // namespace pom
