#include <gtest/gtest.h>

#include "core/ports/text_codec.h"

namespace pom {
namespace {

TEST(PosixTextCodecTest, ConvertsHangulBothWays) {
  const std::string cp949 = "굴림체 A1";  // narrow literals are CP949 in this build
  EXPECT_EQ(cp949, "\xB1\xBC\xB8\xB2\xC3\xBC A1");
  EXPECT_EQ(cp949ToUtf16(cp949), u"굴림체 A1");
  EXPECT_EQ(utf16ToCp949(u"굴림체 A1"), cp949);
  EXPECT_EQ(cp949ToUtf8(cp949), u8"굴림체 A1");
  EXPECT_EQ(utf8ToCp949(u8"굴림체 A1"), cp949);
  EXPECT_EQ(cp949ToUtf16(""), u"");
}

TEST(PosixTextCodecTest, BadInputIsReplacedNotDropped) {
  // 0xFF is never a CP949 byte; a lone lead byte at the end is incomplete.
  EXPECT_EQ(cp949ToUtf16("a\xFF"
                         "b"),
            u"a\uFFFDb");
  EXPECT_EQ(cp949ToUtf16("a\xB1"), u"a\uFFFD");
  // Thai has no CP949 form; the text goes on after it.
  EXPECT_EQ(utf16ToCp949(u"x\u0E01y"), "x?y");
  EXPECT_EQ(utf8ToCp949("x\xC3y"), "x?y");
}

}  // namespace
}  // namespace pom
