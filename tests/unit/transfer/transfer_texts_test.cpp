#include "core/transfer/transfer_texts.h"

#include <gtest/gtest.h>

namespace pom {
namespace {

TEST(TransferTexts, PercentNeverDividesByZeroNorPassesAHundred) {
  struct Case {
    std::int64_t received, total;
    int percent;
  } cases[] = {
      {0, 0, 0},         {0, 100, 0},       {100, 100, 100},
      {500, 1000, 0},    {1536, 3072, 33},  {2048, 4096, 50},
      {4096, 3072, 100}, {1023, 1023, 100}, {std::int64_t{9} << 31, std::int64_t{6} << 32, 75},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(transferPercent(c.received, c.total), c.percent) << c.received << "/" << c.total;
  }
  EXPECT_EQ(percentText(7), "7% ");
  EXPECT_EQ(speedText(2.25), "2.2Mbps");
}

TEST(TransferTexts, TheBarStaysInItsFrame) {
  EXPECT_EQ(barPixels(1, 2), 300);
  EXPECT_EQ(barPixels(3, 2), 600);
  EXPECT_EQ(barPixels(5, 0), 0);
  EXPECT_EQ(clockText(100 * 3600 + 61), "100:01:01");
}

TEST(TransferTexts, MediaExtensionsAreExactIncludingCase) {
  for (const char* name : {"a.avi", "b.c.mp3", "x.mpeg", "y.wvx", "z.divx"}) {
    EXPECT_TRUE(isMediaName(name)) << name;
  }
  for (const char* name : {"a.MP3", ".mp3", "mp3", "a.mp3.txt", "a.", "a.mp"}) {
    EXPECT_FALSE(isMediaName(name)) << name;
  }
}

}  // namespace
}  // namespace pom
