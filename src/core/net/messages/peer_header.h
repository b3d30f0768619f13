// The one text request of a peer connection: "|header|<checksum>|<total
// size>|<offset>|||", sent as the body of one framed packet (no type field,
// no terminating zero). The peer answers with raw file bytes from the offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>

#include "core/net/messages/message_types.h"

namespace pom {

struct PeerHeader {
  std::string checksum;  // the file's unique code
  std::int64_t totalSize = 0;
  std::int64_t offset = 0;  // bytes already received

  std::string encode() const;
  // The peer's side: refuses anything but the exact shape with decimal sizes,
  // a negative offset, or an offset past the total size.
  static std::optional<PeerHeader> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(checksum, totalSize, offset); }
};

}  // namespace pom
