// SearchListBase: what the search-result list and the folder-content list
// share: their place in the right pane, the view, the rows (records or one
// message row), the selection checked against the records, the downloads
// (command, double click, drop) and the sort direction.
//
// Row i shows record i; a message row replaces every row and has no record
// behind it, so no command ever acts on it. Owned by the search module; loop
// thread only. Message boxes may pump messages: what a command acts on is
// taken before it asks.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/hub/main_pane.h"
#include "core/hub/storage_link.h"
#include "core/search/search_views.h"
#include "core/ui/pane_layout.h"

namespace pom {

class DownloadLink;
class LocalBrowserLink;
class SessionLink;

// A record as the downloads and the link builders take it.
using ListFile = StorageLink::LinkedFile;

// The order of the lists' text columns: ASCII letters without case, other
// bytes (the CP949 text) as they stand; negative, zero or positive.
int compareListTexts(const std::string& a, const std::string& b);

// What the lists ask of the rest of the search (the module).
class SearchListHost {
 public:
  virtual ~SearchListHost() = default;
  // Opens another member's folder in the folder-content list (pane 3).
  virtual void openFolder(const std::string& ownerId, std::int32_t folderKey,
                          const std::string& title) = 0;
  // Puts a text into the search edit.
  virtual void putInSearchBar(const std::string& text) = 0;
  // The next page of the last search, appended to the result list.
  virtual bool searchMore() = 0;
};

struct SearchListDeps {
  SearchListHost* host = nullptr;
  DownloadLink* downloads = nullptr;
  LocalBrowserLink* local = nullptr;  // the folder a drop on the local list goes to
  SessionLink* session = nullptr;
  // The friend-add dialog, the web and combined links.
  StorageLink* storage = nullptr;
};

// The sort state of one list: the column clicked last and the flag that is
// inverted after every sort (both clear at first).
struct SearchSort {
  int column = 0;
  bool flag = false;
};

class SearchListBase : public MainPane, public SearchListInput {
 public:
  explicit SearchListBase(SearchListDeps deps);

  void attachView(SearchListView* view);
  SearchListView* view() const { return view_; }

  // One message row in place of every row and record.
  void showMessage(const std::string& text);
  void setCaption(const std::string& text);
  const std::string& caption() const { return caption_; }
  // The message row shown, empty when the rows are records.
  const std::string& message() const { return message_; }
  const SearchSort& sort() const { return sort_; }

  // SearchListInput (the rest is each list's own)
  void doubleClick() override;
  void dropReleased(SearchDropTarget target) override;
  void scrolledToEnd() override {}

  // MainPane
  void setVisible(bool visible) override;
  void grow(int dw, int dh) override;
  void moveToSplit(int x, int y) override;

 protected:
  virtual std::size_t recordCount() const = 0;
  virtual SearchRow rowOf(std::size_t index) const = 0;
  virtual ListFile linkOf(std::size_t index) const = 0;
  virtual void clearRecords() = 0;
  virtual std::vector<SearchColumn> columns() const = 0;

  // The selected rows that have a record, in row order.
  std::vector<std::size_t> selection();
  // The first of them, or false.
  bool firstSelected(std::size_t& index);
  // Queues the selected records' files (into the download folder, or into
  // the local folder given) and applies the auto-start rule.
  void downloadSelection();
  void downloadSelectionInto(const std::string& folder);
  // Shows every record again (after a sort, a new set).
  void refill();
  // Shows the records from index `from` on below the rows already shown.
  void appendRows(std::size_t from);
  // The next sort of a column: which it is and the flag to sort with; the
  // flag is inverted for the click after.
  SearchSort nextSort(int column);
  void selectAll();
  void addFriend(const std::string& ownerId);

  SearchListDeps deps_;

 private:
  void place();

  SearchListView* view_ = nullptr;
  PaneLayout layout_;
  std::string caption_ = "내웹폴더";
  std::string message_;
  SearchSort sort_;
};

}  // namespace pom
