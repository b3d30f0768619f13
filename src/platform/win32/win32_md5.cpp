#include "platform/win32/win32_md5.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include <limits>

namespace pom {
namespace {

constexpr bool succeeded(NTSTATUS status) {
  return status >= 0;
}

}  // namespace

Win32Md5::Win32Md5() {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (succeeded(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0))) {
    algorithm_ = algorithm;
  }
}

Win32Md5::~Win32Md5() {
  if (algorithm_ != nullptr) BCryptCloseAlgorithmProvider(algorithm_, 0);
}

Md5::Digest Win32Md5::digest(const void* data, std::size_t size) {
  // A provider that could not be opened, or a failed step, leaves the
  // all-zero digest, which no sample of a real file has in practice.
  Digest out{};
  if (algorithm_ == nullptr) return out;
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (!succeeded(BCryptCreateHash(algorithm_, &hash, nullptr, 0, nullptr, 0, 0))) return out;
  // BCryptHashData takes at most 4 GiB - 1 per call.
  auto* bytes = static_cast<PUCHAR>(const_cast<void*>(data));
  bool ok = true;
  while (ok && size > 0) {
    const ULONG part = size > std::numeric_limits<ULONG>::max() ? std::numeric_limits<ULONG>::max()
                                                                : static_cast<ULONG>(size);
    ok = succeeded(BCryptHashData(hash, bytes, part, 0));
    bytes += part;
    size -= part;
  }
  Digest result{};
  if (ok &&
      succeeded(BCryptFinishHash(hash, result.data(), static_cast<ULONG>(result.size()), 0))) {
    out = result;
  }
  BCryptDestroyHash(hash);
  return out;
}

}  // namespace pom
