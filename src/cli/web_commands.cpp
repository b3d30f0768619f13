#include "cli/web_commands.h"

#include <type_traits>
#include <utility>

#include "core/app/client_app.h"
#include "core/base/text_utils.h"
#include "core/hub/module_context.h"
#include "core/net/messages/messages.h"
#include "core/ports/text_codec.h"
#include "core/storage/folder_listings.h"
#include "core/storage/progress_dialog.h"
#include "core/storage/storage_module.h"
#include "core/storage/term_extension_dialog.h"
#include "core/storage/web_file_list.h"

namespace pom {

namespace {

template <typename T, typename = void>
struct HasResult : std::false_type {};
template <typename T>
struct HasResult<T, std::void_t<decltype(std::declval<T>().result)>> : std::true_type {};

std::vector<std::string> splitPath(const std::string& path) {
  std::vector<std::string> names;
  std::size_t from = 0;
  while (from <= path.size()) {
    const std::size_t slash = std::min(path.find('/', from), path.size());
    if (slash > from) names.push_back(path.substr(from, slash - from));
    from = slash + 1;
  }
  return names;
}

// "a/b/c" → ("a/b", "c"); "c" → ("", "c").
std::pair<std::string, std::string> splitLast(const std::string& path) {
  std::vector<std::string> names = splitPath(path);
  if (names.empty()) return {"", ""};
  std::string leaf = names.back();
  names.pop_back();
  std::string folder;
  for (const std::string& name : names) folder += (folder.empty() ? "" : "/") + name;
  return {folder, leaf};
}

}  // namespace

WebCommands::WebCommands(HeadlessClient& client, std::ostream& out)
    : client_(client), out_(out), tree_(client.storage().tree()), list_(client.storage().list()) {
  watch<FriendList>();
  watch<AddFriendReply>();
  watch<RemoveFriendReply>();
  watch<EditMemoReply>();
  watch<FolderCreated>();
  watch<SetSharingReply>();
  watch<DeleteItemReply>();
  watch<RenameFileReply>();
  watch<MoveFileReply>();
  watch<ExtendTermReply>();
  watch<CombinedLinkReply>();
  client_.app().context().replies().on<FolderCreated>(
      "pomcli", [this](const FolderCreated& folder) { lastCreated_ = folder.folderId; });
}

template <typename Reply>
void WebCommands::watch() {
  client_.app().context().replies().on<Reply>("pomcli", [this](const Reply& reply) {
    Seen& seen = seen_[Reply::kType];
    ++seen.count;
    if constexpr (HasResult<Reply>::value) {
      if (static_cast<int>(reply.result) != 0) ++seen.refused;
    } else {
      (void)reply;
    }
  });
}

bool WebCommands::awaitAnswers(ReplyType type, const Seen& before, int count) {
  if (client_.waitUntil([&] { return seen_[type].count >= before.count + count; })) return true;
  client_.errors() << "pomcli: no answer from the service in time\n";
  failure_ = Outcome::NoAnswer;
  return false;
}

bool WebCommands::fail(const std::string& why) {
  client_.errors() << "pomcli: " << why << "\n";
  failure_ = Outcome::Failed;
  return false;
}

Outcome WebCommands::failed(const std::string& why) {
  fail(why);
  return failure_;
}

// --- finding and opening folders -------------------------------------------

bool WebCommands::openNode(WebNodeId id) {
  const WebFolderTree::Node* target = tree_.node(id);
  if (target == nullptr) return fail("the folder is gone");
  const std::int32_t folderId = target->folderId;
  const std::string ownerId = target->ownerId;
  FolderListings& listings = client_.storage().listings();
  const auto listed = [&] {
    return !listings.pending() && tree_.opened() == id && list_.folder() == folderId &&
           list_.friendId() == ownerId;
  };
  if (listed()) return true;
  // As the member does it: select the node (or press F5 on the one open).
  if (tree_.opened() == id) {
    tree_.refresh();
  } else {
    tree_.onSelectionChanged(id);
  }
  if (client_.waitUntil(listed)) return true;
  client_.errors() << "pomcli: no answer to the folder listing in time\n";
  failure_ = Outcome::NoAnswer;
  return false;
}

bool WebCommands::refreshOpened() {
  const WebNodeId id = tree_.opened();
  if (id == 0) return fail("no folder is open");
  tree_.refresh();
  FolderListings& listings = client_.storage().listings();
  if (client_.waitUntil([&] { return !listings.pending(); })) return true;
  client_.errors() << "pomcli: no answer to the folder listing in time\n";
  failure_ = Outcome::NoAnswer;
  return false;
}

bool WebCommands::listFriendsNode() {
  const Seen before = seen_[ReplyType::FriendList];
  if (tree_.opened() == tree_.friends()) {
    tree_.refresh();
  } else {
    tree_.onSelectionChanged(tree_.friends());
  }
  return awaitAnswers(ReplyType::FriendList, before, 1);
}

WebNodeId WebCommands::friendNode(const std::string& friendId) const {
  const WebFolderTree::Node* friends = tree_.node(tree_.friends());
  if (friends == nullptr) return 0;
  for (WebNodeId child : friends->children) {
    if (tree_.node(child)->ownerId == friendId) return child;
  }
  return 0;
}

WebNodeId WebCommands::openFriend(const std::string& friendId) {
  if (!listFriendsNode()) return 0;
  const WebNodeId found = friendNode(friendId);
  if (found == 0) {
    fail("no friend " + cp949ToUtf8(friendId));
    return 0;
  }
  return openNode(found) ? found : 0;
}

WebNodeId WebCommands::openPath(const std::string& path) {
  std::vector<std::string> names = splitPath(path);
  WebNodeId at = tree_.ownRoot();
  std::size_t first = 0;
  if (!names.empty() && names[0][0] == '~') {
    at = openFriend(utf8ToCp949(names[0].substr(1)));
    if (at == 0) return 0;
    first = 1;
  } else if (!openNode(at)) {
    return 0;
  }
  for (std::size_t i = first; i < names.size(); ++i) {
    const std::string name = utf8ToCp949(names[i]);
    WebNodeId next = 0;
    for (WebNodeId child : tree_.node(at)->children) {
      if (tree_.node(child)->label == name) next = child;
    }
    if (next == 0) {
      fail("no folder " + names[i] + " in " + cp949ToUtf8(tree_.pathOf(at)));
      return 0;
    }
    if (!openNode(next)) return 0;
    at = next;
  }
  return at;
}

const WebItem* WebCommands::itemNamed(const std::string& name) const {
  for (const WebItem& item : list_.items()) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

bool WebCommands::selectRows(const std::vector<std::string>& names) {
  CliWebListView& view = *client_.front().list;
  view.selected.clear();
  for (const std::string& name : names) {
    const WebItem* item = itemNamed(name);
    if (item == nullptr) {
      return fail("no " + cp949ToUtf8(name) + " in " + cp949ToUtf8(tree_.pathOf(tree_.opened())));
    }
    view.selected.push_back(item->itemId);
  }
  return true;
}

bool WebCommands::ownListingOrFail() {
  return list_.ownListing() || fail("a friend's folder cannot be changed");
}

std::vector<WebCommands::Group> WebCommands::groupByFolder(
    const std::vector<std::string>& paths) const {
  std::vector<Group> groups;
  for (const std::string& path : paths) {
    auto [folder, leaf] = splitLast(path);
    auto at = std::find_if(groups.begin(), groups.end(),
                           [&](const Group& group) { return group.folder == folder; });
    if (at == groups.end()) at = groups.insert(groups.end(), Group{folder, {}});
    at->names.push_back(utf8ToCp949(leaf));
  }
  return groups;
}

bool WebCommands::finishLabelEdit(const std::string& name) {
  CliWebListView& view = *client_.front().list;
  if (!view.editing) return fail("the name was not opened for editing");
  const std::int32_t itemId = *view.editing;
  view.editing.reset();
  list_.endLabelEdit(itemId, name);
  return true;
}

// --- commands ----------------------------------------------------------------

Outcome WebCommands::list(const std::string& folder) {
  if (openPath(folder) == 0) return failure_;
  for (const WebRow& row : client_.front().list->rows) {
    for (int column = 0; column < kWebColumns; ++column) {
      out_ << (column == 0 ? "" : "\t") << cp949ToUtf8(row.texts[column]);
    }
    out_ << "\n";
  }
  return Outcome::Done;
}

Outcome WebCommands::makeFolder(const std::string& path) {
  const auto [folder, leaf] = splitLast(path);
  if (leaf.empty()) return failed("no folder name");
  if (openPath(folder) == 0 || !ownListingOrFail()) return failure_;
  const std::string name = utf8ToCp949(leaf);
  const std::string kept = replaceReservedMarks(cutText(name, RenameFolderRequest::kMaxName));
  if (itemNamed(name) != nullptr || itemNamed(kept) != nullptr)
    return failed(leaf + " is there already");

  // Ctrl+N: the service makes "새폴더" and the list opens its name.
  CliWebListView& view = *client_.front().list;
  view.editing.reset();
  const Seen before = seen_[ReplyType::FolderCreated];
  list_.key(WebKey::CtrlN);
  if (!awaitAnswers(ReplyType::FolderCreated, before, 1)) return failure_;
  if (seen_[ReplyType::FolderCreated].refused > before.refused)
    return failed("the service did not create the folder");
  if (!view.editing) {
    // The service asked not to open the name: rename it with F2.
    if (list_.find(lastCreated_) == nullptr) return failed("the new folder is not in the list");
    view.selected = {lastCreated_};
    list_.key(WebKey::F2);
  }
  const std::size_t boxes = client_.dialogs().shown.size();
  if (!finishLabelEdit(name)) return failure_;
  if (client_.dialogs().shown.size() > boxes) return Outcome::Failed;
  // A folder's rename has no answer: list again to see what the service keeps.
  if (!refreshOpened()) return failure_;
  const WebItem* made = itemNamed(kept);
  if (made == nullptr || !made->isFolder()) return failed("the folder was not renamed");
  return Outcome::Done;
}

Outcome WebCommands::rename(const std::string& path, const std::string& newName) {
  const auto [folder, leaf] = splitLast(path);
  if (openPath(folder) == 0 || !ownListingOrFail()) return failure_;
  const std::string name = utf8ToCp949(leaf);
  if (!selectRows({name})) return failure_;
  const WebItem& item = *itemNamed(name);
  const std::int32_t itemId = item.itemId;
  const bool isFolder = item.isFolder();

  CliWebListView& view = *client_.front().list;
  view.editing.reset();
  list_.key(WebKey::F2);
  const Seen before = seen_[ReplyType::RenameFileReply];
  const std::size_t boxes = client_.dialogs().shown.size();
  if (!finishLabelEdit(utf8ToCp949(newName))) return failure_;
  if (client_.dialogs().shown.size() > boxes) return Outcome::Failed;
  const WebItem* renamed = list_.find(itemId);
  if (renamed == nullptr || renamed->name == name) return Outcome::Done;  // unchanged: a cancel
  const std::string kept = renamed->name;
  if (!isFolder) {
    if (!awaitAnswers(ReplyType::RenameFileReply, before, 1)) return failure_;
    return seen_[ReplyType::RenameFileReply].refused > before.refused ? Outcome::Failed
                                                                      : Outcome::Done;
  }
  if (!refreshOpened()) return failure_;
  if (itemNamed(kept) == nullptr) return failed("the folder was not renamed");
  return Outcome::Done;
}

Outcome WebCommands::move(const std::vector<std::string>& paths, const std::string& folder) {
  const WebNodeId target = openPath(folder);
  if (target == 0 || !ownListingOrFail()) return failure_;
  if (tree_.node(target)->folderId <= 1)
    return failed("files are moved only into folders below " + cp949ToUtf8("내웹폴더"));

  // Ctrl+X in each folder (the cut list grows), then Ctrl+V in the target.
  std::vector<std::string> moved;
  for (const Group& group : groupByFolder(paths)) {
    if (openPath(group.folder) == 0 || !ownListingOrFail() || !selectRows(group.names))
      return failure_;
    for (const std::string& name : group.names) {
      if (itemNamed(name)->isFolder()) return failed("folders are not moved: " + cp949ToUtf8(name));
    }
    list_.key(WebKey::CtrlX);
    moved.insert(moved.end(), group.names.begin(), group.names.end());
  }
  if (openPath(folder) == 0) return failure_;
  const Seen before = seen_[ReplyType::MoveFileReply];
  list_.key(WebKey::CtrlV);
  if (!awaitAnswers(ReplyType::MoveFileReply, before, static_cast<int>(moved.size())))
    return failure_;
  // The paste ends with a fresh listing of the target.
  ProgressDialog& progress = client_.storage().progressDialog();
  FolderListings& listings = client_.storage().listings();
  if (!client_.waitUntil([&] { return !progress.busy() && !listings.pending(); })) {
    client_.errors() << "pomcli: no answer to the folder listing in time\n";
    return Outcome::NoAnswer;
  }
  for (const std::string& name : moved) {
    if (itemNamed(name) == nullptr) return failed(cp949ToUtf8(name) + " was not moved");
  }
  return Outcome::Done;
}

Outcome WebCommands::remove(const std::vector<std::string>& paths) {
  bool refused = false;
  CliDialogs& dialogs = client_.dialogs();
  for (const Group& group : groupByFolder(paths)) {
    if (openPath(group.folder) == 0 || !ownListingOrFail() || !selectRows(group.names))
      return failure_;
    const Seen before = seen_[ReplyType::DeleteItemReply];
    const MessageAnswer usual = dialogs.yesNo;
    dialogs.yesNo = MessageAnswer::Yes;  // "삭제 하시겠습니까?" — yes
    list_.key(WebKey::Delete);
    dialogs.yesNo = usual;
    if (!awaitAnswers(ReplyType::DeleteItemReply, before, static_cast<int>(group.names.size())))
      return failure_;
    refused |= seen_[ReplyType::DeleteItemReply].refused > before.refused;
  }
  return refused ? Outcome::Failed : Outcome::Done;
}

Outcome WebCommands::share(char state, const std::vector<std::string>& paths) {
  const WebKey key = state == sharing::kPublic    ? WebKey::AltT
                     : state == sharing::kPrivate ? WebKey::AltF
                                                  : WebKey::AltC;
  bool refused = false;
  for (const Group& group : groupByFolder(paths)) {
    if (openPath(group.folder) == 0 || !ownListingOrFail() || !selectRows(group.names))
      return failure_;
    const Seen before = seen_[ReplyType::SetSharingReply];
    list_.key(key);
    if (!awaitAnswers(ReplyType::SetSharingReply, before, static_cast<int>(group.names.size())))
      return failure_;
    refused |= seen_[ReplyType::SetSharingReply].refused > before.refused;
  }
  return refused ? Outcome::Failed : Outcome::Done;
}

Outcome WebCommands::extendTerm(const std::string& folder) {
  const auto [parent, leaf] = splitLast(folder);
  if (openPath(parent) == 0 || !ownListingOrFail()) return failure_;
  const std::string name = utf8ToCp949(leaf);
  if (!selectRows({name})) return failure_;
  if (!itemNamed(name)->isFolder()) return failed(leaf + " is not a folder");
  CliDialogs& dialogs = client_.dialogs();
  const MessageAnswer usual = dialogs.okCancel;
  dialogs.okCancel = MessageAnswer::Ok;  // "기한을 연장하시겠습니까?" — OK
  const Seen before = seen_[ReplyType::ExtendTermReply];
  list_.command(WebListCommand::ExtendTerm);
  dialogs.okCancel = usual;
  if (!awaitAnswers(ReplyType::ExtendTermReply, before, 1)) return failure_;
  CliTermExtensionDialogView& answer = *client_.front().termExtension;
  for (const std::string& label : answer.labels) out_ << cp949ToUtf8(label) << "\n";
  return seen_[ReplyType::ExtendTermReply].refused > before.refused ? Outcome::Failed
                                                                    : Outcome::Done;
}

Outcome WebCommands::queueDownloads(const std::vector<std::string>& paths) {
  for (const Group& group : groupByFolder(paths)) {
    if (openPath(group.folder) == 0 || !selectRows(group.names)) return failure_;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    for (const std::string& name : group.names) {
      (itemNamed(name)->isFolder() ? folders : files).push_back(name);
    }
    if (!files.empty()) {
      if (!selectRows(files)) return failure_;
      list_.key(WebKey::CtrlD);
    }
    for (const std::string& name : folders) {
      const std::string path =
          group.folder.empty() ? cp949ToUtf8(name) : group.folder + "/" + cp949ToUtf8(name);
      const WebNodeId node = openPath(path);
      if (node == 0) return failure_;
      // The tree's "download" on the folder just listed queues its files.
      tree_.command(WebTreeCommand::Download);
    }
  }
  return Outcome::Done;
}

Outcome WebCommands::openFolder(const std::string& path, std::int32_t& folderId) {
  if (!path.empty() && path[0] == '~') return failed("uploads go into your own folders");
  const WebNodeId node = openPath(path);
  if (node == 0) return failure_;
  folderId = tree_.node(node)->folderId;
  return Outcome::Done;
}

Outcome WebCommands::webLinks(const std::vector<std::string>& paths) {
  for (const Group& group : groupByFolder(paths)) {
    if (openPath(group.folder) == 0 || !selectRows(group.names)) return failure_;
    CliShell& shell = client_.shell();
    shell.clipboard.clear();
    list_.key(WebKey::CtrlW);
    if (shell.clipboard.empty()) return failed("no link text was made");
    out_ << cp949ToUtf8(shell.clipboard) << "\n";
  }
  return Outcome::Done;
}

Outcome WebCommands::combinedLink(const std::string& title, const std::vector<std::string>& paths) {
  const std::vector<Group> groups = groupByFolder(paths);
  if (groups.size() != 1) return failed("the files of a combined link must be in one folder");
  if (openPath(groups[0].folder) == 0 || !selectRows(groups[0].names)) return failure_;
  bool anyFile = false;
  for (const std::string& name : groups[0].names) anyFile |= !itemNamed(name)->isFolder();

  client_.front().memo->answer = utf8ToCp949(title);
  client_.shell().clipboard.clear();
  const Seen before = seen_[ReplyType::CombinedLinkReply];
  list_.command(WebListCommand::CombinedLink);
  if (!anyFile) return Outcome::Failed;  // "선택목록이 없습니다." was shown
  if (!awaitAnswers(ReplyType::CombinedLinkReply, before, 1)) return failure_;
  if (seen_[ReplyType::CombinedLinkReply].refused > before.refused) return Outcome::Failed;
  out_ << cp949ToUtf8(client_.shell().clipboard) << "\n";
  return Outcome::Done;
}

Outcome WebCommands::listFriends() {
  if (!listFriendsNode()) return failure_;
  for (WebNodeId child : tree_.node(tree_.friends())->children) {
    const WebFolderTree::Node& each = *tree_.node(child);
    out_ << cp949ToUtf8(each.ownerId) << "\t" << cp949ToUtf8(each.label) << "\n";
  }
  return Outcome::Done;
}

Outcome WebCommands::addFriend(const std::string& friendId, const std::string& memo) {
  client_.front().friendAdd->answer = std::make_pair(utf8ToCp949(friendId), utf8ToCp949(memo));
  const Seen before = seen_[ReplyType::AddFriendReply];
  tree_.command(WebTreeCommand::FriendAdd);
  if (!awaitAnswers(ReplyType::AddFriendReply, before, 1)) return failure_;
  return seen_[ReplyType::AddFriendReply].refused > before.refused ? Outcome::Failed
                                                                   : Outcome::Done;
}

Outcome WebCommands::removeFriend(const std::string& friendId) {
  if (!listFriendsNode()) return failure_;
  const WebNodeId found = friendNode(utf8ToCp949(friendId));
  if (found == 0) return failed("no friend " + friendId);
  // Right click on the friend, "삭제".
  client_.front().tree->menuChoice = WebTreeCommand::FriendDelete;
  const Seen before = seen_[ReplyType::RemoveFriendReply];
  tree_.onRightClick(found);
  if (!awaitAnswers(ReplyType::RemoveFriendReply, before, 1)) return failure_;
  return seen_[ReplyType::RemoveFriendReply].refused > before.refused ? Outcome::Failed
                                                                      : Outcome::Done;
}

Outcome WebCommands::editMemo(const std::string& friendId, const std::string& memo) {
  if (!listFriendsNode()) return failure_;
  const WebNodeId found = friendNode(utf8ToCp949(friendId));
  if (found == 0) return failed("no friend " + friendId);
  // Right click on the friend, "메모수정", type the memo, OK.
  client_.front().tree->menuChoice = WebTreeCommand::MemoEdit;
  client_.front().memo->answer = utf8ToCp949(memo);
  const Seen before = seen_[ReplyType::EditMemoReply];
  const Seen friendsBefore = seen_[ReplyType::FriendList];
  tree_.onRightClick(found);
  if (!awaitAnswers(ReplyType::EditMemoReply, before, 1)) return failure_;
  if (seen_[ReplyType::EditMemoReply].refused > before.refused) return Outcome::Failed;
  // The friend list comes again with the new memo.
  if (!awaitAnswers(ReplyType::FriendList, friendsBefore, 1)) return failure_;
  return Outcome::Done;
}

}  // namespace pom
