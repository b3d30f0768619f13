// FolderContentList: the files of another member's folder opened from a
// search hit (control 192, right pane 3), with its menu 192 and keys:
// download, select all, and friend add of the folder's owner.
//
// Emptied when a folder is opened and refilled by the folder-content reply.
// Owned by the search module; loop thread only.
#pragma once

#include <string>
#include <vector>

#include "core/search/search_hit.h"
#include "core/search/search_list_base.h"

namespace pom {

inline constexpr char kEmptyFolderMessage[] = "폴더에 파일이 존재 하지 않습니다.";

class FolderContentList final : public SearchListBase {
 public:
  enum Column { kNameColumn = 0, kSizeColumn = 1, kKeepColumn = 2 };

  explicit FolderContentList(SearchListDeps deps) : SearchListBase(deps) {}

  // A folder is opened: its items go, and ownerId is the member whose
  // folder the list will show (the friend command adds that member).
  void beginFolder(const std::string& ownerId);
  // The reply's items replace the rows.
  void setItems(const std::vector<FolderContentItem>& items);
  const std::vector<FolderContentItem>& items() const { return items_; }
  const std::string& owner() const { return owner_; }
  static const std::vector<SearchMenuItem>& menu();

  // SearchListInput
  void columnClick(int column) override;
  void key(SearchKey key) override;
  void rightClick() override;
  void command(SearchCommand command) override;

 protected:
  std::size_t recordCount() const override { return items_.size(); }
  SearchRow rowOf(std::size_t index) const override;
  ListFile linkOf(std::size_t index) const override;
  void clearRecords() override { items_.clear(); }
  std::vector<SearchColumn> columns() const override;

 private:
  std::vector<FolderContentItem> items_;
  std::string owner_;
};

}  // namespace pom
