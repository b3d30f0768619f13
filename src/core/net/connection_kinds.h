// ConnectionKind: buffer capacities, cipher use and notification message
// numbers of the four kinds of connection the client keeps.
//
//   MainServer  the login-server session        262,144 / 262,144  enciphered  1034
//   Download    storage download, slot 0..2     131,072 / 1,050,624           1054 + slot
//   Upload      storage upload, slot 0..2     1,050,624 / 131,072             1044 + slot
//   Peer        raw reads from a peer, slot 0..2 131,072 / 32,768             1064 + slot
//
// The capacities are part of the behaviour: a message that does not fit in the
// send buffer is refused, and a packet must be smaller than the receive buffer.
#pragma once

#include <cstdint>

namespace pom {

struct ConnectionKind {
  std::uint32_t sendCapacity;
  std::uint32_t receiveCapacity;
  bool enciphered;
  std::uint32_t messageBase;

  constexpr std::uint32_t messageNumber(std::uint32_t slot = 0) const { return messageBase + slot; }
};

inline constexpr ConnectionKind kMainServerKind{262144, 262144, true, 1034};
inline constexpr ConnectionKind kDownloadSessionKind{131072, 1050624, false, 1054};
inline constexpr ConnectionKind kUploadSessionKind{1050624, 131072, false, 1044};
inline constexpr ConnectionKind kPeerConnectionKind{131072, 32768, false, 1064};

}  // namespace pom
