// StorageLink: what the web storage module (web tree, own file list) offers
// the other modules.
#pragma once

#include <cstdint>
#include <string>

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
};

}  // namespace pom
