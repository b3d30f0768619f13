// Md5: the MD5 message digest (RFC 1321) as the platform's library computes
// it (CNG on Windows, OpenSSL on POSIX). Pure computation; any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pom {

class Md5 {
 public:
  using Digest = std::array<std::uint8_t, 16>;
  virtual ~Md5() = default;
  // The digest of size bytes at data.
  virtual Digest digest(const void* data, std::size_t size) = 0;
};

}  // namespace pom
