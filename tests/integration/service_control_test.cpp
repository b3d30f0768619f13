// The control endpoint over loopback, the switch syntax of the command line,
// and the refusal to listen anywhere but on loopback addresses.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "service/faults.h"
#include "service/ports.h"
#include "support/service_fixture.h"

namespace pom {
namespace {

// Sends lines and reads one answer line per command.
class ControlLine {
 public:
  explicit ControlLine(std::uint16_t port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
  ~ControlLine() { ::close(fd_); }
  std::string ask(const std::string& line) {
    std::string text = line + "\n";
    ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
    std::string answer;
    char c;
    pollfd p{fd_, POLLIN, 0};
    while (::poll(&p, 1, 3000) > 0 && ::recv(fd_, &c, 1, 0) == 1 && c != '\n') answer += c;
    return answer;
  }

 private:
  int fd_ = -1;
};

TEST(ServiceControl, SwitchesAreSetAndReadOverTheControlLine) {
  testing_support::ServiceFixture service(false);
  std::string error;
  ASSERT_TRUE(service.start(&error)) << error;
  ControlLine control(service.ports().controlPort);
  EXPECT_EQ(control.ask("ping"), "ok pong");
  EXPECT_EQ(control.ask("once login_result 100"), "ok");
  // The line carries UTF-8 (u8 literals: plain ones here are CP949).
  EXPECT_EQ(control.ask(u8"set notice 서버 점검 안내"), "ok");
  EXPECT_EQ(control.ask("get notice"), u8"ok 서버 점검 안내");
  // Stored as the CP949 bytes the wire carries.
  EXPECT_EQ(*service.faults().peek("notice"), "서버 점검 안내");
  EXPECT_EQ(control.ask("times 2 drop_login_after 40"), "ok");
  EXPECT_EQ(control.ask("list"),
            u8"ok drop_login_after=40*2;login_result=100*1;notice=서버 점검 안내");
  EXPECT_EQ(service.faults().consumeInt("login_result"), 100);
  EXPECT_FALSE(service.faults().peek("login_result"));

  EXPECT_EQ(control.ask("set credit_shortage maybe").rfind("error", 0), 0u);
  EXPECT_EQ(control.ask("set login_result many").rfind("error", 0), 0u);
  EXPECT_EQ(control.ask("set no_such_switch 1").rfind("error", 0), 0u);
  EXPECT_EQ(control.ask("times 0 login_result 1").rfind("error", 0), 0u);
  EXPECT_EQ(control.ask("bogus").rfind("error", 0), 0u);
  EXPECT_EQ(control.ask("clear all"), "ok");
  EXPECT_EQ(control.ask("list"), "ok");
}

TEST(ServiceControl, CommandLineSwitchesAndLoopbackOnlyPorts) {
  service::Faults faults;
  EXPECT_TRUE(faults.setFromArgument("corrupt_next=marker*1"));
  EXPECT_TRUE(faults.setFromArgument("peer_rate=5000"));
  EXPECT_FALSE(faults.setFromArgument("peer_rate"));
  EXPECT_FALSE(faults.setFromArgument("corrupt_next=sideways"));
  EXPECT_EQ(faults.consume("corrupt_next"), "marker");
  EXPECT_FALSE(faults.consume("corrupt_next"));
  EXPECT_EQ(faults.consumeInt("peer_rate"), 5000);
  EXPECT_EQ(faults.consumeInt("peer_rate"), 5000);  // until cleared

  service::ServicePorts ports = service::ServicePorts::withBase(100, false);
  EXPECT_EQ(ports.loginPorts[1], 7132);
  EXPECT_EQ(ports.downloadPort, 7301);
  EXPECT_EQ(ports.webPort, 8100);
  EXPECT_TRUE(ports.valid(nullptr));
  ports.storageHost = "10.0.0.3";
  std::string why;
  EXPECT_FALSE(ports.valid(&why));
  EXPECT_FALSE(service::ServicePorts::withBase(60000, false).valid(nullptr));
}

}  // namespace
}  // namespace pom
