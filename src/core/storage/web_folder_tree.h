// WebFolderTree: the rules of the web-folder tree, the left pane with the
// member's own folders ("내웹폴더") and friends ("내친구") with theirs.
//
// Nodes are kept here (kind, owner, folder id, label, place); the view only
// mirrors them. Selecting a node opens it: its listing goes out through
// FolderListings and the file list shows it; when an own or friend listing
// is complete its sub-folder nodes are rebuilt from the listing. `current` is
// the node commands act on (selected, right-clicked or expanded);
// `opened` the node last opened, which refresh opens again and a selection
// is compared with. Folder commands act only on the member's own folders;
// friend commands only on friend nodes. No pointer to a removed node
// survives its removal.
//
// Owned by the web storage module; loop thread only.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/hub/main_pane.h"
#include "core/net/messages/records.h"
#include "core/storage/storage_commands.h"
#include "core/ui/pane_layout.h"
#include "core/ui/skin_button.h"

namespace pom {

class ConfigStore;
class Dialogs;
class DownloadLink;
class LocalBrowserLink;
class FolderListings;
class FriendAddDialog;
class MainWindowLink;
class MemoDialog;
class ProgressDialog;
class SessionLink;
class UploadLink;
class WebFileList;

enum class WebNodeKind : std::uint8_t {
  Root = 0,
  Friends = 1,
  OwnRoot = 2,
  Friend = 3,
  OwnFolder = 4,
  FriendFolder = 5,
};

using WebNodeId = int;  // 0: no node

class WebTreeView {
 public:
  virtual ~WebTreeView() = default;
  // Appends a node below parent (0: at the top).
  virtual void insertNode(WebNodeId id, WebNodeId parent, WebNodeKind kind,
                          const std::string& label) = 0;
  // Removes a node with everything below it.
  virtual void removeNode(WebNodeId id) = 0;
  virtual void setLabel(WebNodeId id, const std::string& label) = 0;
  // Selects a node; the view reports the change (onSelectionChanged) or not.
  virtual void selectNode(WebNodeId id) = 0;
  virtual void expandNode(WebNodeId id) = 0;
  virtual WebTreeCommand trackMenu(WebMenu menu) = 0;
  virtual void place(const PaneRect& rect) = 0;
  virtual void setVisible(bool visible) = 0;
};

class WebFolderTree final : public MainPane {
 public:
  struct Deps {
    WebTreeView* view = nullptr;
    SessionLink* session = nullptr;
    MainWindowLink* mainWindow = nullptr;
    DownloadLink* downloads = nullptr;
    LocalBrowserLink* local = nullptr;  // the folder a drop on the local list goes to
    UploadLink* uploads = nullptr;
    Dialogs* dialogs = nullptr;
    ConfigStore* config = nullptr;
    FolderListings* listings = nullptr;
    WebFileList* list = nullptr;
    ProgressDialog* progress = nullptr;
    FriendAddDialog* friendAdd = nullptr;
    MemoDialog* memo = nullptr;
  };

  struct Node {
    WebNodeKind kind = WebNodeKind::Root;
    std::string ownerId;  // the friend, for friend nodes and their folders
    std::int32_t folderId = -1;
    std::string label;
    WebNodeId parent = 0;
    std::vector<WebNodeId> children;
  };

  explicit WebFolderTree(Deps deps);
  // The view, and the window's painter for the two fold buttons (either may
  // be null).
  void attachView(WebTreeView* view, SkinPainter* painter);

  // The three fixed nodes, then "내웹폴더" is selected, which lists it.
  void build();
  bool built() const { return root_ != 0; }

  // What the member did.
  void onSelectionChanged(WebNodeId node);
  void onExpanding(WebNodeId node);
  void onRightClick(WebNodeId node);
  void command(WebTreeCommand command);
  void key(WebKey key);

