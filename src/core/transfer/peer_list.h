// Peer-list rules: when a file is worth asking peers for, the request path,
// which reply pieces are peer addresses, the shuffle, and the speed a peer
// must keep up compared with the member's usual server speed.
//
// Pure functions (the shuffle draws from the Random port it is given), so
// the rules are tested on their own. Loop thread only, like their callers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pom {

class Random;

// Files above this size may come from peers; this size and below never ask.
inline constexpr std::int64_t kPeerMinimumSize = 10485760;
// A peer list longer than this is cut: each entry may cost a connection
// attempt, and a hostile list must not make the client hold thousands.
inline constexpr std::size_t kMaxPeers = 16;
inline constexpr std::size_t kChecksumLength = 32;

bool wantsPeers(std::int64_t totalSize);
// "/search.asp?chksum=<checksum><low 32 bits of totalSize, signed decimal>".
std::string peerListPath(const std::string& checksum, std::int64_t totalSize);
// Exactly 32 ASCII letters and digits: the code goes into a request path.
bool validChecksum(const std::string& checksum);
// Four decimal parts 0..255 separated by dots, nothing else.
bool validPeerAddress(const std::string& text);
// The reply split at every "|": non-empty pieces that are dotted IPv4
// addresses, at most kMaxPeers, in the reply's order.
std::vector<std::string> parsePeerList(const std::string& body);
// Puts the list in random order (Fisher-Yates on the generator's values).
void shufflePeers(std::vector<std::string>& peers, Random& random);
// The peer speed (Mbps) below which a peer counts as slow, from the integer
// part of the usual server speed.
double requiredPeerSpeed(double usualMbps);

}  // namespace pom
