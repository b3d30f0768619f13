// WebCommands: the web storage commands of the headless front end. Each
// drives the presenters the windows use, the way a member would (select the
// rows, press the key or choose the menu entry, answer the dialog), waits
// for the service's answer and reports an outcome.
//
// Paths are "/"-separated names below "내웹폴더"; "~friend/PATH" is a
// folder of a friend. Arguments and output are UTF-8; names are converted
// from and to CP949 here. Data goes to `out`; the program's message boxes
// and the command's own errors go to the error stream.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "cli/headless_client.h"
#include "core/storage/web_folder_tree.h"

namespace pom {

class WebFileList;

class WebCommands {
 public:
  WebCommands(HeadlessClient& client, std::ostream& out);

  // One line per row, the five columns tab-separated, after the whole listing.
  Outcome list(const std::string& folder);
  Outcome makeFolder(const std::string& path);
  Outcome rename(const std::string& path, const std::string& newName);
  Outcome move(const std::vector<std::string>& paths, const std::string& folder);
  Outcome remove(const std::vector<std::string>& paths);
  // state: 't' public, 'f' private, 'c' club.
  Outcome share(char state, const std::vector<std::string>& paths);
  Outcome extendTerm(const std::string& folder);
  Outcome webLinks(const std::vector<std::string>& paths);
  Outcome combinedLink(const std::string& title, const std::vector<std::string>& paths);
  // One line per friend: id, then the label the tree shows.
  Outcome listFriends();
  Outcome addFriend(const std::string& friendId, const std::string& memo);
  Outcome removeFriend(const std::string& friendId);
  Outcome editMemo(const std::string& friendId, const std::string& memo);
  // Queues the files and folders at these paths for download the way a
  // member does: files are selected in their folder's list and downloaded
  // (Ctrl+D); a folder is opened in the tree and downloaded from there, its
  // files going into a sub-folder named after it.
  Outcome queueDownloads(const std::vector<std::string>& paths);
  // Opens the own folder at a path ("" for 내웹폴더) in the tree, so that it
  // is the folder shown; folderId receives its number.
  Outcome openFolder(const std::string& path, std::int32_t& folderId);

 private:
  // The answers seen of one reply type: how many, how many refused.
  struct Seen {
    int count = 0;
    int refused = 0;
  };
  // Paths grouped by the folder that holds them, in the order given.
  struct Group {
    std::string folder;              // UTF-8 path of the folder
    std::vector<std::string> names;  // CP949
  };

  template <typename Reply>
  void watch();
  // Waits until `count` more answers of the type came than `before` shows.
  bool awaitAnswers(ReplyType type, const Seen& before, int count);
  bool fail(const std::string& why);
  Outcome failed(const std::string& why);

  // Opens the folder at a path; 0 (with the reason printed) when a name is
  // not found or no answer came.
  WebNodeId openPath(const std::string& path);
  bool openNode(WebNodeId node);
  WebNodeId openFriend(const std::string& friendId);
  bool listFriendsNode();
  WebNodeId friendNode(const std::string& friendId) const;
  bool refreshOpened();
  // Selects the named rows of the folder shown; false (printed) when one is missing.
  bool selectRows(const std::vector<std::string>& names);
  bool ownListingOrFail();
  std::vector<Group> groupByFolder(const std::vector<std::string>& paths) const;
  // Finishes a label edit the presenter opened with this text.
  bool finishLabelEdit(const std::string& name);
  const WebItem* itemNamed(const std::string& name) const;

  HeadlessClient& client_;
  std::ostream& out_;
  WebFolderTree& tree_;
  WebFileList& list_;
  std::map<ReplyType, Seen> seen_;
  Outcome failure_ = Outcome::Failed;
  std::int32_t lastCreated_ = 0;
};

}  // namespace pom
