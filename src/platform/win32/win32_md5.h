// Win32Md5: the Md5 port over CNG (the MD5 algorithm provider, opened once
// and kept for the life of the object). GUI thread, like every port.
#pragma once

#include "core/ports/md5.h"

namespace pom {

class Win32Md5 final : public Md5 {
 public:
  Win32Md5();
  ~Win32Md5() override;
  Win32Md5(const Win32Md5&) = delete;
  Win32Md5& operator=(const Win32Md5&) = delete;

  Digest digest(const void* data, std::size_t size) override;

 private:
  void* algorithm_ = nullptr;  // BCRYPT_ALG_HANDLE
};

}  // namespace pom
