// StorageLink: what the web storage module (web tree, own file list) offers
// the other modules.
#pragma once

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
};

}  // namespace pom
