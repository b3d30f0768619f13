// The baseline of the download benchmarks: the bytes of a file over a plain
// loopback socket pair, pread + send against recv + write, in pieces as
// large as the storage server's data messages (1 MiB), so neither side gains
// from a different system-call count. Blocking; one sender thread.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace pom {
namespace bench {

constexpr std::size_t kRawPiece = 1 << 20;

// Streams the first `size` bytes of `source` to `path`; returns the bytes
// written (less than size when something failed).
inline std::int64_t rawDownload(const std::string& source, std::int64_t size,
                                const std::string& path) {
  int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  ::listen(listener, 1);
  std::thread sender([&] {
    int peer = ::accept(listener, nullptr, nullptr);
    int in = ::open(source.c_str(), O_RDONLY);
    std::vector<char> buffer(kRawPiece);
    for (std::int64_t at = 0; at < size;) {
      ssize_t n = ::pread(in, buffer.data(), buffer.size(), at);
      if (n <= 0) break;
      for (ssize_t sent = 0; sent < n;) {
        ssize_t s =
            ::send(peer, buffer.data() + sent, static_cast<std::size_t>(n - sent), MSG_NOSIGNAL);
        if (s <= 0) break;
        sent += s;
      }
      at += n;
    }
    ::close(in);
    ::close(peer);
  });
  int client = ::socket(AF_INET, SOCK_STREAM, 0);
  ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char> buffer(kRawPiece);
  std::int64_t written = 0;
  for (;;) {
    ssize_t n = ::recv(client, buffer.data(), buffer.size(), 0);
    if (n <= 0) break;
    written += ::write(out, buffer.data(), static_cast<std::size_t>(n));
  }
  sender.join();
  ::close(out);
  ::close(client);
  ::close(listener);
  return written;
}

}  // namespace bench
}  // namespace pom
