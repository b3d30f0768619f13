// SearchResultList: the list of the hits of the last search (control 189,
// right pane 2), with its menu 189 and keys: download, the hit's folder,
// the name into the search edit, friend add, select all, web links and the
// combined link. Scrolling to its end asks the module for more hits.
//
// Filled only by the search (its hits stay until the next search or
// message). Owned by the search module; loop thread only.
#pragma once

#include <vector>

#include "core/search/search_hit.h"
#include "core/search/search_list_base.h"

namespace pom {

class SearchResultList final : public SearchListBase {
 public:
  enum Column { kNameColumn = 0, kSizeColumn = 1, kCodeColumn = 2, kKeepColumn = 3 };

  explicit SearchResultList(SearchListDeps deps) : SearchListBase(deps) {}

  // Empties the rows and the hits.
  void clear();
  // Appends hits and their rows.
  void storeHits(const std::vector<SearchHit>& hits);
  const std::vector<SearchHit>& hits() const { return hits_; }
  // The menu entries, in menu order.
  static const std::vector<SearchMenuItem>& menu();

  // SearchListInput
  void columnClick(int column) override;
  void key(SearchKey key) override;
  void rightClick() override;
  void command(SearchCommand command) override;
  void scrolledToEnd() override;

 protected:
  std::size_t recordCount() const override { return hits_.size(); }
  SearchRow rowOf(std::size_t index) const override;
  ListFile linkOf(std::size_t index) const override;
  void clearRecords() override { hits_.clear(); }
  std::vector<SearchColumn> columns() const override;

 private:
  void openFolder();
  void putInSearchBar();
  void addFriend();
  std::vector<ListFile> selectedLinks();
  void copyWebLinks();
  void requestCombinedLink();

  std::vector<SearchHit> hits_;
};

}  // namespace pom
