// Code page 949 conversions through the platform's own tables.
#include <gtest/gtest.h>

#include "core/ports/text_codec.h"
#include "platform/win32/wide_text.h"

namespace pom {
namespace {

TEST(Win32TextCodec, HangulConvertsBothWays) {
  // The narrow literal is CP949 bytes (the build's execution character set).
  const std::string cp949 = "한글 ABC 굴림체";
  EXPECT_EQ(cp949.substr(0, 4), "\xC7\xD1\xB1\xDB");
  EXPECT_EQ(cp949ToUtf16(cp949), u"한글 ABC 굴림체");
  EXPECT_EQ(utf16ToCp949(u"한글 ABC 굴림체"), cp949);
  EXPECT_EQ(cp949ToUtf8(cp949), std::string(u8"한글 ABC 굴림체"));
  EXPECT_EQ(utf8ToCp949(u8"한글 ABC 굴림체"), cp949);
  EXPECT_EQ(widen(cp949), L"한글 ABC 굴림체");
  EXPECT_EQ(narrow(L"한글 ABC 굴림체"), cp949);
  EXPECT_EQ(cp949ToUtf16(""), u"");
  EXPECT_EQ(utf16ToCp949(u""), "");
}

TEST(Win32TextCodec, BytesThatDoNotConvertAreReplaced) {
  EXPECT_EQ(cp949ToUtf16("A\xFF"
                         "B"),
            u"A\uFFFDB");
  EXPECT_EQ(cp949ToUtf16("AB\xC7"), u"AB\uFFFD");  // lone lead byte at the end
  EXPECT_EQ(cp949ToUtf16("\xC7\xD1\xFF"), u"한\uFFFD");
  EXPECT_EQ(utf16ToCp949(u"a\u0E01b"), "a?b");  // Thai has no CP949 form
  EXPECT_EQ(utf16ToCp949(u"\u00E9"), "?");      // no best-fit 'e'
  EXPECT_EQ(utf8ToCp949("x\xFFy"), "x?y");      // invalid UTF-8
}

TEST(Win32TextCodec, CutsNeverSplitACharacter) {
  const std::string text = "a한b글";  // 1 + 2 + 1 + 2 bytes
  EXPECT_EQ(cutCp949(text, 6), text);
  EXPECT_EQ(cutCp949(text, 5), "a한b");
  EXPECT_EQ(cutCp949(text, 2), "a");
  EXPECT_EQ(cutCp949(text, 3), "a한");
  EXPECT_EQ(cutCp949(text, 0), "");
}

}  // namespace
}  // namespace pom
