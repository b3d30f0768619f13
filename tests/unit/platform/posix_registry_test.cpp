#include "platform/posix/posix_registry.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace pom {
namespace {

constexpr char kKey[] = "Software\\Pomvale2.0\\";

TEST(PosixRegistryTest, MissingValueGivesDefaultAndReportsFailure) {
  test::TempDir dir;
  PosixRegistry registry(dir.path());
  std::string value = "stale";
  EXPECT_FALSE(registry.readString(kKey, "uver", "0.9", 256, value));
  EXPECT_EQ(value, "0.9");
  EXPECT_FALSE(registry.readString(kKey, "uver", "0123456789", 4, value));
  EXPECT_EQ(value, "012");
}

TEST(PosixRegistryTest, ValuesRoundTripExactlyPerSubkey) {
  test::TempDir dir;
  PosixRegistry registry(dir.path());
  const std::string texts[] = {"1.0", " padded ", "", "line\r\nbreak", "quote\"s\\", "굴림체"};
  for (const std::string& text : texts) {
    ASSERT_TRUE(registry.writeString(kKey, "cver", text));
    std::string value;
    EXPECT_TRUE(registry.readString(kKey, "cver", "0.9", 256, value));
    EXPECT_EQ(value, text);
  }
  ASSERT_TRUE(registry.writeString("Software\\Other\\", "cver", "other"));
  std::string value;
  EXPECT_TRUE(registry.readString("software\\pomvale2.0\\", "CVER", "", 256, value));
  EXPECT_EQ(value, "굴림체");
  // A second instance sees what the first wrote: nothing is cached.
  PosixRegistry again(dir.path());
  EXPECT_TRUE(again.readString("Software\\Other\\", "cver", "", 3, value));
  EXPECT_EQ(value, "ot");
}

TEST(PosixRegistryTest, RefusesNamesThatWouldBreakTheFile) {
  test::TempDir dir;
  PosixRegistry registry(dir.path());
  EXPECT_FALSE(registry.writeString(kKey, "a=b", "x"));
  EXPECT_FALSE(registry.writeString("Key]\n[Other", "a", "x"));
  EXPECT_FALSE(registry.writeString(kKey, "", "x"));
}

}  // namespace
}  // namespace pom
