#include <gtest/gtest.h>

#include "core/ports/tcp_socket.h"

namespace pom {
namespace {

TEST(SocketLParam, PutsErrorInHighWordAndEventInLowWord) {
  EXPECT_EQ(makeSocketLParam(SocketEvent::Write), 2);
  EXPECT_EQ(makeSocketLParam(SocketEvent::Connect, SocketError::ConnectionRefused),
            (10061 << 16) | 16);
}

}  // namespace
}  // namespace pom
