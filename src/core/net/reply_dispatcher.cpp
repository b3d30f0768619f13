#include "core/net/reply_dispatcher.h"

namespace pom {

void ReplyDispatcher::add(ReplyType type, std::string owner, Handler handler) {
  handlers_[static_cast<std::int32_t>(type)].push_back(Entry{std::move(owner), std::move(handler)});
}

void ReplyDispatcher::ignore(ReplyType type, std::string owner) {
  add(type, std::move(owner), [](const std::uint8_t*, std::size_t) {});
}

std::vector<std::string> ReplyDispatcher::owners(ReplyType type) const {
  std::vector<std::string> names;
  const auto found = handlers_.find(static_cast<std::int32_t>(type));
  if (found != handlers_.end()) {
    for (const Entry& entry : found->second) names.push_back(entry.owner);
  }
  return names;
}

bool ReplyDispatcher::dispatch(const std::uint8_t* body, std::size_t length) {
  const std::optional<std::int32_t> type = bodyType(body, length);
  if (!type) return false;
  if (!acceptsLength(expectedReplySize(*type), length)) return false;
  const auto found = handlers_.find(*type);
  if (found == handlers_.end() || found->second.empty()) return false;
  // The handlers work on a copy of their own: a message box one shows pumps
  // messages, and a packet read meanwhile reuses the connection's buffer. The
  // list is copied too, so a handler may register others.
  const std::vector<std::uint8_t> copy(body, body + length);
  const std::vector<Entry> entries = found->second;
  for (const Entry& entry : entries) entry.handler(copy.data(), copy.size());
  return true;
}

}  // namespace pom
