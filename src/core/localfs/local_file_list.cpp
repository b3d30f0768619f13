#include "core/localfs/local_file_list.h"

#include <algorithm>

#include "core/hub/main_window_link.h"
#include "core/hub/storage_link.h"
#include "core/hub/transfer_links.h"

namespace pom {
namespace {

// Keeps the view busy (capture, wait cursor) for its lifetime, so that every
// way out of the filling releases both.
class BusyGuard {
 public:
  explicit BusyGuard(LocalFileListView* view) : view_(view) {
    if (view_ != nullptr) view_->setBusy(true);
  }
  ~BusyGuard() {
    if (view_ != nullptr) view_->setBusy(false);
  }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  LocalFileListView* view_;
};

}  // namespace

LocalMenuAction localMenuAction(int command, const std::string& verb) {
  if (command == kUploadMenuCommand) return LocalMenuAction::Upload;
  if (verb == "rename") return LocalMenuAction::EditLabel;
  for (const char* refreshing : {"delete", "cut", "paste", "link"}) {
    if (verb == refreshing) return LocalMenuAction::InvokeThenRefresh;
  }
  return LocalMenuAction::Invoke;
}

bool acceptableLocalName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  // '\' and '/' cannot be CP949 trail bytes, ':' neither: a byte scan is exact.
  return name.find_first_of("\\/:") == std::string::npos;
}

void LocalFileList::showFolder(const LocalItemPtr& folder) {
  rows_.clear();
  folder_ = folder;
  shownPath_.clear();
  if (deps_.view != nullptr) deps_.view->setRowCount(0);
  if (deps_.shell == nullptr || folder_ == nullptr) return;
  BusyGuard busy(deps_.view);
  shownPath_ = deps_.shell->pathOf(*folder_);
  if (deps_.view != nullptr)
    deps_.view->setCaption(shownPath_.empty() ? deps_.shell->nameOf(*folder_) : shownPath_);
  // A failed enumeration keeps the rows it gave.
  deps_.shell->enumerate(*folder_, LocalEnum::FoldersAndFiles, rows_);
  sortRows();
}

const LocalEntry* LocalFileList::entry(std::size_t row) const {
  return row < rows_.size() ? &rows_[row] : nullptr;
}

std::string LocalFileList::cellText(std::size_t row, int column) const {
  return row < rows_.size() ? localCellText(rows_[row], column) : std::string();
}

void LocalFileList::sortRows() {
  if (deps_.shell != nullptr && folder_ != nullptr) {
    LocalShell& shell = *deps_.shell;
    const LocalItem& folder = *folder_;
    const int key = sortKey_;
    std::stable_sort(rows_.begin(), rows_.end(), [&](const LocalEntry& a, const LocalEntry& b) {
      return compareLocalEntries(shell, folder, a, b, key) < 0;
    });
  }
  if (deps_.view != nullptr) deps_.view->setRowCount(rows_.size());
}

void LocalFileList::columnClick(int column) {
  if (column < 0 || column >= kLocalColumns) return;
  sortKey_ = nextSortKey(sortKey_, column);
  sortRows();
}

std::vector<const LocalEntry*> LocalFileList::selection() const {
  std::vector<const LocalEntry*> rows;
  if (deps_.view == nullptr) return rows;
  for (std::size_t row : deps_.view->selectedRows()) {
    if (row < rows_.size()) rows.push_back(&rows_[row]);
  }
  return rows;
}

bool LocalFileList::hasSelection() const {
  return !selection().empty();
}

void LocalFileList::doubleClick(std::size_t row) {
  const LocalEntry* clicked = entry(row);
  if (clicked == nullptr) return;
  if (clicked->isFolder()) {
    // The tree selects the child, which shows it here (and replaces rows_).
    const LocalItemPtr item = clicked->item;
    if (deps_.host != nullptr) deps_.host->selectChild(*item);
  } else if (deps_.shell != nullptr) {
    deps_.shell->open(*clicked->item);
  }
}

