// WebFileList: the rules of the web file list, the report list of the main
// window's right pane (mode 1) that shows one web folder, the member's own
// or a friend's.
//
// It holds the folder's records (only those of the folder shown, so a row
// and its record always agree; rows are found by item id), formats and sorts
// them, and carries the item commands: download, web and combined links,
// sharing, new folder, delete, rename, cut and paste, refresh, term
// extension. Every command sends one request and changes the display only
// when the reply arrives. Sharing changes and deletes wait in queues and go
// out one at a time; a queue advances when its head is answered. Commands
// that change the service act only in the member's own listing.
//
// Owned by the web storage module; loop thread only. Message boxes may pump
// messages: what a command acts on is taken before it asks.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/hub/main_pane.h"
#include "core/storage/web_file_list_view.h"
#include "core/storage/web_item.h"
#include "core/storage/web_links.h"
#include "core/ui/pane_layout.h"
#include "core/ui/skin_button.h"

namespace pom {

class ConfigStore;
class Dialogs;
class DownloadLink;
class LocalBrowserLink;
class EventLoop;
class MemoDialog;
class ProgressDialog;
class Servers;
class SessionLink;
class Shell;
class UploadLink;

// The name and request of a new folder in a listing: "새폴더", or
// "새폴더(n)" for the first n that no record of the listing bears, with the
// sharing state the settings give.
std::string newFolderName(const std::vector<WebItem>& listing);
Bytes newFolderRequest(const std::vector<WebItem>& listing, std::int32_t parentId,
                       const ConfigStore& config);

class WebFileList final : public MainPane {
 public:
  struct Deps {
    WebFileListView* view = nullptr;
    WebFileListHost* host = nullptr;
    SessionLink* session = nullptr;
    DownloadLink* downloads = nullptr;
    LocalBrowserLink* local = nullptr;  // the folder a drop on the local list goes to
    UploadLink* uploads = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    ConfigStore* config = nullptr;
    EventLoop* loop = nullptr;
    const Servers* servers = nullptr;
    ProgressDialog* progress = nullptr;
    MemoDialog* memo = nullptr;
  };

  static constexpr std::uint32_t kMovePaceMs = 50;

  explicit WebFileList(Deps deps);
  ~WebFileList() override;
  // The view, and the window's painter for the up button (either may be null).
  void attachView(WebFileListView* view, SkinPainter* painter);

  // The listing of a folder starts: the list empties. Only the member's own
  // listings take commands that change the service.
  void beginListing(std::int32_t folderId, const std::string& friendId);
  // A page: the records of the folder being listed, each shown at once.
  void appendEntries(const std::vector<FolderEntry>& entries);
  // The listing is complete (or the folder changed): sort and refill.
  void showFolder(std::int32_t folderId);
  void setCaption(const std::string& caption);

  // Answers of the server.
  void addItem(const WebItem& item);  // a new folder or file, if it is of the folder shown
  void updateItem(const ItemSizeUpdate& update);
  void shareConfirmed(std::int32_t itemId, char state);
  void shareFailed(std::int32_t itemId);
  void deleteConfirmed(std::int32_t itemId, bool deleted);
  // The combined link's code: builds the text and puts it on the clipboard;
  // true when the clipboard took it.
  bool pasteCombinedLink(const std::string& code);
  // The server refused the oldest combined link still awaited.
  void combinedLinkFailed();
  // The connection was made anew: what the queues waited for will not come.
  void clearQueues();
  // Opens the name of a row for editing (F2 in the tree, a new folder).
  void editLabel(std::int32_t itemId);

  // What the member did.
  void command(WebListCommand command);
  void key(WebKey key);
  void doubleClick();
  void rightClick(bool onRow);
  void columnClick(int column);
  // The end of a label edit; nothing when the edit was cancelled.
  void endLabelEdit(std::int32_t itemId, const std::optional<std::string>& text);
  // A drag of the selection was released; onTarget: over the download list.
  // A single folder is opened and downloaded wherever it is released; files
  // only on a target.
  void dropForDownload(bool onTarget);
  // Released strictly inside the local file list: the files (or the one
  // folder's files) go into the local folder that list shows.
  void dropOnLocalList();

  // The web links of rows onto the clipboard; a combined link of rows
  // (the title is asked first). The search lists use them too.
  void copyWebLinks(const std::vector<LinkRow>& rows);
  void requestCombinedLink(const std::vector<LinkRow>& rows);

  // A row is selected.
  bool hasSelection();
  const std::vector<WebItem>& items() const { return items_; }
  const WebItem* find(std::int32_t itemId) const;
  std::int32_t folder() const { return folder_; }
  bool ownListing() const { return friendId_.empty(); }
  const std::string& friendId() const { return friendId_; }
  const WebSort& sort() const { return sort_; }
  std::size_t pendingShares() const { return shares_.size(); }
  std::size_t pendingDeletes() const { return deletes_.size(); }
  std::size_t cutCount() const { return cut_.size(); }

  // MainPane
  void setVisible(bool visible) override;
  void grow(int dw, int dh) override;
  void moveToSplit(int x, int y) override;
  void repaint() override;
  void mouseMove(int x, int y) override;
  void leftDown(int x, int y) override;
  void leftUp(int x, int y) override;

 private:
  struct Pending {
    bool folder = false;
    std::int32_t itemId = 0;
    std::int32_t parentId = 0;
    char state = 0;
  };

  WebItem* findItem(std::int32_t itemId);
  std::vector<const WebItem*> selection();
  void appendRow(const WebItem& item, bool refilled);
  void refill();
  // Files into `into` (a local folder; empty: the download folder); one
  // folder alone is opened and its files follow its listing.
  void download(const std::vector<const WebItem*>& rows, const std::string& into);
  void setSharing(char state);
  void sendShare();
  void remove();
  void sendDelete();
  void rename();
  void cut();
  void paste();
  void moveNext();
  void newFolder();
  std::vector<LinkRow> selectedLinkRows();
  void extendTerm();
  void info(const std::string& text, const std::string& caption);
  void place();

  Deps deps_;
  PaneLayout layout_;
  std::vector<WebItem> items_;
  std::int32_t folder_ = 0;
  std::string friendId_;
  WebSort sort_;
  std::deque<Pending> shares_;
  std::deque<Pending> deletes_;
  std::vector<Pending> cut_;
  std::deque<Pending> moves_;
  std::int32_t moveTarget_ = 0;
  std::uint32_t moveTimer_ = 0;
  std::deque<std::string> combinedTitles_;
  SkinButton upButton_;  // 196, to the parent folder
  bool shown_ = false;
};

}  // namespace pom
