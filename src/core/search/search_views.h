// The search subsystem as its presenters see the front end: the search bar
// of the main window, the search-result list (control 189, right pane 2) and
// the folder-content list (control 192, right pane 3), and SearchViews, which
// the search module asks for them.
//
// The views only draw and report: every text (rows, captions, column titles,
// menu entries) comes from the core. Rows are addressed by their index in
// the list; the presenter keeps row i in step with its record i (a message
// row has no record). Texts are CP949. Loop thread only.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/search/search_hit.h"
#include "core/ui/view_types.h"

namespace pom {

// The search bar drawn by the main window: the radios "자연어검색" (id 3506)
// and "일반검색" (3507) and the edit. Enter and the search button already reach
// SearchLink::runSearch through the main window.
class SearchBarView {
 public:
  virtual ~SearchBarView() = default;
  // The edit's text, at most 63 bytes.
  virtual std::string editText() = 0;
  virtual SearchKind selectedKind() = 0;
  virtual void setEditText(const std::string& text) = 0;
  virtual void focusEdit() = 0;
};

// The command ids of menus 189 and 192.
enum class SearchCommand {
  None = 0,
  FolderDownload = 40016,   // 192: download the selected rows
  FolderContents = 40027,   // 189: open the first selected hit's folder
  Download = 40028,         // 189: download the selected hits
  FriendAdd = 40029,        // 189 and 192: add the sharer as a friend
  PutInSearchBar = 40034,   // 189: the first selected hit's name into the edit
  SelectAll = 40039,        // 189
  FolderSelectAll = 40040,  // 192
  WebLink = 40045,          // 189: web links of the selected hits
  CombinedLink = 40048,     // 189: a combined link of the selected hits
};

// One menu entry, in menu order.
struct SearchMenuItem {
  SearchCommand command = SearchCommand::None;
  const char* text = "";
};

// The keys the two lists take (the view maps the platform's keys).
enum class SearchKey { CtrlA, CtrlF, CtrlI, CtrlV, CtrlW };

// Where a drag of rows was released.
enum class SearchDropTarget { Elsewhere, DownloadList, LocalList };

// One column of a list: its title and width in pixels (0: hidden).
struct SearchColumn {
  const char* title = "";
  int width = 0;
};

// One row: the text of each column, and the name whose system icon the
// first column shows (the file name; for a message row the message).
struct SearchRow {
  std::vector<std::string> texts;
  std::string iconName;
};

// What the member does in either list; both presenters implement it.
class SearchListInput {
 public:
  virtual ~SearchListInput() = default;
  virtual void columnClick(int column) = 0;
  virtual void doubleClick() = 0;
  virtual void key(SearchKey key) = 0;
  // A right click anywhere in the list: the presenter tracks its menu
  // through the view and carries out the command chosen.
  virtual void rightClick() = 0;
  virtual void command(SearchCommand command) = 0;
  // A drag of the selected rows was released.
  virtual void dropReleased(SearchDropTarget target) = 0;
  // The last row came into view (the member scrolled to the end).
  virtual void scrolledToEnd() = 0;
};

// The operations of a report list the presenters drive. Created hidden; the
// header bitmap 212, the caption static (initially "내웹폴더") and the two
// group frames follow the list's rectangle.
class SearchListView {
 public:
  virtual ~SearchListView() = default;
  // The columns, once, right after creation.
  virtual void setColumns(const std::vector<SearchColumn>& columns) = 0;
  // Replaces all rows; appendRows adds rows at the end, keeping the scroll.
  virtual void setRows(const std::vector<SearchRow>& rows) = 0;
  virtual void appendRows(const std::vector<SearchRow>& rows) = 0;
  virtual void setCaption(const std::string& text) = 0;
  // The selected rows' indexes, in row order.
  virtual std::vector<int> selectedRows() = 0;
  virtual void selectAllAndFocus() = 0;
  // Tracks a menu at the cursor; the command chosen (None when none).
  virtual SearchCommand trackMenu(const std::vector<SearchMenuItem>& items) = 0;
  virtual void place(const PaneRect& rect) = 0;
  virtual void setVisible(bool visible) = 0;
};

// List 189 (pane 2) and list 192 (pane 3).
class SearchResultListView : public SearchListView {};
class FolderContentListView : public SearchListView {};

// A front end without windows keeps the defaults: no views at all.
class SearchViews {
 public:
  static constexpr char kLinkName[] = "SearchViews";
  virtual ~SearchViews() = default;
  // The main window's search bar (null before the main window exists or
  // without windows). The search module asks for it at each search.
  virtual SearchBarView* searchBarView() { return nullptr; }
  virtual std::unique_ptr<SearchResultListView> createSearchResultListView(
      SearchListInput& presenter) {
    return nullptr;
  }
  virtual std::unique_ptr<FolderContentListView> createFolderContentListView(
      SearchListInput& presenter) {
    return nullptr;
  }
};

}  // namespace pom
