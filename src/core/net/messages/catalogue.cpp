// The login-server size tables, derived from the message structs themselves.
#include <tuple>
#include <type_traits>

#include "core/net/messages/message_types.h"
#include "core/net/messages/replies.h"
#include "core/net/messages/requests.h"

namespace pom {
namespace {

template <typename Message, typename = void>
struct HasExactSize : std::false_type {};
template <typename Message>
struct HasExactSize<Message, std::void_t<decltype(Message::kSize)>> : std::true_type {};

template <typename Message>
constexpr BodySize sizeOf() {
  if constexpr (HasExactSize<Message>::value) {
    return {BodySizeKind::Exact, Message::kSize};
  } else {
    return {BodySizeKind::Variable, Message::kHeadSize};
  }
}

template <typename... Messages>
BodySize lookUp(std::int32_t type, std::tuple<Messages...>*) {
  BodySize found;
  ((static_cast<std::int32_t>(Messages::kType) == type ? (found = sizeOf<Messages>(), 0) : 0), ...);
  return found;
}

}  // namespace

BodySize expectedReplySize(std::int32_t type) {
  return lookUp(type, static_cast<LoginServerReplies*>(nullptr));
}

BodySize expectedRequestSize(std::int32_t type) {
  return lookUp(type, static_cast<LoginServerRequests*>(nullptr));
}

}  // namespace pom
