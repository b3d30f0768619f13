#include "core/transfer/peer_list.h"

#include <utility>

#include "core/ports/random.h"

namespace pom {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isAlnum(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

bool wantsPeers(std::int64_t totalSize) {
  return totalSize > kPeerMinimumSize;
}

std::string peerListPath(const std::string& checksum, std::int64_t totalSize) {
  // The service keys files by the code and the low word of the size, as a
  // signed 32-bit number (a file of 3 GiB gives a negative one).
  const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(totalSize & 0xFFFFFFFF));
  return "/search.asp?chksum=" + checksum + std::to_string(low);
}

bool validChecksum(const std::string& checksum) {
  if (checksum.size() != kChecksumLength) return false;
  for (char c : checksum) {
    if (!isAlnum(c)) return false;
  }
  return true;
}

bool validPeerAddress(const std::string& text) {
  int parts = 0;
  std::size_t at = 0;
  while (true) {
    std::size_t digits = 0;
    int value = 0;
    while (at < text.size() && isDigit(text[at]) && digits < 4) {
      value = value * 10 + (text[at] - '0');
      ++digits;
      ++at;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    ++parts;
    if (at == text.size()) return parts == 4;
    if (text[at] != '.' || parts == 4) return false;
    ++at;
  }
}

std::vector<std::string> parsePeerList(const std::string& body) {
  std::vector<std::string> peers;
  std::size_t start = 0;
  while (start <= body.size() && peers.size() < kMaxPeers) {
    std::size_t end = body.find('|', start);
    if (end == std::string::npos) end = body.size();
    const std::string piece = body.substr(start, end - start);
    if (validPeerAddress(piece)) peers.push_back(piece);
    start = end + 1;
  }
  return peers;
}

void shufflePeers(std::vector<std::string>& peers, Random& random) {
  for (std::size_t i = peers.size(); i > 1; --i) {
    const auto pick = static_cast<std::size_t>(random.next()) % i;
    std::swap(peers[i - 1], peers[pick]);
  }
}

double requiredPeerSpeed(double usualMbps) {
  const auto m = static_cast<long long>(usualMbps);
  if (m > 10) return 4.0;
  if (m > 5) return 2.5;
  if (m > 3) return 1.5;
  if (m > 2) return 1.0;
  if (m > 1) return 0.5;
  if (m > 0) return 0.1;
  return 0.0;
}

}  // namespace pom
