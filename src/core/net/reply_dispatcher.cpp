#include "core/net/reply_dispatcher.h"

#include <vector>

#include "core/storage/progress_dialog.h"
#include "core/storage/term_extension_dialog.h"
#include "core/net/messages/replies.h"

namespace pom {

ReplyDispatcher::ReplyDispatcher() = default;

void ReplyDispatcher::setHandler(ReplyType type, Handler handler) {
  handlers_[static_cast<std::int32_t>(type)] = std::move(handler);
}

void ReplyDispatcher::removeHandler(ReplyType type) {
  handlers_.erase(static_cast<std::int32_t>(type));
}

bool ReplyDispatcher::hasHandler(ReplyType type) const {
  return handlers_.count(static_cast<std::int32_t>(type)) != 0;
}

bool ReplyDispatcher::dispatch(const std::uint8_t* body, std::size_t length) {
  const std::optional<std::int32_t> type = bodyType(body, length);
  if (!type) return false;
  if (!acceptsLength(expectedReplySize(*type), length)) return false;
  const auto found = handlers_.find(*type);
  if (found == handlers_.end() || !found->second) return false;
  // The handler works on a copy of its own: a message box it shows pumps
  // messages, and a packet read meanwhile reuses the connection's buffer.
  const std::vector<std::uint8_t> copy(body, body + length);
  const Handler handler = found->second;  // a handler may replace itself
  handler(copy.data(), copy.size());
  return true;
}

void registerDialogBranches(ReplyDispatcher& dispatcher, TermExtensionDialog& termExtension,
                            ProgressDialog& progress) {
  dispatcher.on<ExtendTermReply>([&termExtension](const ExtendTermReply& reply) {
    termExtension.storedValue = reply.value;
    termExtension.freeQuota = reply.quotaBytes;
    termExtension.totalUsed = reply.usedBytes;
    termExtension.resultCode = reply.result;
    termExtension.open();
  });
  // Until the folder tree and file list take these over, a listing answer at
  // least ends the wait the loading dialog shows.
  const auto finishLoading = [&progress](const std::uint8_t*, std::size_t) { progress.finish(); };
  dispatcher.setHandler(ReplyType::FriendList, finishLoading);
  dispatcher.setHandler(ReplyType::FolderList, finishLoading);
  dispatcher.setHandler(ReplyType::MemberFolderList, finishLoading);
}

}  // namespace pom
