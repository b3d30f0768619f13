#include "core/search/search_list_base.h"

#include "core/base/text_utils.h"
#include "core/hub/local_browser_link.h"
#include "core/hub/transfer_links.h"

namespace pom {

int compareListTexts(const std::string& a, const std::string& b) {
  return lowerAscii(a).compare(lowerAscii(b));
}

SearchListBase::SearchListBase(SearchListDeps deps) : deps_(deps) {
  layout_.rect = {236, 118, 640, 248};
  layout_.side = PaneLayout::Side::Right;
  layout_.band = PaneLayout::Band::Upper;
}

void SearchListBase::attachView(SearchListView* view) {
  view_ = view;
  if (view_ == nullptr) return;
  view_->setColumns(columns());
  view_->setCaption(caption_);
  place();
  refill();
}

void SearchListBase::place() {
  if (view_ != nullptr) view_->place(layout_.rect);
}

void SearchListBase::showMessage(const std::string& text) {
  clearRecords();
  message_ = text;
  if (view_ != nullptr) view_->setRows({SearchRow{{text}, text}});
}

void SearchListBase::setCaption(const std::string& text) {
  caption_ = text;
  if (view_ != nullptr) view_->setCaption(text);
}

std::vector<std::size_t> SearchListBase::selection() {
  std::vector<std::size_t> rows;
  if (view_ == nullptr) return rows;
  const std::size_t records = recordCount();
  for (const int row : view_->selectedRows()) {
    if (row >= 0 && static_cast<std::size_t>(row) < records) rows.push_back(row);
  }
  return rows;
}

bool SearchListBase::firstSelected(std::size_t& index) {
  const std::vector<std::size_t> rows = selection();
  if (rows.empty()) return false;
  index = rows.front();
  return true;
}

void SearchListBase::downloadSelection() {
  downloadSelectionInto("");
}

void SearchListBase::downloadSelectionInto(const std::string& folder) {
  const std::vector<std::size_t> rows = selection();
  if (rows.empty() || deps_.downloads == nullptr) return;
  for (const std::size_t row : rows) {
    const ListFile file = linkOf(row);
    // The record's own name: the row's text may have been cut by the control.
    deps_.downloads->addDownloadTo(file.fileId, file.name, file.sizeBytes, folder, "");
  }
  deps_.downloads->autoStart();
}

void SearchListBase::doubleClick() {
  downloadSelection();
}

void SearchListBase::dropReleased(SearchDropTarget target) {
  // The download window's list takes the files into the download folder,
  // the local file list into the folder it shows.
  if (target == SearchDropTarget::DownloadList) downloadSelection();
  if (target == SearchDropTarget::LocalList)
    downloadSelectionInto(deps_.local != nullptr ? deps_.local->shownFolder() : "");
}

void SearchListBase::refill() {
  message_.clear();
  if (view_ == nullptr) return;
  std::vector<SearchRow> rows;
  rows.reserve(recordCount());
  for (std::size_t i = 0; i < recordCount(); ++i) rows.push_back(rowOf(i));
  view_->setRows(rows);
}

void SearchListBase::appendRows(std::size_t from) {
  if (!message_.empty()) {
    // The message row goes: it has no record, and rows follow records.
    refill();
    return;
  }
  if (view_ == nullptr) return;
  std::vector<SearchRow> rows;
  for (std::size_t i = from; i < recordCount(); ++i) rows.push_back(rowOf(i));
  if (!rows.empty()) view_->appendRows(rows);
}

SearchSort SearchListBase::nextSort(int column) {
  sort_.column = column;
  const SearchSort used = sort_;
  sort_.flag = !sort_.flag;
  return used;
}

void SearchListBase::selectAll() {
  if (view_ != nullptr) view_->selectAllAndFocus();
}

void SearchListBase::addFriend(const std::string& ownerId) {
  if (deps_.storage != nullptr && !ownerId.empty()) deps_.storage->openFriendAdd(ownerId);
}

void SearchListBase::setVisible(bool visible) {
  if (view_ != nullptr) view_->setVisible(visible);
  place();
}

void SearchListBase::grow(int dw, int dh) {
  layout_.grow(dw, dh);
  place();
}

void SearchListBase::moveToSplit(int x, int y) {
  layout_.moveToSplit(x, y);
  place();
}

}  // namespace pom
