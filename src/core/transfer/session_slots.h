// SessionSlots: the three data-session connections of one kind (downloads,
// uploads or peers), one per transfer slot, each under its own message number
// (kind base + slot) and registered with the top window's fan-out in slot
// order. Created and deleted as one array; the protocol state machines that
// drive the sessions become their handlers. Loop thread only.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/hub/fan_out.h"
#include "core/net/connection.h"

namespace pom {

inline constexpr int kTransferSlots = 3;

class SessionSlots {
 public:
  // Makes the three connections; each joins the fan-out at `slot` as
  // "<name><slot number>" when fanOut is given (the peer manager offers its
  // own instead).
  SessionSlots(SocketFactory& sockets, const ConnectionKind& kind, WindowMessageFanOut* fanOut,
               FanOutSlot slot, const std::string& name);
  ~SessionSlots();
  SessionSlots(const SessionSlots&) = delete;
  SessionSlots& operator=(const SessionSlots&) = delete;

  Connection& operator[](int slot) { return *sessions_[static_cast<std::size_t>(slot)]; }
  // Offers a socket notification to each session in slot order.
  void offer(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  // Resets every session (closing its socket and emptying its buffers).
  void resetAll();

 private:
  std::array<std::unique_ptr<Connection>, kTransferSlots> sessions_;
  WindowMessageFanOut* fanOut_;
};

}  // namespace pom
