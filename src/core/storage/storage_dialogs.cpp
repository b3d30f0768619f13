#include "core/storage/storage_dialogs.h"

#include "core/base/text_utils.h"
#include "core/hub/session_link.h"
#include "core/net/messages/requests.h"

namespace pom {

bool FriendAddDialog::open(const std::string& presetId) {
  if (open_ || view_ == nullptr) return false;
  open_ = true;
  std::string id;
  std::string memo;
  const bool ok = view_->runModal(presetId.empty(), id, memo);
  open_ = false;
  if (!ok) return false;
  send(presetId.empty() ? id : presetId, memo);
  return true;
}

void FriendAddDialog::send(const std::string& friendId, const std::string& memo) {
  AddFriendRequest request;
  request.friendId = cutText(friendId, kFriendIdBytes);
  request.memo = cutText(memo, kMemoBytes);
  session_.send(request.encode());
}

bool MemoDialog::show(const std::string& title, const std::string& label) {
  if (open_) return false;
  text_.clear();
  if (view_ == nullptr) return false;
  open_ = true;
  std::string text;
  const bool ok = view_->runModal(title, label, text);
  open_ = false;
  if (ok) text_ = cutText(text, kMemoBytes);
  return ok;
}

}  // namespace pom
