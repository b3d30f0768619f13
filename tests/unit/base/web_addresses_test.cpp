// The member's web addresses keep their query intact whatever the id holds.
#include "core/base/web_addresses.h"

#include <gtest/gtest.h>

#include "core/base/servers.h"
#include "platform/posix/posix_profile.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

TEST(PercentEncodeTest, CopiesOnlyUnreservedBytes) {
  struct Case {
    const char* text;
    const char* encoded;
  } cases[] = {
      {"demo1", "demo1"},
      {"a-b_c.d~e", "a-b_c.d~e"},
      {"a&b=c d", "a%26b%3Dc%20d"},
      {"100%+#?/", "100%25%2B%23%3F%2F"},
      {"\xB0\xA1", "%B0%A1"},  // one CP949 Hangul character: both bytes
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(percentEncode(c.text), c.encoded) << c.text;
}

TEST(WebAddressesTest, EveryAddressEncodesTheMemberAndToken) {
  test::TempDir dir;
  PosixProfile profile{dir.path()};
  Servers servers(profile);
  const std::string id = "a&md6=x";
  EXPECT_EQ(noticePageUrl(servers, id),
            "http://127.0.0.1/help_desk/notice_program.asp?userid=a%26md6%3Dx");
  EXPECT_EQ(memoListUrl(servers, id, "t#1"),
            "http://127.0.0.1/memo/msg_list01.asp?userid=a%26md6%3Dx&md6=t%231");
  EXPECT_EQ(paymentUrl(servers, "demo1", "0123abcd"),
            "http://127.0.0.1/payment/pay.asp?userid=demo1&md6=0123abcd");
}

}  // namespace
}  // namespace pom