void LocalFileList::key(LocalKey key) {
  switch (key) {
    case LocalKey::Refresh:
      if (deps_.host != nullptr) deps_.host->refreshTree();
      break;
    case LocalKey::Delete:
      deleteSelected(true);
      break;
    case LocalKey::DeleteForGood:
      deleteSelected(false);
      break;
    case LocalKey::SelectAll:
      if (deps_.view != nullptr) deps_.view->selectAll();
      break;
    case LocalKey::Rename: {
      if (deps_.view == nullptr) break;
      const std::vector<std::size_t> rows = deps_.view->selectedRows();
      if (!rows.empty()) deps_.view->editLabel(rows.back());
      break;
    }
  }
}

void LocalFileList::endLabelEdit(std::size_t row, const std::optional<std::string>& text) {
  if (!text || row >= rows_.size() || deps_.shell == nullptr || folder_ == nullptr) return;
  LocalEntry& renamed = rows_[row];
  if (*text == renamed.name || !acceptableLocalName(*text)) return;
  LocalItemPtr item = deps_.shell->rename(*folder_, *renamed.item, *text);
  if (item == nullptr) {
    // Refused: the row goes on showing the name the item still has.
    if (deps_.view != nullptr) deps_.view->redrawRow(row);
    return;
  }
  // The tree shows the folder again, which reads the new name from the shell.
  if (deps_.host != nullptr) {
    deps_.host->refreshTree();
  } else {
    renamed.item = std::move(item);
    renamed.name = *text;
    if (deps_.view != nullptr) deps_.view->redrawRow(row);
  }
}

void LocalFileList::rightClick() {
  if (deps_.view == nullptr) return;
  const std::vector<std::size_t> rows = deps_.view->selectedRows();
  if (rows.empty()) return;
  const LocalMenuChoice choice = deps_.view->trackMenu(rows);
  if (choice.command == 0) return;
  switch (localMenuAction(choice.command, choice.verb)) {
    case LocalMenuAction::Upload:
      uploadSelected();
      break;
    case LocalMenuAction::EditLabel:
      deps_.view->editLabel(rows.back());
      break;
    case LocalMenuAction::InvokeThenRefresh:
      deps_.view->runMenuCommand(choice);
      if (deps_.host != nullptr) deps_.host->refreshTree();
      break;
    case LocalMenuAction::Invoke:
      deps_.view->runMenuCommand(choice);
      break;
  }
}

void LocalFileList::uploadSelected() {
  if (deps_.uploads == nullptr || deps_.shell == nullptr) return;
  bool started = false;
  for (const LocalEntry* row : selection()) {
    // The path comes from the item itself: the display name may lack a
    // hidden extension, and items off the disk have none.
    const std::string path = deps_.shell->pathOf(*row->item);
    if (path.empty()) continue;
    if (row->isFolder()) {
      deps_.uploads->uploadLocalFolder(path);
    } else {
      deps_.uploads->queueFile(path);
    }
    started = true;
  }
  if (started) deps_.uploads->noteUploadStarted(UploadLink::kNoticeHeight);
}

void LocalFileList::deleteSelected(bool toRecycleBin) {
  if (deps_.shell == nullptr) return;
  std::vector<std::string> paths;
  for (const LocalEntry* row : selection()) {
    std::string path = deps_.shell->pathOf(*row->item);
    if (!path.empty()) paths.push_back(std::move(path));
  }
  if (paths.empty()) return;
  deps_.shell->remove(paths, toRecycleBin);
  if (deps_.host != nullptr) {
    deps_.host->refreshTree();
  } else {
    showFolder(folder_);
  }
}

void LocalFileList::dropForUpload(bool overUploadList, bool insideWebList) {
  bool target = overUploadList;
  if (!target && insideWebList) {
    const bool ownListShown =
        deps_.mainWindow == nullptr || deps_.mainWindow->rightPaneMode() == RightPaneMode::OwnList;
    const bool ownListing = deps_.storage == nullptr || deps_.storage->ownListing();
    target = ownListShown && ownListing;
  }
  if (target) uploadSelected();
}

}  // namespace pom
