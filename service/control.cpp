#include "service/control.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <sstream>

#include "core/ports/text_codec.h"

namespace pom {
namespace service {

namespace {

constexpr std::size_t kMaxLine = 4096;

std::string firstWord(std::string& rest) {
  auto start = rest.find_first_not_of(' ');
  if (start == std::string::npos) {
    rest.clear();
    return std::string();
  }
  auto end = rest.find(' ', start);
  std::string word = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
  rest = end == std::string::npos ? std::string() : rest.substr(end + 1);
  return word;
}

std::string setSwitch(Faults& faults, std::string rest, int count) {
  std::string key = firstWord(rest);
  if (key.empty() || rest.empty()) return "error usage: set KEY VALUE";
  std::string value = key == "notice" ? utf8ToCp949(rest) : rest;
  std::string why;
  if (!faults.set(key, value, count, &why)) return "error " + why;
  return "ok";
}

bool sendAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string runControlCommand(Faults& faults, const std::string& line) {
  std::string rest = line;
  while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n')) rest.pop_back();
  std::string command = firstWord(rest);
  if (command == "ping") return "ok pong";
  if (command == "set") return setSwitch(faults, rest, -1);
  if (command == "once") return setSwitch(faults, rest, 1);
  if (command == "times") {
    std::string count = firstWord(rest);
    char* end = nullptr;
    long n = std::strtol(count.c_str(), &end, 10);
    if (count.empty() || *end != '\0' || n < 1) return "error usage: times N KEY VALUE";
    return setSwitch(faults, rest, static_cast<int>(n));
  }
  if (command == "clear") {
    std::string key = firstWord(rest);
    if (key == "all") {
      faults.clearAll();
    } else if (Faults::knownKey(key)) {
      faults.clear(key);
    } else {
      return "error unknown switch " + key;
    }
    return "ok";
  }
  if (command == "get") {
    std::string key = firstWord(rest);
    if (!Faults::knownKey(key)) return "error unknown switch " + key;
    auto value = faults.peek(key);
    if (!value) return "ok";
    return "ok " + (key == "notice" ? cp949ToUtf8(*value) : *value);
  }
  if (command == "list") {
    std::ostringstream out;
    out << "ok";
    const char* separator = " ";
    for (const auto& entry : faults.describe()) {
      out << separator << (entry.rfind("notice=", 0) == 0 ? cp949ToUtf8(entry) : entry);
      separator = ";";
    }
    return out.str();
  }
  return "error unknown command";
}

ControlServer::~ControlServer() {
  stop();
}

bool ControlServer::start(const std::string& host, std::uint16_t port, std::string* error) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
      (ntohl(address.sin_addr.s_addr) >> 24) != 127) {
    if (error) *error = "control endpoint must be a loopback address";
    return false;
  }
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int one = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  int pipeFds[2];
  if (listener_ < 0 ||
      ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 8) != 0 || ::pipe2(pipeFds, O_CLOEXEC) != 0) {
    if (error) *error = "control endpoint cannot listen on " + host + ":" + std::to_string(port);
    if (listener_ >= 0) ::close(listener_);
    listener_ = -1;
    return false;
  }
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
  stopping_ = false;
  thread_ = std::thread([this] { run(); });
  return true;
}

void ControlServer::stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  char byte = 1;
  (void)!::write(wakeWrite_, &byte, 1);
  thread_.join();
  ::close(listener_);
  ::close(wakeRead_);
  ::close(wakeWrite_);
  listener_ = wakeRead_ = wakeWrite_ = -1;
}

void ControlServer::run() {
  while (!stopping_) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents) break;
    if (fds[0].revents & POLLIN) {
      int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client >= 0) {
        serve(client);
        ::close(client);
      }
    }
  }
}

void ControlServer::serve(int client) {
  std::string pending;
  char buffer[1024];
  while (!stopping_) {
    pollfd fds[2] = {{client, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    // A client that says nothing for 30 s gives way to the next.
    int ready = ::poll(fds, 2, 30000);
    if (ready <= 0 || fds[1].revents) return;
    ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    pending.append(buffer, static_cast<std::size_t>(n));
    std::size_t newline;
    while ((newline = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      if (!line.empty() && !sendAll(client, runControlCommand(faults_, line) + "\n")) return;
    }
    if (pending.size() > kMaxLine) {
      sendAll(client, "error line too long\n");
      return;
    }
  }
}

}  // namespace service
}  // namespace pom
