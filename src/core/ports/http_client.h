// HttpClient: synchronous HTTP requests (GET and POST) on the loop thread.
//
// The program's HTTP traffic (advertisement line, version files, banned
// words, search, peer list) is small and made the blocking way: a call
// returns when the reply has been read or the attempt failed. The Win32
// backend maps it onto WinINet, the POSIX backend onto a small HTTP/1.0
// client over sockets.
//
// host: a host name or dotted IPv4 address, optionally followed by ":port"
// (80 when absent). headers: extra header lines exactly as given, each ending
// in "\r\n" (may be empty). agent: the user-agent name; empty sends none.
// The reply body is kept up to maxBody bytes; the rest is read and dropped.
// Texts are bytes (CP949 where they carry Korean).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pom {

struct HttpRequest {
  std::string method = "GET";
  std::string host;
  std::string path;  // starts with "/"
  std::string agent;
  std::string headers;
  std::string body;  // sent as is (POST)
  // Bound on the whole request (connect, send and reply), in milliseconds;
  // 0: the backend's usual bound. A request past it fails (sent = false).
  int timeoutMs = 0;
};

struct HttpResponse {
  // The connection was made and the request sent; false when the session,
  // connection or request could not be opened (nothing else is then valid).
  bool sent = false;
  int status = 0;  // HTTP status code, 0 when no status line was read
  // Content-Length of the reply when the server announced one.
  bool hasContentLength = false;
  std::int64_t contentLength = 0;
  std::string body;  // at most maxBody bytes of the reply body
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual HttpResponse send(const HttpRequest& request, std::size_t maxBody) = 0;

  HttpResponse get(const std::string& host, const std::string& path, const std::string& agent,
                   std::size_t maxBody) {
    HttpRequest request;
    request.host = host;
    request.path = path;
    request.agent = agent;
    return send(request, maxBody);
  }
};

}  // namespace pom
