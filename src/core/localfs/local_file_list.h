// LocalFileList: the presenter of the local file list (control 4001): the
// items of the folder shown, their texts and order, and what the member's
// commands do with them (open, rename, delete, upload, the shell menu). The
// view is an owner-data list: it keeps only the row count and asks for the
// texts of the rows it paints.
//
// Owned by the local browser module; the view and the shell come after it
// is made and may be null (no front end). Loop thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/localfs/local_pane.h"
#include "core/localfs/local_shell.h"
#include "core/localfs/local_sort.h"

namespace pom {

class MainWindowLink;
class StorageLink;
class UploadLink;

inline constexpr int kLocalTreeId = 4000;
inline constexpr int kLocalListId = 4001;
// The entry the browser adds on top of the shell's context menu.
inline constexpr int kUploadMenuCommand = 65535;

// What a command of the shell's context menu means to the browser, by its
// language-independent verb (its number differs between shell versions).
enum class LocalMenuAction {
  Upload,             // the added "업로드하기(&F)"
  EditLabel,          // "rename": the list's own label edit
  InvokeThenRefresh,  // "delete", "cut", "paste", "link": the shell acts, the tree is read again
  Invoke,             // anything else: the shell acts
};
LocalMenuAction localMenuAction(int command, const std::string& verb);

// The keys of the list.
enum class LocalKey { Refresh, Delete, DeleteForGood, SelectAll, Rename };

// The answer of the shell's context menu: nothing, the upload entry, or a
// shell command with its verb (the view keeps the menu until it runs it).
struct LocalMenuChoice {
  int command = 0;  // 0: none
  std::string verb;
};

class LocalFileListView : public LocalPaneView {
 public:
  // The number of rows changed, or all of them (a new folder or order).
  virtual void setRowCount(std::size_t rows) = 0;
  virtual void redrawRow(std::size_t row) = 0;
  virtual std::vector<std::size_t> selectedRows() = 0;
  virtual void selectAll() = 0;
  virtual void editLabel(std::size_t row) = 0;
  virtual void setCaption(const std::string& text) = 0;
  // Filling: mouse captured and the wait cursor (true), then released and
  // the arrow again (false).
  virtual void setBusy(bool busy) = 0;
  // The shell context menu for rows with "업로드하기(&F)" on top.
  virtual LocalMenuChoice trackMenu(const std::vector<std::size_t>& rows) = 0;
  // Runs the chosen shell command of the menu last tracked.
  virtual void runMenuCommand(const LocalMenuChoice& choice) = 0;
};

// The tree, as the list needs it.
class LocalListHost {
 public:
  virtual ~LocalListHost() = default;
  // Selects (and so shows) the child folder of the shown one.
  virtual void selectChild(const LocalItem& item) = 0;
  // Reads the selected tree folder again and shows it here.
  virtual void refreshTree() = 0;
};

class LocalFileList {
 public:
  struct Deps {
    LocalShell* shell = nullptr;
    LocalFileListView* view = nullptr;
    LocalListHost* host = nullptr;
    UploadLink* uploads = nullptr;
    MainWindowLink* mainWindow = nullptr;
    StorageLink* storage = nullptr;
  };
  explicit LocalFileList(Deps deps) : deps_(deps) {}

  void setShell(LocalShell* shell) { deps_.shell = shell; }
  void setView(LocalFileListView* view) { deps_.view = view; }
  void setHost(LocalListHost* host) { deps_.host = host; }

  // Fills the list with the folder's items, in the current order.
  void showFolder(const LocalItemPtr& folder);
  // The folder shown (its file-system path; empty: none or not on disk).
  const std::string& shownFolder() const { return shownPath_; }
  const LocalItemPtr& folder() const { return folder_; }

  std::size_t rowCount() const { return rows_.size(); }
  const LocalEntry* entry(std::size_t row) const;
  std::string cellText(std::size_t row, int column) const;
  int sortKey() const { return sortKey_; }

  // What the member did.
  void columnClick(int column);
  void doubleClick(std::size_t row);
  void key(LocalKey key);
  // The end of a label edit (nullopt: cancelled); the row keeps its old
  // name unless the shell renamed the item.
  void endLabelEdit(std::size_t row, const std::optional<std::string>& text);
  void rightClick();
  bool hasSelection() const;
  // Queues the selected files and folders for upload into the web folder
  // the own list shows.
  void uploadSelected();
  void deleteSelected(bool toRecycleBin);
  // A drag of the selection was released: over the upload window's list, or
  // strictly inside the web file list's rectangle. The rectangle counts only
  // while it shows the own list with an own listing (the result lists and a
  // friend's folder share it).
  void dropForUpload(bool overUploadList, bool insideWebList);

 private:
  std::vector<const LocalEntry*> selection() const;
  void sortRows();

  Deps deps_;
  LocalItemPtr folder_;
  std::string shownPath_;
  std::vector<LocalEntry> rows_;
  int sortKey_ = kNoSortKey;
};

// A name the member typed that renames in place: not empty, no path
// separator, no drive colon, not "." or "..".
bool acceptableLocalName(const std::string& name);

// The shell's path list: every path followed by one NUL, and one more at
// the end, however many and long they are.
template <typename Text>
Text doubleNulList(const std::vector<Text>& paths) {
  Text list;
  for (const Text& path : paths) {
    list += path;
    list.push_back(typename Text::value_type{});
  }
  list.push_back(typename Text::value_type{});
  return list;
}

}  // namespace pom
