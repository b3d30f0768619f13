// MD5 through CNG against the RFC 1321 test suite and one upload sample.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/net/messages/upload_messages.h"
#include "platform/win32/win32_md5.h"

namespace pom {
namespace {

TEST(Win32Md5, MatchesKnownDigests) {
  // The sample: "1\n2\n3" (`seq 3 | head -c 5`) in a zero-filled 65,536-byte
  // buffer; md5sum of (printf '1\n2\n3'; head -c 65531 /dev/zero).
  std::string sample(65536, '\0');
  sample.replace(0, 5, "1\n2\n3");
  struct Case {
    std::string data;
    const char* md5;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {sample, "6d084eaded8f52d071fd83f4dc7893c6"},
  };
  Win32Md5 md5;
  for (const Case& c : cases) {
    EXPECT_EQ(digestToHex(md5.digest(c.data.data(), c.data.size())), c.md5)
        << c.data.size() << " bytes";
  }
}

}  // namespace
}  // namespace pom
