#include "core/mainwindow/status_panel.h"

#include <gtest/gtest.h>

#include "core/base/web_token.h"
#include "core/mainwindow/ad_line.h"
#include "support/fake_ports.h"

namespace pom {
namespace {

TEST(StatusPanelTest, PointsHaveThousandsSeparatorsAndNegativeShowsZero) {
  EXPECT_EQ(formatPoints(1200000), "1,200,000P");
  EXPECT_EQ(formatPoints(999), "999P");
  EXPECT_EQ(formatPoints(1000), "1,000P");
  EXPECT_EQ(formatPoints(0), "0P");
  EXPECT_EQ(formatPoints(-1), "0P");
  EXPECT_EQ(formatPoints(INT64_MIN), "0P");
}

TEST(StatusPanelTest, ConnectionKindTexts) {
  EXPECT_EQ(connectionKindText(0), "접속안됨");
  EXPECT_EQ(connectionKindText(5), "접속안됨");
  for (int kind = 1; kind <= 4; ++kind) EXPECT_EQ(connectionKindText(kind), "정액제접속");
  EXPECT_EQ(connectionKindText(6), "");
  EXPECT_EQ(connectionKindText(-1), "");
  EXPECT_EQ(memberLine("demo1"), "demo1님");
}

TEST(WebTokenTest, FollowsTheRunningRemainder) {
  // 'a' = 97: v = 291 + 0 + 24 = 315, r = 315 % 47 = 33;
  // 'b' = 98: v = 294 + 33 + 24 = 351, r = 318 % 47 = 36.
  EXPECT_EQ(makeWebToken("ab"), "315351");
  EXPECT_EQ(makeWebToken(""), "");
  // A byte from 128 up counts as negative: 0xB0 = -80: v = -240 + 24 = -216,
  // r = -216 % 47 = -28 (sign of the dividend); then '1' = 49: 147 - 28 + 24.
  EXPECT_EQ(makeWebToken("\xB0"
                         "1"),
            "-216143");
}

TEST(AdLineTest, PieceTwoIsTheLinkTheRestTheText) {
  AdLine line = parseAdLine("Hello |world|http://x/ad|!");
  EXPECT_EQ(line.link, "http://x/ad");
  EXPECT_EQ(line.text, "Hello world!");
  line = parseAdLine("||a||b|||c|d");  // empty pieces do not count
  EXPECT_EQ(line.link, "c");
  EXPECT_EQ(line.text, "abd");
  line = parseAdLine("only");
  EXPECT_EQ(line.text, "only");
  EXPECT_EQ(line.link, "");
}

TEST(AdLineTest, KeepsAtMost1023BytesAndFailuresLeaveItEmpty) {
  const std::string body = "a|b|" + std::string(1019, 'l') + "TAIL";
  EXPECT_EQ(parseAdLine(body).link, std::string(1019, 'l'));

  FakeHttpClient http;
  http.reply("127.0.0.1:8080", "/Ad/index.asp", "x|y|z");
  AdLine line = fetchAdLine(http, "127.0.0.1:8080");
  EXPECT_EQ(line.link, "z");
  EXPECT_EQ(http.requests[0].agent, "HTTPTEST");
  EXPECT_EQ(http.requests[0].method, "GET");
  EXPECT_EQ(http.maxBodies[0], 1023u);

  EXPECT_EQ(fetchAdLine(http, "127.0.0.9").text, "");  // not reachable
  http.reply("127.0.0.1", "/Ad/index.asp", "Not Found|x|y", 404);
  EXPECT_EQ(fetchAdLine(http, "127.0.0.1").text, "");
}

}  // namespace
}  // namespace pom