  // Opening and listing.
  void open(WebNodeId node);
  void refresh();
  void showOwnFolder(std::int32_t folderId);
  void showFriendFolder(std::int32_t folderId, const std::string& friendId);
  // Finds the node of a folder below the root (the file list's double click
  // and folder download) and opens it; with downloadAfter its files are
  // queued once its listing is complete, into a sub-folder named like it
  // below downloadInto (a local folder; empty: the download folder).
  void openFolder(std::int32_t folderId, const std::string& ownerId, bool downloadAfter,
                  const std::string& downloadInto);
  void selectParent();
  // Queues every file of the listed folder into a sub-folder named like it,
  // below `into` (a local folder; empty: the download folder).
  void downloadFolder(WebNodeId node, const std::string& into);
  // A dragged folder was released strictly inside the local file list: its
  // files go into a sub-folder of its name in the folder that list shows
  // (listed first when it is not the folder listed).
  void dropOnLocalList(WebNodeId dragged);

  // Friends.
  // The friend list: "내친구" is emptied and filled, then expanded.
  void friendListArrived(const std::vector<FriendRecord>& friends);
  void addFriend(const std::string& name, const std::string& friendId, const std::string& memo);
  void removeFriend(const std::string& friendId);
  void memoChanged();

  // Own folders.
  void removeFolder(std::int32_t folderId);
  void renameFolder(std::int32_t folderId, const std::string& name);

  // The connection was made anew.
  void forgetOpened() { opened_ = 0; }

  // No drag starts while a listing is being loaded.
  bool dragBlocked() const;
  const Node* node(WebNodeId id) const;
  WebNodeId current() const { return current_; }
  WebNodeId opened() const { return opened_; }
  WebNodeId ownRoot() const { return ownRoot_; }
  WebNodeId friends() const { return friends_; }
  // The node of a folder below `from` (depth first, `from` first).
  WebNodeId findFolder(WebNodeId from, std::int32_t folderId, const std::string* ownerId) const;
  // "폼베일/내웹폴더/a/b/" of a node, at most 1,024 bytes.
  std::string pathOf(WebNodeId id) const;

  // The fold buttons: the first hides the tree, the second shows it again.
  void fold(bool show);
  bool folded() const { return folded_; }

  // MainPane
  void setVisible(bool visible) override;
  void grow(int dw, int dh) override;
  void moveToSplit(int x, int y) override;
  void repaint() override;
  void mouseMove(int x, int y) override;
  void leftDown(int x, int y) override;
  void leftUp(int x, int y) override;

 private:
  WebNodeId insert(WebNodeId parent, WebNodeKind kind, const std::string& label,
                   std::int32_t folderId, const std::string& ownerId);
  void removeSubtree(WebNodeId id);
  void removeChildren(WebNodeId id);
  void selectAndOpen(WebNodeId id, bool downloadAfter, const std::string& downloadInto = "");
  // The tree's download of a node: at once when it is the folder listed,
  // else after its listing.
  void download(WebNodeId id, const std::string& into);
  void showListed(WebNodeId node, WebNodeKind childKind, const std::string& ownerId);
  bool ownFolderCommand() const;  // current is an own folder with id 3 or more
  void setSharing(char state);
  void deleteFolder();
  void extendTerm();
  void placeButtons();

  Deps deps_;
  PaneLayout layout_;
  std::map<WebNodeId, Node> nodes_;
  WebNodeId nextId_ = 1;
  WebNodeId root_ = 0, ownRoot_ = 0, friends_ = 0;
  WebNodeId current_ = 0;
  WebNodeId opened_ = 0;
  bool downloadAfterNext_ = false;
  std::string downloadIntoNext_;  // where the files of that listing go
  SkinButton foldButtons_[2];     // 274 (fold) and 275 (unfold)
  bool shown_ = false;
  bool folded_ = false;
};

// The label of a friend node: "name(memo)", or "name(메모입력)" without a
// memo; an empty name is "*****".
std::string friendLabel(const std::string& name, const std::string& memo);

}  // namespace pom
