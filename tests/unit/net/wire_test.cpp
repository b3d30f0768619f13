#include "core/net/wire.h"

#include <gtest/gtest.h>

#include <vector>

namespace pom {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(WireWriter, WritesLittleEndianAtOffsetsOverZeroFill) {
  WireWriter out(24);
  out.u8(0, 0xAB);
  out.u16(1, 0x1234);
  out.i16(3, -2);
  out.i32(5, -1);
  out.u32(9, 0x01020304);
  out.i64(13, 0x0102030405060708LL);
  const Bytes expected = {0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02,
                          0x01, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x00};
  EXPECT_EQ(out.data(), expected);
}

TEST(WireWriter, DropsWritesThatDoNotFit) {
  WireWriter out(6);
  out.i32(3, 0x11223344);     // would end at 7
  out.i64(0, -1);             // would end at 8
  out.text(4, 10, "abcdef");  // clipped as a whole, never partially
  out.u8(6, 1);
  EXPECT_EQ(out.data(), Bytes(6, 0));
  out.u16(4, 0xBEEF);  // ends exactly at the end
  EXPECT_EQ(out.data(), (Bytes{0, 0, 0, 0, 0xEF, 0xBE}));
}

TEST(WireWriter, TextIsCutToFieldSizeMinusOneAndZeroPadded) {
  WireWriter out(8);
  out.text(1, 4, "abcdef");  // field 1..4: "abc" and a zero
  out.text(5, 3, "");
  EXPECT_EQ(out.data(), (Bytes{0, 'a', 'b', 'c', 0, 0, 0, 0}));
  WireWriter raw(5);
  raw.raw(0, 5, "12345678");  // raw fills the field with no terminator
  EXPECT_EQ(raw.data(), (Bytes{'1', '2', '3', '4', '5'}));
}

TEST(WireWriter, GrowAppendsZerosAndReturnsTheirOffset) {
  WireWriter out(3);
  EXPECT_EQ(out.grow(2), 3u);
  out.u16(3, 0x0201);
  EXPECT_EQ(out.take(), (Bytes{0, 0, 0, 1, 2}));
}

TEST(WireReader, ReadsLittleEndianAndYieldsZeroOutsideTheBody) {
  const Bytes body = {0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 0x01,
                      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80};
  WireReader in(body.data(), body.size());
  EXPECT_EQ(in.i16(0), -2);
  EXPECT_EQ(in.u16(0), 0xFFFE);
  EXPECT_EQ(in.u32(2), 0x12345678u);
  EXPECT_EQ(in.i64(6), static_cast<std::int64_t>(0x8000000000000001ULL));
  EXPECT_EQ(in.i64(7), 0);             // one byte short
  EXPECT_EQ(in.u8(14), 0);             // just past the end
  EXPECT_EQ(in.i32(SIZE_MAX - 1), 0);  // offset arithmetic must not wrap
  EXPECT_TRUE(in.has(14, 0));
  EXPECT_FALSE(in.has(13, 2));
  EXPECT_FALSE(in.has(SIZE_MAX, 2));
}

TEST(WireReader, TextStopsAtFirstZeroInsideFieldAndAtBodyEnd) {
  const Bytes body = {'a', 'b', 0, 'c', 'x', 'y', 'z', 'w'};
  WireReader in(body.data(), body.size());
  EXPECT_EQ(in.text(0, 4), "ab");
  EXPECT_EQ(in.text(3, 3), "cxy");   // full field without a zero
  EXPECT_EQ(in.text(5, 21), "yzw");  // field runs past the body: read what is there
  EXPECT_EQ(in.text(8, 4), "");
  EXPECT_EQ(in.bytes(1, 3), std::string("b\0c", 3));
  EXPECT_EQ(in.bytes(6, 3), "");
}

TEST(WireReader, NullBodyReadsAsEmpty) {
  WireReader in(nullptr, 100);
  EXPECT_EQ(in.length(), 0u);
  EXPECT_EQ(in.i32(0), 0);
  EXPECT_EQ(in.text(0, 10), "");
}

}  // namespace
}  // namespace pom
