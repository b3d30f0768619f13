// Shared steps of every message codec: start a zero-filled body with its type,
// and check that a received body has the right type and length before any
// field is read. Internal to the catalogue.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "core/net/wire.h"

namespace pom {
namespace body {

template <typename Type>
WireWriter start(Type type, std::size_t size) {
  WireWriter out(size);
  out.i32(0, static_cast<std::int32_t>(type));
  return out;
}

// A fixed-size body: exactly `size` bytes of the given type.
template <typename Type>
bool isExact(const WireReader& in, Type type, std::size_t size) {
  return in.length() == size && in.i32(0) == static_cast<std::int32_t>(type);
}

// A body of at least `size` bytes (a list head, or a message acted on
// whatever its length).
template <typename Type>
bool isAtLeast(const WireReader& in, Type type, std::size_t size) {
  return in.length() >= size && in.has(0, 4) && in.i32(0) == static_cast<std::int32_t>(type);
}

// Bodies that carry an int32 byte count at 4 and the bytes from 8 (file
// data and upload chunks).
constexpr std::size_t kCountedHead = 8;

template <typename Type>
std::vector<std::uint8_t> encodeCounted(Type type, const std::vector<std::uint8_t>& bytes) {
  const std::size_t n =
      std::min<std::size_t>(bytes.size(), std::numeric_limits<std::int32_t>::max() - kCountedHead);
  auto out = start(type, kCountedHead + n);
  out.i32(4, static_cast<std::int32_t>(n));
  out.bytes(kCountedHead, bytes.data(), n);
  return out.take();
}

// The counted bytes inside the body, without copying. The count comes from
// the other side: a negative one, or one that runs past the received body,
// refuses the message rather than letting a writer read outside the buffer.
// Bytes past 8 + n are ignored.
template <typename Type>
std::optional<std::pair<const std::uint8_t*, std::size_t>> viewCounted(const std::uint8_t* data,
                                                                       std::size_t length,
                                                                       Type type) {
  WireReader in(data, length);
  if (!isAtLeast(in, type, kCountedHead)) return std::nullopt;
  const std::int32_t n = in.i32(4);
  if (n < 0 || !in.has(kCountedHead, static_cast<std::size_t>(n))) return std::nullopt;
  return std::make_pair(in.at(kCountedHead), static_cast<std::size_t>(n));
}

}  // namespace body
}  // namespace pom
