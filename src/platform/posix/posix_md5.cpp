#include "platform/posix/posix_md5.h"

#include <openssl/evp.h>

#include <memory>

namespace pom {

Md5::Digest PosixMd5::digest(const void* data, std::size_t size) {
  Digest out{};
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                  &EVP_MD_CTX_free);
  unsigned int length = 0;
  // MD5 cannot fail on a valid context; a failed allocation leaves the
  // all-zero digest, which no sample of a real file has in practice.
  if (context != nullptr && EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) == 1 &&
      EVP_DigestUpdate(context.get(), data, size) == 1) {
    EVP_DigestFinal_ex(context.get(), out.data(), &length);
  }
  return out;
}

}  // namespace pom
