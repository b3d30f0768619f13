#include "core/search/search_result_list.h"

#include <algorithm>

#include "core/base/text_utils.h"

namespace pom {

namespace {

bool hitBefore(const SearchHit& a, const SearchHit& b, const SearchSort& sort) {
  const auto byText = [&sort](const std::string& x, const std::string& y) {
    const int order = compareListTexts(x, y);
    return sort.flag ? order > 0 : order < 0;
  };
  switch (sort.column) {
    case SearchResultList::kNameColumn:
      return byText(a.name, b.name);
    case SearchResultList::kSizeColumn:
      return sort.flag ? a.sizeBytes < b.sizeBytes : a.sizeBytes > b.sizeBytes;
    case SearchResultList::kCodeColumn:
      return byText(a.uniqueCode, b.uniqueCode);
    case SearchResultList::kKeepColumn:
      return byText(a.keepText, b.keepText);
    default:
      return false;
  }
}

}  // namespace

const std::vector<SearchMenuItem>& SearchResultList::menu() {
  static const std::vector<SearchMenuItem> items = {
      {SearchCommand::Download, "다운로드(Ctrl+V)"},
      {SearchCommand::FolderContents, "폴더내용보기(Ctrl+F)"},
      {SearchCommand::PutInSearchBar, "검색창에 넣기"},
      {SearchCommand::FriendAdd, "친구추가하기(Ctrl+I)"},
      {SearchCommand::SelectAll, "전체선택(Ctrl+A)"},
      {SearchCommand::WebLink, "웹링크복사(Ctrl+W)"},
      {SearchCommand::CombinedLink, "통합링크복사"},
  };
  return items;
}

std::vector<SearchColumn> SearchResultList::columns() const {
  return {{"검색결과 [파일이름]", 405}, {"파일크기", 70}, {"파일고유값", 0}, {"보관일", 150}};
}

SearchRow SearchResultList::rowOf(std::size_t index) const {
  const SearchHit& hit = hits_[index];
  return {{hit.name, formatSize(hit.sizeBytes), hit.uniqueCode, hit.keepText}, hit.name};
}

ListFile SearchResultList::linkOf(std::size_t index) const {
  const SearchHit& hit = hits_[index];
  return {hit.fileId, hit.name, hit.sizeBytes};
}

void SearchResultList::clear() {
  hits_.clear();
  refill();
}

void SearchResultList::storeHits(const std::vector<SearchHit>& hits) {
  const std::size_t from = hits_.size();
  hits_.insert(hits_.end(), hits.begin(), hits.end());
  appendRows(from);
}

void SearchResultList::columnClick(int column) {
  const SearchSort sort = nextSort(column);
  std::stable_sort(hits_.begin(), hits_.end(), [&sort](const SearchHit& a, const SearchHit& b) {
    return hitBefore(a, b, sort);
  });
  refill();
}

void SearchResultList::key(SearchKey key) {
  switch (key) {
    case SearchKey::CtrlV:
      return command(SearchCommand::Download);
    case SearchKey::CtrlF:
      return command(SearchCommand::FolderContents);
    case SearchKey::CtrlI:
      return command(SearchCommand::FriendAdd);
    case SearchKey::CtrlA:
      return command(SearchCommand::SelectAll);
    case SearchKey::CtrlW:
      return command(SearchCommand::WebLink);
  }
}

void SearchResultList::rightClick() {
  if (view() != nullptr) command(view()->trackMenu(menu()));
}

void SearchResultList::command(SearchCommand command) {
  switch (command) {
    case SearchCommand::Download:
      return downloadSelection();
    case SearchCommand::FolderContents:
      return openFolder();
    case SearchCommand::PutInSearchBar:
      return putInSearchBar();
    case SearchCommand::FriendAdd:
      return addFriend();
    case SearchCommand::SelectAll:
      return selectAll();
    case SearchCommand::WebLink:
      return copyWebLinks();
    case SearchCommand::CombinedLink:
      return requestCombinedLink();
    default:
      return;
  }
}

void SearchResultList::scrolledToEnd() {
  if (!hits_.empty() && message().empty() && deps_.host != nullptr) deps_.host->searchMore();
}

void SearchResultList::openFolder() {
  std::size_t index = 0;
  if (!firstSelected(index) || deps_.host == nullptr) return;
  const SearchHit hit = hits_[index];
  deps_.host->openFolder(hit.ownerId, hit.folderKey, hit.name);
}

void SearchResultList::putInSearchBar() {
  std::size_t index = 0;
  if (firstSelected(index) && deps_.host != nullptr) deps_.host->putInSearchBar(hits_[index].name);
}

void SearchResultList::addFriend() {
  std::size_t index = 0;
  // The owner is copied: the dialog pumps messages and a search may refill.
  if (firstSelected(index)) SearchListBase::addFriend(std::string(hits_[index].ownerId));
}

std::vector<ListFile> SearchResultList::selectedLinks() {
  std::vector<ListFile> rows;
  for (const std::size_t index : selection()) rows.push_back(linkOf(index));
  return rows;
}

void SearchResultList::copyWebLinks() {
  const std::vector<ListFile> rows = selectedLinks();
  if (!rows.empty() && deps_.storage != nullptr) deps_.storage->copyWebLinks(rows);
}

void SearchResultList::requestCombinedLink() {
  // The hits are taken before the title is asked: the dialog pumps messages.
  const std::vector<ListFile> rows = selectedLinks();
  if (!rows.empty() && deps_.storage != nullptr) deps_.storage->requestCombinedLink(rows);
}

}  // namespace pom
