#include "core/storage/folder_listings.h"

#include "core/hub/session_link.h"
#include "core/net/messages/requests.h"
#include "core/storage/progress_dialog.h"

namespace pom {

FolderListings::FolderListings(SessionLink& session, ProgressDialog& progress,
                               ListingTarget& target)
    : session_(session), progress_(progress), target_(target) {}

void FolderListings::request(const ListingRequest& request) {
  target_.listingStarted(request);
  if (out_) {
    wanted_ = request;
    return;
  }
  progress_.openLoading();
  send(request, 0, 0);
}

void FolderListings::send(const ListingRequest& request, std::int32_t lastEntryId,
                          std::uint8_t continuation) {
  out_ = request;
  lastEntryId_ = lastEntryId;
  if (request.own()) {
    FolderListRequest message;
    message.folderId = request.folderId;
    message.lastEntryId = lastEntryId;
    message.continuation = continuation;
    session_.send(message.encode());
  } else {
    MemberFolderListRequest message;
    message.friendId = request.friendId;
    message.folderId = request.folderId;
    message.lastEntryId = lastEntryId;
    message.continuation = continuation;
    session_.send(message.encode());
  }
}

void FolderListings::onFolderList(const FolderList& page) {
  if (!out_ || !out_->own() || page.folderId != out_->folderId) return;
  onPage(page.entries, page.capacity, page.continuation);
}

void FolderListings::onMemberFolderList(const MemberFolderList& page) {
  if (!out_ || out_->own() || page.folderId != out_->folderId || page.friendId != out_->friendId)
    return;
  onPage(page.entries, page.capacity, page.continuation);
}

void FolderListings::onPage(const std::vector<FolderEntry>& entries, std::uint8_t capacity,
                            std::uint8_t continuation) {
  const ListingRequest request = *out_;
  if (!wanted_) target_.pageArrived(request, entries);
  const std::int32_t last = entries.empty() ? 0 : entries.back().itemId;
  // A full page asks for the next one, unless that could only repeat itself.
  const bool more = capacity > 0 && entries.size() >= capacity && last != 0 && last > lastEntryId_;
  progress_.finish();
  if (more && !wanted_) {
    send(request, last, continuation);
    return;
  }
  out_.reset();
  if (wanted_) {
    // The member asked for another folder meanwhile: that one goes out now.
    const ListingRequest next = *wanted_;
    wanted_.reset();
    progress_.openLoading();
    send(next, 0, 0);
    return;
  }
  target_.listingComplete(request);
}

void FolderListings::reset() {
  out_.reset();
  wanted_.reset();
  lastEntryId_ = 0;
  progress_.finish();
}

}  // namespace pom
