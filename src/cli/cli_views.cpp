#include "cli/cli_views.h"

#include <algorithm>

namespace pom {

WebTreeCommand CliWebTreeView::trackMenu(WebMenu) {
  const WebTreeCommand chosen = menuChoice;
  menuChoice = WebTreeCommand::None;
  return chosen;
}

void CliWebListView::setCellText(std::int32_t itemId, int column, const std::string& text) {
  for (WebRow& each : rows) {
    if (each.itemId == itemId && column >= 0 && column < kWebColumns) each.texts[column] = text;
  }
}

void CliWebListView::removeRow(std::int32_t itemId) {
  rows.erase(std::remove_if(rows.begin(), rows.end(),
                            [itemId](const WebRow& each) { return each.itemId == itemId; }),
             rows.end());
  selected.erase(std::remove(selected.begin(), selected.end(), itemId), selected.end());
}

std::vector<std::int32_t> CliWebListView::selectedItems() {
  std::vector<std::int32_t> inRowOrder;
  for (const WebRow& each : rows) {
    if (std::find(selected.begin(), selected.end(), each.itemId) != selected.end())
      inRowOrder.push_back(each.itemId);
  }
  return inRowOrder;
}

void CliWebListView::selectAll() {
  selected.clear();
  for (const WebRow& each : rows) selected.push_back(each.itemId);
}

WebListCommand CliWebListView::trackMenu(WebMenu) {
  const WebListCommand chosen = menuChoice;
  menuChoice = WebListCommand::None;
  return chosen;
}

const WebRow* CliWebListView::row(std::int32_t itemId) const {
  for (const WebRow& each : rows) {
    if (each.itemId == itemId) return &each;
  }
  return nullptr;
}

bool CliFriendAddDialogView::runModal(bool idShown, std::string& id, std::string& memo) {
  if (!answer) return false;
  if (idShown) id = answer->first;
  memo = answer->second;
  answer.reset();
  return true;
}

bool CliMemoDialogView::runModal(const std::string&, const std::string&, std::string& text) {
  if (!answer) return false;
  text = *answer;
  answer.reset();
  return true;
}

void CliTermExtensionDialogView::create() {
  exists_ = true;
  labels.clear();
  if (presenter_ != nullptr) presenter_->onInitDialog();
}

void CliTermExtensionDialogView::setLabel(int, const std::string& text) {
  labels.push_back(text);
}

std::unique_ptr<LoginView> CliFrontEnd::createLoginView(LoginPresenter&) {
  return std::make_unique<CliLoginView>(id_, password_, ended);
}

std::unique_ptr<WebTreeView> CliFrontEnd::createWebTreeView(WebFolderTree&) {
  auto view = std::make_unique<CliWebTreeView>();
  tree = view.get();
  return view;
}

std::unique_ptr<WebFileListView> CliFrontEnd::createWebFileListView(WebFileList&) {
  auto view = std::make_unique<CliWebListView>();
  list = view.get();
  return view;
}

std::unique_ptr<FriendAddDialogView> CliFrontEnd::createFriendAddDialogView(FriendAddDialog&) {
  auto view = std::make_unique<CliFriendAddDialogView>();
  friendAdd = view.get();
  return view;
}

std::unique_ptr<MemoDialogView> CliFrontEnd::createMemoDialogView(MemoDialog&) {
  auto view = std::make_unique<CliMemoDialogView>();
  memo = view.get();
  return view;
}

std::unique_ptr<ProgressDialogView> CliFrontEnd::createProgressDialogView(ProgressDialog&) {
  return std::make_unique<CliProgressDialogView>();
}

std::unique_ptr<TermExtensionDialogView> CliFrontEnd::createTermExtensionDialogView(
    TermExtensionDialog& presenter) {
  auto view = std::make_unique<CliTermExtensionDialogView>();
  view->presenter_ = &presenter;
  termExtension = view.get();
  return view;
}

}  // namespace pom
