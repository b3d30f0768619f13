// The peer-list rules on their own: which files ask, the request path, which
// reply pieces are peers, the shuffle and the speed a peer must keep up.
#include <gtest/gtest.h>

#include "core/transfer/peer_list.h"
#include "support/fake_ports.h"

namespace pom {
namespace {

TEST(PeerList, OnlyFilesAboveTenMebibytesAskAndThePathCarriesTheLowWordSigned) {
  EXPECT_FALSE(wantsPeers(10485760));
  EXPECT_TRUE(wantsPeers(10485761));
  EXPECT_FALSE(wantsPeers(-1));
  const std::string code = "0123456789abcdefABCDEF0123456789";
  EXPECT_EQ(peerListPath(code, 12582912), "/search.asp?chksum=" + code + "12582912");
  // 3 GiB: the low word read as a signed number.
  EXPECT_EQ(peerListPath(code, 3221225472LL), "/search.asp?chksum=" + code + "-1073741824");
  // 4 GiB + 5: only the low word.
  EXPECT_EQ(peerListPath(code, 4294967301LL), "/search.asp?chksum=" + code + "5");
}

TEST(PeerList, ChecksumIsThirtyTwoLettersAndDigits) {
  EXPECT_TRUE(validChecksum("0123456789abcdefABCDEF0123456789"));
  EXPECT_FALSE(validChecksum("0123456789abcdefABCDEF012345678"));
  EXPECT_FALSE(validChecksum("0123456789abcdefABCDEF01234567890"));
  EXPECT_FALSE(validChecksum("0123456789abcdef&BCDEF0123456789"));
  EXPECT_FALSE(validChecksum(""));
}

TEST(PeerList, RepliesAreSplitAtBarsAndOnlyDottedAddressesKept) {
  struct Case {
    std::string body;
    std::vector<std::string> peers;
  };
  const std::vector<Case> cases = {
      {"127.0.0.11|127.0.0.12|127.0.0.13", {"127.0.0.11", "127.0.0.12", "127.0.0.13"}},
      {"|127.0.0.11||127.0.0.12|", {"127.0.0.11", "127.0.0.12"}},
      {"0.0.0.0|255.255.255.255", {"0.0.0.0", "255.255.255.255"}},
      {"256.1.1.1|1.2.3|1.2.3.4.5|1.2.3.|.1.2.3|1..2.3", {}},
      {"1.2.3.4 |+1.2.3.4|1.2.3.-4|1.2.3.4:80|a.b.c.d|1.2.3.0004", {}},
      {"host.example|10.0.0.1\r\n|10.0.0.2", {"10.0.0.2"}},
      {"", {}},
      {"|", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(parsePeerList(c.body), c.peers) << c.body;

  std::string many;
  for (int i = 0; i < 40; ++i) many += "10.0.0." + std::to_string(i) + "|";
  const auto capped = parsePeerList(many);
  ASSERT_EQ(capped.size(), kMaxPeers);
  EXPECT_EQ(capped.front(), "10.0.0.0");
}

TEST(PeerList, ShuffleDrawsFromTheGenerator) {
  FakeRandom random;
  random.values = {0, 0};  // last swapped with first, then the middle with first
  std::vector<std::string> peers = {"a", "b", "c"};
  shufflePeers(peers, random);
  EXPECT_EQ(peers, (std::vector<std::string>{"b", "c", "a"}));
}

TEST(PeerList, RequiredSpeedFollowsTheIntegerPartOfTheUsualSpeed) {
  const std::vector<std::pair<double, double>> table = {
      {11.0, 4.0}, {10.9, 2.5}, {10.0, 2.5}, {5.9, 1.5}, {5.0, 1.5}, {3.9, 1.0},
      {3.0, 1.0},  {2.0, 0.5},  {1.9, 0.1},  {1.0, 0.1}, {0.9, 0.0}, {-1.0, 0.0},
  };
  for (const auto& [usual, required] : table) {
    EXPECT_DOUBLE_EQ(requiredPeerSpeed(usual), required) << usual;
  }
}

}  // namespace
}  // namespace pom
