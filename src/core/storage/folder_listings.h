// FolderListings: the paged listing of one web folder at a time, the
// member's own or a friend's.
//
// A request names the folder, its owner and the tree node asked for; the
// decision "own or a friend's" is taken then, not from the entries. Pages
// are accepted only when their folder (and friend) match the request that is
// out; a page with fewer entries than its capacity ends the listing, and so
// does one that could only repeat itself (capacity 0, a last id of 0 or one
// that does not rise), so paging never runs forever. While a listing is out,
// a new request waits: the last one asked for goes out when the pending one
// ends, and the pages still arriving for the old one are not shown. The
// loading dialog closes after every page.
//
// What the pages mean for the views is the target's business. Loop thread
// only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/net/messages/replies.h"

namespace pom {

class ProgressDialog;
class SessionLink;

struct ListingRequest {
  std::int32_t folderId = 0;
  std::string friendId;  // empty: the member's own folder
  int node = 0;          // the tree node it was asked for
  bool downloadAfter = false;
  std::string downloadInto;  // with downloadAfter: a local folder; empty: the download folder

  bool own() const { return friendId.empty(); }
};

class ListingTarget {
 public:
  virtual ~ListingTarget() = default;
  // The list empties for the folder asked for.
  virtual void listingStarted(const ListingRequest& request) = 0;
  virtual void pageArrived(const ListingRequest& request,
                           const std::vector<FolderEntry>& entries) = 0;
  virtual void listingComplete(const ListingRequest& request) = 0;
};

class FolderListings {
 public:
  FolderListings(SessionLink& session, ProgressDialog& progress, ListingTarget& target);

  bool pending() const { return out_.has_value(); }
  // The request of the listing out (null when none).
  const ListingRequest* outstanding() const { return out_ ? &*out_ : nullptr; }

  void request(const ListingRequest& request);
  void onFolderList(const FolderList& page);
  void onMemberFolderList(const MemberFolderList& page);
  // The connection was made anew: nothing outstanding will be answered.
  void reset();

 private:
  void send(const ListingRequest& request, std::int32_t lastEntryId, std::uint8_t continuation);
  void onPage(const std::vector<FolderEntry>& entries, std::uint8_t capacity,
              std::uint8_t continuation);

  SessionLink& session_;
  ProgressDialog& progress_;
  ListingTarget& target_;
  std::optional<ListingRequest> out_;
  std::optional<ListingRequest> wanted_;  // asked for while another was out
  std::int32_t lastEntryId_ = 0;
};

}  // namespace pom
