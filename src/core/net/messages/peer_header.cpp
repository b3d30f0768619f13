#include "core/net/messages/peer_header.h"

#include <limits>

namespace pom {
namespace {

constexpr char kPrefix[] = "|header|";
constexpr char kSuffix[] = "|||";

// A non-negative decimal within int64, digits only.
std::optional<std::int64_t> parseSize(const std::string& digits) {
  if (digits.empty() || digits.size() > 19) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    const int d = c - '0';
    if (value > (std::numeric_limits<std::int64_t>::max() - d) / 10) return std::nullopt;
    value = value * 10 + d;
  }
  return value;
}

}  // namespace

std::string PeerHeader::encode() const {
  return kPrefix + checksum + "|" + std::to_string(totalSize) + "|" + std::to_string(offset) +
         kSuffix;
}

std::optional<PeerHeader> PeerHeader::decode(const std::uint8_t* body, std::size_t length) {
  if (!body) return std::nullopt;
  const std::string text(reinterpret_cast<const char*>(body), length);
  const std::string prefix = kPrefix;
  const std::string suffix = kSuffix;
  if (text.size() < prefix.size() + suffix.size() || text.compare(0, prefix.size(), prefix) != 0 ||
      text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return std::nullopt;
  }
  // What lies between is "<checksum>|<total>|<offset>".
  const std::string middle =
      text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
  const std::size_t first = middle.find('|');
  if (first == std::string::npos) return std::nullopt;
  const std::size_t second = middle.find('|', first + 1);
  if (second == std::string::npos || middle.find('|', second + 1) != std::string::npos) {
    return std::nullopt;
  }
  const auto total = parseSize(middle.substr(first + 1, second - first - 1));
  const auto offset = parseSize(middle.substr(second + 1));
  if (!total || !offset || *offset > *total) return std::nullopt;
  PeerHeader h;
  h.checksum = middle.substr(0, first);
  h.totalSize = *total;
  h.offset = *offset;
  return h;
}

}  // namespace pom
