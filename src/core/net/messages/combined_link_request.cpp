#include <cstdint>
#include <limits>
#include <string>

#include "core/net/messages/body_check.h"
#include "core/net/messages/requests.h"
#include "core/net/wire.h"

namespace pom {
namespace {

constexpr std::size_t kTextOffset = 4;
constexpr std::size_t kTextField = 221;

// One decimal id with an optional minus sign, within int32.
std::optional<std::int32_t> parseId(const std::string& digits) {
  std::size_t i = 0;
  const bool negative = !digits.empty() && digits[0] == '-';
  if (negative) i = 1;
  if (i == digits.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < digits.size(); ++i) {
    const char c = digits[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

Bytes CombinedLinkRequest::encode() const {
  std::string text;
  for (std::size_t i = 0; i < fileIds.size() && i < kMaxFiles; ++i) {
    if (i > 0) text += ',';
    text += std::to_string(fileIds[i]);
  }
  // Ten int32 ids with their commas take at most 119 bytes: the text always
  // fits the field.
  auto out = body::start(kType, kSize);
  out.text(kTextOffset, kTextField, text);
  return out.take();
}

std::optional<CombinedLinkRequest> CombinedLinkRequest::decode(const std::uint8_t* data,
                                                               std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  const std::string text = in.text(kTextOffset, kTextField);
  CombinedLinkRequest m;
  if (text.empty()) return m;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string piece =
        text.substr(start, comma == std::string::npos ? comma : comma - start);
    const auto id = parseId(piece);
    if (!id || m.fileIds.size() == kMaxFiles) return std::nullopt;
    m.fileIds.push_back(*id);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return m;
}

}  // namespace pom
