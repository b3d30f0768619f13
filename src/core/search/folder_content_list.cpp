#include "core/search/folder_content_list.h"

#include <algorithm>

#include "core/base/text_utils.h"

namespace pom {

namespace {

bool itemBefore(const FolderContentItem& a, const FolderContentItem& b, const SearchSort& sort) {
  switch (sort.column) {
    case FolderContentList::kNameColumn: {
      const int order = compareListTexts(a.name, b.name);
      return sort.flag ? order > 0 : order < 0;
    }
    case FolderContentList::kSizeColumn:
      return sort.flag ? a.sizeBytes < b.sizeBytes : a.sizeBytes > b.sizeBytes;
    case FolderContentList::kKeepColumn:
      return sort.flag ? a.keepDays < b.keepDays : a.keepDays > b.keepDays;
    default:
      return false;
  }
}

}  // namespace

const std::vector<SearchMenuItem>& FolderContentList::menu() {
  static const std::vector<SearchMenuItem> items = {
      {SearchCommand::FolderDownload, "다운로드(Ctrl+V)"},
      {SearchCommand::FolderSelectAll, "전체선택(Ctrl+A)"},
      {SearchCommand::FriendAdd, "친구추가하기"},
  };
  return items;
}

std::vector<SearchColumn> FolderContentList::columns() const {
  return {{"폴더내용 [파일이름]", 500}, {"파일크기", 70}, {"보관일", 50}};
}

SearchRow FolderContentList::rowOf(std::size_t index) const {
  const FolderContentItem& item = items_[index];
  return {{item.name, formatSize(item.sizeBytes), keepDaysText(item.keepDays)}, item.name};
}

ListFile FolderContentList::linkOf(std::size_t index) const {
  const FolderContentItem& item = items_[index];
  return {item.fileId, item.name, item.sizeBytes};
}

void FolderContentList::beginFolder(const std::string& ownerId) {
  owner_ = ownerId;
  items_.clear();
}

void FolderContentList::setItems(const std::vector<FolderContentItem>& items) {
  items_ = items;
  refill();
}

void FolderContentList::columnClick(int column) {
  const SearchSort sort = nextSort(column);
  std::stable_sort(items_.begin(), items_.end(),
                   [&sort](const FolderContentItem& a, const FolderContentItem& b) {
                     return itemBefore(a, b, sort);
                   });
  refill();
}

void FolderContentList::key(SearchKey key) {
  if (key == SearchKey::CtrlV) command(SearchCommand::FolderDownload);
  if (key == SearchKey::CtrlA) command(SearchCommand::FolderSelectAll);
}

void FolderContentList::rightClick() {
  if (view() != nullptr) command(view()->trackMenu(menu()));
}

void FolderContentList::command(SearchCommand command) {
  switch (command) {
    case SearchCommand::FolderDownload:
      return downloadSelection();
    case SearchCommand::FolderSelectAll:
      return selectAll();
    case SearchCommand::FriendAdd: {
      // The member whose folder is shown, not a hit of the result list.
      std::size_t index = 0;
      if (firstSelected(index)) {
        const std::string owner = items_[index].ownerId.empty() ? owner_ : items_[index].ownerId;
        addFriend(owner);
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace pom
