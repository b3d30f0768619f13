// PosixMd5: the Md5 port over OpenSSL's EVP digest interface. Keeps no
// state between calls; any thread.
#pragma once

#include "core/ports/md5.h"

namespace pom {

class PosixMd5 final : public Md5 {
 public:
  Digest digest(const void* data, std::size_t size) override;
};

}  // namespace pom
