#include "core/base/servers.h"

#include <gtest/gtest.h>

#include "platform/posix/posix_profile.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

TEST(ParseHostPortTest, AcceptsHostAndOptionalPort) {
  struct Case {
    const char* text;
    bool ok;
    const char* host;
    std::uint16_t port;
  } cases[] = {
      {"127.0.0.1", true, "127.0.0.1", 80},
      {"127.0.0.1:8080", true, "127.0.0.1", 8080},
      {"localhost:65535", true, "localhost", 65535},
      {"", false, "", 0},
      {":80", false, "", 0},
      {"host:", false, "", 0},
      {"host:0", false, "", 0},
      {"host:65536", false, "", 0},
      {"host:8o", false, "", 0},
      {"host:-1", false, "", 0},
      {"a:1:2", false, "", 0},
      {"a b:80", false, "", 0},
      {"a/b", false, "", 0},
  };
  for (const Case& c : cases) {
    HostPort out{"unchanged", 1};
    EXPECT_EQ(parseHostPort(c.text, 80, out), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(out.host, c.host) << c.text;
      EXPECT_EQ(out.port, c.port) << c.text;
    } else {
      EXPECT_EQ(out.host, "unchanged") << c.text;
    }
  }
}

class ServersTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  PosixProfile profile_{dir_.path()};
  Servers servers_{profile_};
};

TEST_F(ServersTest, DefaultsPointAtLoopback) {
  EXPECT_EQ(servers_.loginHost(0), "127.0.0.1");
  EXPECT_EQ(servers_.loginHost(1), "127.0.0.2");
  for (Server s : {Server::UpdateServer, Server::WebSite, Server::ClubSite, Server::FileBoxSite,
                   Server::PaymentSite, Server::PeerList}) {
    EXPECT_EQ(servers_.http(s).host, "127.0.0.1") << serverKeyName(s);
    EXPECT_EQ(servers_.http(s).port, 80) << serverKeyName(s);
  }
  EXPECT_EQ(servers_.http(Server::NaturalSearch).host, "127.0.0.10");
  for (int octet : {7, 8, 9}) {
    EXPECT_EQ(servers_.normalSearch(octet).host, "127.0.0." + std::to_string(octet));
  }
  EXPECT_EQ(servers_.peerPort(), 4881);
}

TEST_F(ServersTest, SettingsOverrideAndMalformedValuesFallBack) {
  dir_.write("PomConfig.ini",
             "[Config]\nUserId=x\n[servers]\nLoginHost1=10.0.0.5\nWebSite= 127.0.0.1:8081 \n"
             "UpdateServer=bad:port\nSearchPrefix=127.0.1.:9000\nPeerPort=5000\n"
             "PeerList=127.0.0.3:8082\n");
  EXPECT_EQ(servers_.loginHost(0), "127.0.0.1");
  EXPECT_EQ(servers_.loginHost(1), "10.0.0.5");
  EXPECT_EQ(servers_.http(Server::WebSite).port, 8081);
  EXPECT_EQ(servers_.http(Server::UpdateServer).host, "127.0.0.1");
  EXPECT_EQ(servers_.http(Server::UpdateServer).port, 80);
  const HostPort search = servers_.normalSearch(8);
  EXPECT_EQ(search.host, "127.0.1.8");
  EXPECT_EQ(search.port, 9000);
  EXPECT_EQ(servers_.peerPort(), 5000);
  EXPECT_EQ(servers_.http(Server::PeerList).host, "127.0.0.3");
  dir_.write("PomConfig.ini", "[Servers]\nPeerPort=99999\n");
  EXPECT_EQ(servers_.peerPort(), 4881);
}

}  // namespace
}  // namespace pom
