// Shared steps of every message codec: start a zero-filled body with its type,
// and check that a received body has the right type and length before any
// field is read. Internal to the catalogue.
#pragma once

#include <cstddef>
#include <cstdint>

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

}  // namespace body
}  // namespace pom
