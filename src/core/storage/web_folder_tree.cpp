#include "core/storage/web_folder_tree.h"

#include <algorithm>

#include "core/base/text_utils.h"
#include "core/hub/local_browser_link.h"
#include "core/hub/main_window_link.h"
#include "core/hub/session_link.h"
#include "core/hub/transfer_links.h"
#include "core/net/messages/requests.h"
#include "core/ports/dialogs.h"
#include "core/storage/folder_listings.h"
#include "core/storage/progress_dialog.h"
#include "core/storage/storage_dialogs.h"
#include "core/storage/web_file_list.h"

namespace pom {
namespace {

constexpr std::size_t kPathBytes = 1024;
constexpr int kFoldBitmap = 274;
constexpr int kUnfoldBitmap = 275;

}  // namespace

std::string friendLabel(const std::string& name, const std::string& memo) {
  const std::string shown = name.empty() ? "*****" : name;
  return shown + "(" + (memo.empty() ? std::string("메모입력") : memo) + ")";
}

WebFolderTree::WebFolderTree(Deps deps) : deps_(std::move(deps)) {
  layout_.rect = {5, 118, 223, 248};
  layout_.side = PaneLayout::Side::Left;
  layout_.band = PaneLayout::Band::Upper;
}

void WebFolderTree::attachView(WebTreeView* view, SkinPainter* painter) {
  deps_.view = view;
  if (view != nullptr) view->place(layout_.rect);
  if (painter != nullptr) {
    foldButtons_[0].load(0, 0, painter, kFoldBitmap);
    foldButtons_[1].load(0, 0, painter, kUnfoldBitmap);
  } else {
    for (SkinButton& button : foldButtons_) button.destroy();
  }
  placeButtons();
}

void WebFolderTree::placeButtons() {
  const PaneRect& r = layout_.rect;
  for (SkinButton& button : foldButtons_) button.setPosition(r.x + r.width - 18, r.y - 21);
  // Only the button that applies is there; neither before the layout shows.
  foldButtons_[0].setEnabled(shown_ && !folded_);
  foldButtons_[1].setEnabled(shown_ && folded_);
}

bool WebFolderTree::dragBlocked() const {
  return deps_.progress->isOpen();
}

const WebFolderTree::Node* WebFolderTree::node(WebNodeId id) const {
  const auto found = nodes_.find(id);
  return found == nodes_.end() ? nullptr : &found->second;
}

WebNodeId WebFolderTree::insert(WebNodeId parent, WebNodeKind kind, const std::string& label,
                                std::int32_t folderId, const std::string& ownerId) {
  const WebNodeId id = nextId_++;
  Node& made = nodes_[id];
  made.kind = kind;
  made.ownerId = ownerId;
  made.folderId = folderId;
  made.label = label;
  made.parent = parent;
  if (parent != 0) nodes_[parent].children.push_back(id);
  if (deps_.view != nullptr) deps_.view->insertNode(id, parent, kind, label);
  return id;
}

void WebFolderTree::removeChildren(WebNodeId id) {
  const auto found = nodes_.find(id);
  if (found == nodes_.end()) return;
  const std::vector<WebNodeId> children = found->second.children;
  for (WebNodeId child : children) removeSubtree(child);
}

void WebFolderTree::removeSubtree(WebNodeId id) {
  const auto found = nodes_.find(id);
  if (found == nodes_.end()) return;
  const WebNodeId parent = found->second.parent;
  const std::vector<WebNodeId> children = found->second.children;
  if (deps_.view != nullptr) deps_.view->removeNode(id);  // the view drops the subtree
  // Forget the subtree without telling the view again.
  std::vector<WebNodeId> stack = children;
  while (!stack.empty()) {
    const WebNodeId below = stack.back();
    stack.pop_back();
    const auto node = nodes_.find(below);
    if (node == nodes_.end()) continue;
    stack.insert(stack.end(), node->second.children.begin(), node->second.children.end());
    if (current_ == below) current_ = parent;
    if (opened_ == below) opened_ = 0;
    nodes_.erase(node);
  }
  if (current_ == id) current_ = parent;
  if (opened_ == id) opened_ = 0;
  nodes_.erase(id);
  if (auto up = nodes_.find(parent); up != nodes_.end()) {
    auto& siblings = up->second.children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
  }
}

void WebFolderTree::build() {
  if (built()) return;
  root_ = insert(0, WebNodeKind::Root, "폼베일", -1, "");
  ownRoot_ = insert(root_, WebNodeKind::OwnRoot, "내웹폴더", 0, "");
  friends_ = insert(root_, WebNodeKind::Friends, "내친구", -1, "");
  if (deps_.view != nullptr) deps_.view->expandNode(root_);
  // The first listing, while the notice page stays in front.
  current_ = ownRoot_;
  opened_ = ownRoot_;
  if (deps_.view != nullptr) deps_.view->selectNode(ownRoot_);
  open(ownRoot_);
}

WebNodeId WebFolderTree::findFolder(WebNodeId from, std::int32_t folderId,
                                    const std::string* ownerId) const {
  const Node* start = node(from);
  if (start == nullptr) return 0;
  const bool folderKind = start->kind != WebNodeKind::Root && start->kind != WebNodeKind::Friends;
  if (folderKind && start->folderId == folderId &&
      (ownerId == nullptr || start->ownerId == *ownerId))
    return from;
  for (WebNodeId child : start->children) {
    if (const WebNodeId found = findFolder(child, folderId, ownerId)) return found;
  }
  return 0;
}

std::string WebFolderTree::pathOf(WebNodeId id) const {
  std::string path;
  for (const Node* at = node(id); at != nullptr; at = node(at->parent)) {
    path = at->label + "/" + path;
  }
  return cutText(path, kPathBytes);
}

// --- selection and opening -------------------------------------------------

void WebFolderTree::selectAndOpen(WebNodeId id, bool downloadAfter,
                                  const std::string& downloadInto) {
  if (node(id) == nullptr) return;
  downloadAfterNext_ = downloadAfter;
  downloadIntoNext_ = downloadInto;
  if (deps_.view != nullptr) deps_.view->selectNode(id);  // may report the selection at once
  if (opened_ != id || downloadAfterNext_) {
    current_ = id;
    deps_.mainWindow->setRightPaneMode(RightPaneMode::OwnList);
    open(id);
  }
  downloadAfterNext_ = false;
  downloadIntoNext_.clear();
}

void WebFolderTree::onSelectionChanged(WebNodeId id) {
  // Compared with the node last opened, not with `current` (an expanded
  // node becomes current and would then never be listed).
  if (node(id) == nullptr || (id == opened_ && !downloadAfterNext_)) return;
  current_ = id;
  deps_.mainWindow->setRightPaneMode(RightPaneMode::OwnList);
  open(id);
}

void WebFolderTree::onExpanding(WebNodeId id) {
  if (node(id) != nullptr) current_ = id;
}

void WebFolderTree::open(WebNodeId id) {
  const Node* target = node(id);
  if (target == nullptr) return;
  ListingRequest request;
  request.folderId = target->folderId;
  request.node = id;
  request.downloadAfter = downloadAfterNext_;
  if (request.downloadAfter) request.downloadInto = downloadIntoNext_;
  downloadAfterNext_ = false;
  downloadIntoNext_.clear();
  switch (target->kind) {
    case WebNodeKind::Friends:
      opened_ = id;
      deps_.progress->openLoading();
      deps_.session->send(FriendListRequest{}.encode());
      break;
    case WebNodeKind::OwnRoot:
    case WebNodeKind::OwnFolder:
      opened_ = id;
      deps_.listings->request(request);
      break;
    case WebNodeKind::Friend:
    case WebNodeKind::FriendFolder:
      opened_ = id;
      request.friendId = target->ownerId;
      deps_.listings->request(request);
      break;
    case WebNodeKind::Root:
      break;
  }
}

void WebFolderTree::refresh() {
  // The node that was opened, not whatever `current` is now: a friend's
  // folder is never listed as the member's own.
  open(opened_ != 0 ? opened_ : current_);
}

void WebFolderTree::showListed(WebNodeId listed, WebNodeKind childKind,
                               const std::string& ownerId) {
  current_ = listed;
  removeChildren(listed);
  const std::int32_t folderId = node(listed)->folderId;
  for (const WebItem& item : deps_.list->items()) {
    if (item.isFolder() && item.parentId == folderId) {
      insert(listed, childKind, item.name, item.itemId, ownerId);
    }
  }
  deps_.list->showFolder(folderId);
  if (deps_.view != nullptr) deps_.view->expandNode(listed);
  deps_.list->setCaption(pathOf(listed));
  deps_.mainWindow->redraw();
}

void WebFolderTree::showOwnFolder(std::int32_t folderId) {
  const WebNodeId found = findFolder(ownRoot_, folderId, nullptr);
  if (found == 0) return;
  showListed(found, WebNodeKind::OwnFolder, "");
}

void WebFolderTree::showFriendFolder(std::int32_t folderId, const std::string& friendId) {
  const WebNodeId found = findFolder(friends_, folderId, &friendId);
  if (found == 0) return;
  showListed(found, WebNodeKind::FriendFolder, friendId);
}

void WebFolderTree::openFolder(std::int32_t folderId, const std::string& ownerId,
                               bool downloadAfter, const std::string& downloadInto) {
  const WebNodeId found = ownerId.empty() ? findFolder(ownRoot_, folderId, nullptr)
                                          : findFolder(friends_, folderId, &ownerId);
  if (found != 0) selectAndOpen(found, downloadAfter, downloadInto);
}

void WebFolderTree::selectParent() {
  const Node* at = node(opened_ != 0 ? opened_ : current_);
  if (at == nullptr) return;
  const Node* up = node(at->parent);
  if (up != nullptr && up->kind != WebNodeKind::Root) selectAndOpen(at->parent, false);
}

void WebFolderTree::downloadFolder(WebNodeId listed, const std::string& into) {
  const Node* folder = node(listed);
  if (folder == nullptr) return;
  for (const WebItem& item : deps_.list->items()) {
    if (!item.isFolder()) {
      deps_.downloads->addDownloadTo(item.itemId, item.name, item.sizeBytes, into,
                                     cutText(folder->label, 260));
    }
  }
  deps_.downloads->autoStart();
}

void WebFolderTree::download(WebNodeId id, const std::string& into) {
  if (node(id) == nullptr) return;
  if (id == opened_ && !deps_.listings->pending()) {
    downloadFolder(id, into);
  } else {
    selectAndOpen(id, true, into);
  }
}

void WebFolderTree::dropOnLocalList(WebNodeId dragged) {
  download(dragged, deps_.local != nullptr ? deps_.local->shownFolder() : "");
}

// --- friends -------------------------------------------------------------

void WebFolderTree::friendListArrived(const std::vector<FriendRecord>& records) {
  // "내친구" itself is cleared, wherever `current` has moved meanwhile.
  removeChildren(friends_);
  for (const FriendRecord& record : records)
    addFriend(record.displayName, record.friendId, record.memo);
  deps_.progress->finish();
  if (deps_.view != nullptr) deps_.view->expandNode(friends_);
}

void WebFolderTree::addFriend(const std::string& name, const std::string& friendId,
                              const std::string& memo) {
  if (friends_ == 0) return;
  insert(friends_, WebNodeKind::Friend, friendLabel(name, memo), 0, friendId);
}

void WebFolderTree::removeFriend(const std::string& friendId) {
  const Node* parent = node(friends_);
  if (parent == nullptr) return;
  const std::vector<WebNodeId> children = parent->children;
  for (WebNodeId child : children) {
    if (node(child)->ownerId == friendId) removeSubtree(child);
  }
}

void WebFolderTree::memoChanged() {
  current_ = friends_;
  open(friends_);
}

// --- own folders -----------------------------------------------------------

void WebFolderTree::removeFolder(std::int32_t folderId) {
  const WebNodeId found = findFolder(ownRoot_, folderId, nullptr);
  if (found != 0 && found != ownRoot_) removeSubtree(found);
}

void WebFolderTree::renameFolder(std::int32_t folderId, const std::string& name) {
  const WebNodeId found = findFolder(ownRoot_, folderId, nullptr);
  if (found == 0 || found == ownRoot_) return;
  nodes_[found].label = name;
  if (deps_.view != nullptr) deps_.view->setLabel(found, name);
}

// --- commands ------------------------------------------------------------

bool WebFolderTree::ownFolderCommand() const {
  const Node* at = node(current_);
  return at != nullptr && at->kind == WebNodeKind::OwnFolder && at->folderId >= kFirstOwnItem;
}

void WebFolderTree::onRightClick(WebNodeId id) {
  if (node(id) == nullptr || deps_.view == nullptr) return;
  selectAndOpen(id, false);
  current_ = id;
  WebMenu menu = WebMenu::None;
  switch (node(id)->kind) {
    case WebNodeKind::OwnFolder:
      menu = deps_.uploads->transferring() ? WebMenu::OwnFolderBusy : WebMenu::OwnFolder;
      break;
    case WebNodeKind::Friends:
      menu = WebMenu::Friends;
      break;
    case WebNodeKind::Friend:
      menu = WebMenu::Friend;
      break;
    case WebNodeKind::FriendFolder:
      menu = WebMenu::FriendFolder;
      break;
    default:
      break;
  }
  if (menu != WebMenu::None) command(deps_.view->trackMenu(menu));
}

void WebFolderTree::key(WebKey key) {
  switch (key) {
    case WebKey::Delete:
      return command(WebTreeCommand::Delete);
    case WebKey::CtrlN:
      return command(WebTreeCommand::NewFolder);
    case WebKey::F2:
      return command(WebTreeCommand::Rename);
    case WebKey::F5:
      return command(WebTreeCommand::Refresh);
    case WebKey::AltC:
      return command(WebTreeCommand::Club);
    case WebKey::AltF:
      return command(WebTreeCommand::Private);
    case WebKey::AltT:
      return command(WebTreeCommand::Public);
    default:
      return;
  }
}

void WebFolderTree::command(WebTreeCommand command) {
  const Node* at = node(current_);
  switch (command) {
    case WebTreeCommand::Refresh:
      return refresh();
    case WebTreeCommand::NewFolder:
      // Only in the member's own folders: a friend's node has no own parent.
      if (at != nullptr &&
          (at->kind == WebNodeKind::OwnRoot || at->kind == WebNodeKind::OwnFolder) &&
          at->folderId >= 0) {
        deps_.session->send(newFolderRequest(deps_.list->items(), at->folderId, *deps_.config));
      }
      return;
    case WebTreeCommand::Public:
      return setSharing(sharing::kPublic);
    case WebTreeCommand::Private:
      return setSharing(sharing::kPrivate);
    case WebTreeCommand::Club:
      return setSharing(sharing::kClub);
    case WebTreeCommand::Delete:
      return deleteFolder();
    case WebTreeCommand::Rename:
      if (!deps_.uploads->transferring() && ownFolderCommand()) deps_.list->editLabel(at->folderId);
      return;
    case WebTreeCommand::Download:
      if (at == nullptr) return;
      return download(current_, "");
    case WebTreeCommand::FriendAdd:
    case WebTreeCommand::FriendAddFromList:
      deps_.friendAdd->open();
      return;
    case WebTreeCommand::FriendDelete:
      if (at != nullptr && at->kind == WebNodeKind::Friend) {
        RemoveFriendRequest request;
        request.friendId = at->ownerId;
        deps_.session->send(request.encode());
      }
      return;
    case WebTreeCommand::ExtendTerm:
      return extendTerm();
    case WebTreeCommand::MemoEdit: {
      if (at == nullptr || at->kind != WebNodeKind::Friend) return;
      const std::string friendId = at->ownerId;  // the dialog pumps messages
      if (deps_.memo->show("메모수정", "수정메모:") && !deps_.memo->text().empty()) {
        EditMemoRequest request;
        request.memberId = deps_.session->state().memberId;
        request.friendId = friendId;
        request.memo = deps_.memo->text();
        deps_.session->send(request.encode());
      }
      return;
    }
    case WebTreeCommand::None:
      return;
  }
}

void WebFolderTree::setSharing(char state) {
  if (!ownFolderCommand()) return;
  SetSharingRequest request;
  request.parentId = 0;
  request.itemId = node(current_)->folderId;
  request.kind = item_kind::kFolder;
  request.sharingState = state;
  deps_.session->send(request.encode());
}

void WebFolderTree::deleteFolder() {
  if (deps_.uploads->transferring() || !ownFolderCommand()) return;
  const Node& folder = *node(current_);
  const std::int32_t folderId = folder.folderId;  // the question pumps messages
  const MessageAnswer answer = deps_.dialogs->show(
      "[" + folder.label +
          "]폴더를 삭제 하시겠습니까?\r\n\r\n[주의]폴더 안에 파일까지 삭제가 "
          "됩니다.\r\n\r\n[위험]삭제한 "
          "파일을 복구할수 없습니다.     ",
      "Pomvale", MessageIcon::Warning, DialogOwner::MainWindow, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  DeleteItemRequest request;
  request.folderId = folderId;
  request.itemId = folderId;
  request.kind = item_kind::kFolder;
  deps_.session->send(request.encode());
}

void WebFolderTree::extendTerm() {
  // Like every folder command, only on the member's own folders: nothing is
  // asked for a root or a friend's folder. The folder is taken before
  // asking: the question pumps messages.
  if (!ownFolderCommand()) return;
  const std::int32_t folderId = node(current_)->folderId;
  const MessageAnswer answer =
      deps_.dialogs->show("기한을 연장하시겠습니까?     ", "확인", MessageIcon::Warning,
                          DialogOwner::MainWindow, MessageButtons::OkCancel);
  if (answer != MessageAnswer::Ok) return;
  ExtendTermRequest request;
  request.sessionNumber = static_cast<std::uint16_t>(deps_.session->state().sessionNumber);
  request.folderId = folderId;
  deps_.session->send(request.encode());
}

// --- pane ----------------------------------------------------------------

void WebFolderTree::setVisible(bool visible) {
  shown_ = visible;
  if (deps_.view != nullptr) deps_.view->setVisible(visible && !folded_);
  placeButtons();
}

void WebFolderTree::fold(bool show) {
  folded_ = !show;
  if (deps_.view != nullptr) deps_.view->setVisible(shown_ && show);
  placeButtons();
  deps_.mainWindow->redraw();
}

void WebFolderTree::grow(int dw, int dh) {
  layout_.grow(dw, dh);
  if (deps_.view != nullptr) deps_.view->place(layout_.rect);
  placeButtons();
}

void WebFolderTree::moveToSplit(int x, int y) {
  layout_.moveToSplit(x, y);
  if (deps_.view != nullptr) deps_.view->place(layout_.rect);
  placeButtons();
}

void WebFolderTree::repaint() {
  for (SkinButton& button : foldButtons_) button.paint();
}

void WebFolderTree::mouseMove(int x, int y) {
  for (SkinButton& button : foldButtons_) button.hoverTest(x, y);
}

void WebFolderTree::leftDown(int x, int y) {
  for (SkinButton& button : foldButtons_) button.pressTest(x, y);
}

void WebFolderTree::leftUp(int x, int y) {
  if (foldButtons_[0].clickTest(x, y)) {
    fold(false);
  } else if (foldButtons_[1].clickTest(x, y)) {
    fold(true);
  }
}

}  // namespace pom
