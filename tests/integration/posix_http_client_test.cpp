// The POSIX HTTP client against the local service's web side over loopback.
#include "platform/posix/posix_http_client.h"

#include <gtest/gtest.h>

#include "support/service_fixture.h"

namespace pom {
namespace {

using testing_support::ServiceFixture;

class PosixHttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
    web_ = service_.ports().webHost + ":" + std::to_string(service_.ports().webPort);
  }
  ServiceFixture service_;
  std::string web_;
  PosixHttpClient http_{3000};
};

TEST_F(PosixHttpClientTest, GetReadsStatusLengthAndBody) {
  const HttpResponse reply = http_.get(web_, "/Ad/index.asp", "HTTPTEST", 1023);
  ASSERT_TRUE(reply.sent);
  EXPECT_EQ(reply.status, 200);
  ASSERT_TRUE(reply.hasContentLength);
  EXPECT_EQ(reply.contentLength, static_cast<std::int64_t>(reply.body.size()));
  EXPECT_NE(reply.body.find("|http://"), std::string::npos);
}

TEST_F(PosixHttpClientTest, BodyIsCutToTheLimitButTheLengthIsReported) {
  const HttpResponse reply = http_.get(web_, "/Ad/index.asp", "HTTPTEST", 10);
  ASSERT_TRUE(reply.sent);
  EXPECT_EQ(reply.body.size(), 10u);
  EXPECT_GT(reply.contentLength, 10);
}

TEST_F(PosixHttpClientTest, MissingPageGivesItsStatus) {
  const HttpResponse reply = http_.get(web_, "/no/such/page.asp", "", 1023);
  ASSERT_TRUE(reply.sent);
  EXPECT_EQ(reply.status, 404);
}

TEST_F(PosixHttpClientTest, PostSendsTheBodyWithTheCallersHeaders) {
  HttpRequest request;
  request.method = "POST";
  request.host =
      service_.ports().naturalSearchHost + ":" + std::to_string(service_.ports().webPort);
  request.path = "/Pomvale/Search.asp";
  const std::string body = "Keyword=demo";
  request.headers =
      "Accept: text/*\r\nContent-type: application/x-www-form-urlencoded\r\nContent-length: " +
      std::to_string(body.size()) + "\r\n\n";
  request.body = body;
  const HttpResponse reply = http_.send(request, 65536);
  ASSERT_TRUE(reply.sent);
  EXPECT_EQ(reply.status, 200);
}

TEST_F(PosixHttpClientTest, SpoiltAnswersShowAsSuch) {
  const std::string path = "/UpdateFiles/CverChk.dat";
  service_.faults().set("update_cver", "1.2.3.4");
  // A cut body is shorter than its length; bytes past the length are dropped.
  service_.faults().set("http_fault", "cut@" + path, 1);
  HttpResponse reply = http_.get(web_, path, "", 1023);
  ASSERT_TRUE(reply.sent);
  EXPECT_EQ(reply.contentLength, 7);
  EXPECT_EQ(reply.body, "1.2");
  service_.faults().set("http_fault", "long@" + path, 1);
  reply = http_.get(web_, path, "", 1023);
  EXPECT_EQ(reply.contentLength, 7);
  EXPECT_EQ(reply.body, "1.2.3.4");
  // A route the switch does not name is untouched, and the switch was used up.
  service_.faults().set("http_fault", "500@/Ad/index.asp", 1);
  EXPECT_EQ(http_.get(web_, path, "", 1023).status, 200);
  EXPECT_EQ(http_.get(web_, "/Ad/index.asp", "", 1023).status, 500);
  EXPECT_EQ(http_.get(web_, "/Ad/index.asp", "", 1023).status, 200);
}

TEST_F(PosixHttpClientTest, TheTimeoutBoundsTheWholeRequest) {
  // Each byte comes well within the timeout, the whole body does not.
  service_.faults().set("update_cver", "1.2.3.4");
  service_.faults().set("http_dribble_ms", "400");
  service_.faults().set("http_fault", "dribble", 1);
  HttpRequest request;
  request.host = web_;
  request.path = "/UpdateFiles/CverChk.dat";
  request.timeoutMs = 1000;
  EXPECT_FALSE(http_.send(request, 1023).sent);
  service_.faults().set("http_stall_ms", "3000");
  service_.faults().set("http_fault", "stall", 1);
  EXPECT_FALSE(http_.send(request, 1023).sent);
  EXPECT_EQ(http_.send(request, 1023).body, "1.2.3.4");
}

TEST_F(PosixHttpClientTest, UnreachableServerIsNotSent) {
  service_.stop();
  const HttpResponse reply = http_.get(web_, "/Ad/index.asp", "HTTPTEST", 1023);
  EXPECT_FALSE(reply.sent);
  EXPECT_TRUE(reply.body.empty());
  EXPECT_FALSE(http_.get("no-such-host.invalid", "/", "", 10).sent);
}

}  // namespace
}  // namespace pom
