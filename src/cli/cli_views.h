// The headless front end's views: the login "window" that holds the id and
// password from the command line, and stand-ins for the web storage's tree,
// list and dialogs that keep what the program would show and answer what a
// member would choose (the command being run sets the answers first).
// Nothing is drawn. Texts are CP949, as the presenters give them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/front_end.h"
#include "core/session/login_view.h"

namespace pom {

// Destroying the login "window" (the member declined to reconnect) ends the
// program: `ended` is set.
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

// The tree: its nodes live in the presenter; the menu answers `menuChoice`.
class CliWebTreeView : public WebTreeView {
 public:
  WebTreeCommand menuChoice = WebTreeCommand::None;

  void insertNode(WebNodeId, WebNodeId, WebNodeKind, const std::string&) override {}
  void removeNode(WebNodeId) override {}
  void setLabel(WebNodeId, const std::string&) override {}
  void selectNode(WebNodeId) override {}
  void expandNode(WebNodeId) override {}
  WebTreeCommand trackMenu(WebMenu) override;
  void place(const PaneRect&) override {}
  void setVisible(bool) override {}
};

// The list: the rows as the control would hold them, in order, and the
// selection the command chose. A label edit the presenter opens is kept in
// `editing` for the command to finish.
class CliWebListView : public WebFileListView {
 public:
  std::vector<WebRow> rows;
  std::vector<std::int32_t> selected;
  std::optional<std::int32_t> editing;
  std::string caption;
  WebListCommand menuChoice = WebListCommand::None;

  void clearRows() override { rows.clear(); }
  void appendRow(const WebRow& row) override { rows.push_back(row); }
  void setCellText(std::int32_t itemId, int column, const std::string& text) override;
  void removeRow(std::int32_t itemId) override;
  std::vector<std::int32_t> selectedItems() override;
  void deselectAll() override { selected.clear(); }
  void selectAll() override;
  void editLabel(std::int32_t itemId) override { editing = itemId; }
  void setCaption(const std::string& text) override { caption = text; }
  WebListCommand trackMenu(WebMenu) override;
  void place(const PaneRect&) override {}
  void setVisible(bool) override {}

  const WebRow* row(std::int32_t itemId) const;
};

// The dialogs answer OK with what the command put in, or Cancel when it put
// nothing.
class CliFriendAddDialogView : public FriendAddDialogView {
 public:
  std::optional<std::pair<std::string, std::string>> answer;  // id, memo
  bool runModal(bool idShown, std::string& id, std::string& memo) override;
};

class CliMemoDialogView : public MemoDialogView {
 public:
  std::optional<std::string> answer;
  bool runModal(const std::string& title, const std::string& label, std::string& text) override;
};

class CliProgressDialogView : public ProgressDialogView {
 public:
  bool exists() override { return exists_; }
  void create() override { exists_ = true; }
  void setTitle(const std::string&) override {}
  void setLabel(const std::string&) override {}
  void showAndFocus() override {}
  void destroy() override { exists_ = false; }

 private:
  bool exists_ = false;
};

// The term-extension answer: its labels, in the order they were set.
class CliTermExtensionDialogView : public TermExtensionDialogView {
 public:
  std::vector<std::string> labels;
  bool exists() override { return exists_; }
  void create() override;
  void setTitle(const std::string&) override {}
  void setLabel(int controlId, const std::string& text) override;
  void showAndFocus() override {}
  void destroy() override { exists_ = false; }

 private:
  bool exists_ = false;
  TermExtensionDialog* presenter_ = nullptr;
  friend class CliFrontEnd;
};

// Hands out the views above (no main window: the presenters run without
// one) and keeps a pointer to each for the commands.
class CliFrontEnd : public FrontEnd {
 public:
  CliFrontEnd(std::string id, std::string password)
      : id_(std::move(id)), password_(std::move(password)) {}
  bool ended = false;

  CliWebTreeView* tree = nullptr;
  CliWebListView* list = nullptr;
  CliFriendAddDialogView* friendAdd = nullptr;
  CliMemoDialogView* memo = nullptr;
  CliTermExtensionDialogView* termExtension = nullptr;

  std::unique_ptr<LoginView> createLoginView(LoginPresenter&) override;
  std::unique_ptr<MainWindowView> createMainWindowView(MainWindowPresenter&) override {
    return nullptr;
  }
  std::unique_ptr<WebTreeView> createWebTreeView(WebFolderTree&) override;
  std::unique_ptr<WebFileListView> createWebFileListView(WebFileList&) override;
  std::unique_ptr<FriendAddDialogView> createFriendAddDialogView(FriendAddDialog&) override;
  std::unique_ptr<MemoDialogView> createMemoDialogView(MemoDialog&) override;
  std::unique_ptr<ProgressDialogView> createProgressDialogView(ProgressDialog&) override;
  std::unique_ptr<TermExtensionDialogView> createTermExtensionDialogView(
      TermExtensionDialog& presenter) override;
  std::unique_ptr<TransferWindowView> createTransferWindowView(TransferKind,
                                                               TransferWindowInput&) override {
    return nullptr;
  }

 private:
  std::string id_;
  std::string password_;
};

}  // namespace pom
