// StorageLink: what the web storage module (web tree, own file list) offers
// the other modules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pom {

class StorageLink {
 public:
  static constexpr char kLinkName[] = "StorageLink";
  virtual ~StorageLink() = default;

  // The own file list has a selected row; queue its selected files for download.
  virtual bool ownListHasSelection() const = 0;
  virtual void downloadSelection() = 0;

  // A folder listing, search or folder-content request is outstanding. The
  // flag is the storage module's; the search module clears it when its
  // answers arrive.
  virtual bool listingPending() const = 0;
  virtual void setListingPending(bool pending) = 0;

  // The folder the own file list shows, where the member's uploads go: its
  // number (0 for the top of the own folders; a friend's folder or none is
  // 0 too, the service's own default) and its path as the web tree shows it
  // ("폼베일/내웹폴더/a/", empty when the tree has no node for it).
  virtual std::int32_t currentFolderId() const { return 0; }
  virtual std::string currentFolderPath() const { return ""; }
  // The own file list shows one of the member's own folders (not a friend's).
  virtual bool ownListing() const { return true; }

  // What the other lists (search results, folder contents) use of the web
  // storage: its friend-add dialog and its link builders, so that a friend
  // and a link are made one way wherever they are asked for.
  struct LinkedFile {
    std::int32_t fileId = 0;
    std::string name;
    std::int64_t sizeBytes = 0;
  };
  // Opens the friend-add dialog with the member id preset (only the memo is
  // asked); true when the request was sent.
  virtual bool openFriendAdd(const std::string& presetId) { return false; }
  // The web links of the files onto the clipboard, as the own list copies them.
  virtual void copyWebLinks(const std::vector<LinkedFile>& files) {}
  // Asks for a title, then the login server for a combined link of the
  // files; its answer is pasted with that title.
  virtual void requestCombinedLink(const std::vector<LinkedFile>& files) {}
};

}  // namespace pom
