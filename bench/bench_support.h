// Helpers the benchmarks share: child processes measured with wait4
// (wall and CPU time), a daemon child, byte comparison of two files, free
// loopback ports, fresh output folders.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace pom {
namespace bench {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

struct ChildRun {
  bool ok = false;
  double wall = 0;  // seconds
  double cpu = 0;   // user + system seconds of the child
};

// Starts argv with stdout and stderr appended to `log`; 0 when it cannot.
inline pid_t spawn(const std::vector<std::string>& argv, const std::string& log) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = 0;
  const bool ok = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  return ok ? pid : 0;
}

// Runs argv, waits, and measures it.
inline ChildRun runChild(const std::vector<std::string>& argv, const std::string& log) {
  ChildRun run;
  const auto start = Clock::now();
  const pid_t pid = spawn(argv, log);
  if (pid == 0) return run;
  int status = 0;
  rusage usage{};
  if (::wait4(pid, &status, 0, &usage) != pid) return run;
  run.wall = secondsSince(start);
  run.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

// A child left running (nginx) until this goes.
class Daemon {
 public:
  bool start(const std::vector<std::string>& argv, const std::string& log) {
    pid_ = spawn(argv, log);
    return pid_ != 0;
  }
  ~Daemon() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = 0;
};

inline bool sameBytes(const std::string& a, const std::string& b) {
  std::error_code error;
  if (fs::file_size(a, error) != fs::file_size(b, error) || error) return false;
  std::ifstream left(a, std::ios::binary), right(b, std::ios::binary);
  std::vector<char> x(1 << 20), y(1 << 20);
  while (left && right) {
    left.read(x.data(), static_cast<std::streamsize>(x.size()));
    right.read(y.data(), static_cast<std::streamsize>(y.size()));
    if (left.gcount() != right.gcount() ||
        std::memcmp(x.data(), y.data(), static_cast<std::size_t>(left.gcount())) != 0)
      return false;
  }
  return true;
}

inline bool have(const char* program) {
  std::string command =
      std::string("command -v ") + program + " >/dev/null 2>&1 || [ -x /usr/sbin/" + program + " ]";
  return std::system(command.c_str()) == 0;
}

// A port that is free now (the kernel's pick); good enough for a benchmark.
inline int freePort() {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(s);
  return ntohs(address.sin_port);
}

inline bool waitForPort(int port) {
  for (int i = 0; i < 100; ++i) {
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    bool up = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    if (up) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

inline void freshFolder(const std::string& path) {
  fs::remove_all(path);
  fs::create_directories(path);
  ::sync();  // no dirty pages of one contender slow the next
}

inline double mibPerSecond(std::int64_t bytes, double seconds) {
  return static_cast<double>(bytes) / seconds / (1 << 20);
}

// User and system seconds of the calling thread.
inline double threadCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_THREAD, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A transfer run in the benchmark's own process, timed while data flows.
struct InProcessRun {
  bool ok = false;
  double seconds = 0;  // first byte to the last
  double cpu = 0;      // of the client's thread over the same span
};

}  // namespace bench
}  // namespace pom
