// Win32HttpClient (WinINet) against a real HTTP peer on 127.0.0.1: what goes
// out on the wire, and how status, content length and body come back.
#include "platform/win32/win32_http_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/win32/win32_dialogs.h"
#include "support/loopback.h"

namespace pom {
namespace {

// Accepts one connection, reads one request (headers and a body announced by
// Content-Length), answers with `reply` and closes. Every wait is bounded.
// A slow server sends the first `burst` bytes of the reply at once and the
// rest one byte every gapMs, until the client goes away or the server is
// destroyed (so a test never waits for the whole dribble).
class OneShotHttpServer {
 public:
  explicit OneShotHttpServer(std::string reply, std::size_t burst = std::string::npos,
                             DWORD gapMs = 0)
      : reply_(std::move(reply)), burst_(burst), gapMs_(gapMs), thread_([this] { run(); }) {}
  ~OneShotHttpServer() {
    stop_ = true;
    thread_.join();
  }
  std::string host() const { return "127.0.0.1:" + std::to_string(listener_.port()); }
  // The request as received; valid once the client call has returned.
  const std::string& request() const { return request_; }
  // Every byte of the reply went out.
  bool sentAll() const { return sentAll_; }

 private:
  void run() {
    SOCKET peer = listener_.accept(5000);
    if (peer == INVALID_SOCKET) return;
    DWORD timeout = 5000;
    setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
               sizeof timeout);
    char buffer[4096];
    for (;;) {
      const auto end = request_.find("\r\n\r\n");
      if (end != std::string::npos) {
        const auto at = request_.find("Content-Length: ");
        const size_t body = at == std::string::npos ? 0 : std::stoul(request_.substr(at + 16));
        if (request_.size() >= end + 4 + body) break;
      }
      const int n = recv(peer, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request_.append(buffer, static_cast<size_t>(n));
    }
    const std::size_t burst = burst_ < reply_.size() ? burst_ : reply_.size();
    send(peer, reply_.data(), static_cast<int>(burst), 0);
    std::size_t at = burst;
    for (; at < reply_.size() && !stop_; ++at) {
      Sleep(gapMs_);
      if (send(peer, reply_.data() + at, 1, 0) != 1) break;
    }
    sentAll_ = at == reply_.size();
    shutdown(peer, SD_SEND);
    closesocket(peer);
  }

  test::Listener listener_;
  std::string reply_;
  std::size_t burst_;
  DWORD gapMs_;
  std::string request_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> sentAll_{false};
  std::thread thread_;
};

TEST(Win32HttpClient, GetReadsStatusContentLengthAndBody) {
  OneShotHttpServer server(
      "HTTP/1.1 200 OK\r\nContent-Length: 11\r\nConnection: close\r\n\r\nline|a|link");
  Win32HttpClient http;
  HttpResponse response = http.get(server.host(), "/Ad/index.asp", "HTTPTEST", 1023);
  EXPECT_TRUE(response.sent);
  EXPECT_EQ(response.status, 200);
  EXPECT_TRUE(response.hasContentLength);
  EXPECT_EQ(response.contentLength, 11);
  EXPECT_EQ(response.body, "line|a|link");
  EXPECT_EQ(server.request().rfind("GET /Ad/index.asp HTTP/1.1\r\n", 0), 0u) << server.request();
  EXPECT_NE(server.request().find("User-Agent: HTTPTEST\r\n"), std::string::npos);
}

TEST(Win32HttpClient, PostSendsBodyAndHeadersAsGiven) {
  OneShotHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
  Win32HttpClient http;
  HttpRequest request;
  request.method = "POST";
  request.host = server.host();
  request.path = "/Pomvale/Search.asp";
  request.headers = "Content-Type: application/x-www-form-urlencoded\r\n";
  request.body = "keyword=%B0%A1&page=1";
  HttpResponse response = http.send(request, 100);
  EXPECT_TRUE(response.sent);
  EXPECT_EQ(response.body, "ok");
  const std::string& sent = server.request();
  EXPECT_EQ(sent.rfind("POST /Pomvale/Search.asp HTTP/1.1\r\n", 0), 0u) << sent;
  EXPECT_NE(sent.find("Content-Type: application/x-www-form-urlencoded\r\n"), std::string::npos);
  EXPECT_EQ(sent.substr(sent.size() - request.body.size()), request.body);
}

TEST(Win32HttpClient, MissingContentLengthAndCutBody) {
  OneShotHttpServer server("HTTP/1.1 404 Not Found\r\nConnection: close\r\n\r\n0123456789abcdef");
  Win32HttpClient http;
  HttpResponse response = http.get(server.host(), "/UpdateFiles/none.dat", "", 10);
  EXPECT_TRUE(response.sent);
  EXPECT_EQ(response.status, 404);
  EXPECT_FALSE(response.hasContentLength);
  // The rest of the body is read and dropped.
  EXPECT_EQ(response.body, "0123456789");
}

TEST(Win32HttpClient, TheTimeoutBoundsTheWholeRequest) {
  // Every byte comes well within the timeout, the whole reply does not: a
  // bound per WinINet call would wait for all of it. A dribbled status line
  // and headers keep WinINet inside HttpSendRequestW, a dribbled body inside
  // its reads.
  const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 12\r\nConnection: close\r\n\r\n";
  struct Case {
    const char* name;
    std::size_t burst;
    DWORD gapMs;
  } cases[] = {{"headers", 0, 200}, {"body", head.size(), 250}};
  for (const Case& c : cases) {
    OneShotHttpServer server(head + "0123456789ab", c.burst, c.gapMs);
    Win32HttpClient http;
    HttpRequest request;
    request.host = server.host();
    request.path = "/UpdateFiles/CverChk.dat";
    request.timeoutMs = 1000;
    const HttpResponse response = http.send(request, 100);
    EXPECT_FALSE(response.sent) << c.name;
    EXPECT_EQ(response.status, 0) << c.name;
    EXPECT_TRUE(response.body.empty()) << c.name;
    // The call came back while the server was still sending.
    EXPECT_FALSE(server.sentAll()) << c.name;
  }
}

TEST(Win32HttpClient, BytesPastTheContentLengthAreNotTheBody) {
  OneShotHttpServer server(
      "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nConnection: close\r\n\r\n1.2 and more");
  Win32HttpClient http;
  const HttpResponse response = http.get(server.host(), "/UpdateFiles/CverChk.dat", "", 100);
  EXPECT_TRUE(response.sent);
  EXPECT_EQ(response.body, "1.2");
}

TEST(Win32HttpClient, RefusedConnectionIsNotSent) {
  Win32HttpClient http;
  HttpResponse response =
      http.get("127.0.0.1:" + std::to_string(test::unusedPort()), "/", "HTTPTEST", 100);
  EXPECT_FALSE(response.sent);
  EXPECT_TRUE(response.body.empty());
}

TEST(Win32HttpClient, SplitsHostAndPort) {
  struct Case {
    const char* text;
    const char* host;
    std::uint16_t port;
  } cases[] = {{"127.0.0.1", "127.0.0.1", 80},
               {"127.0.0.1:8000", "127.0.0.1", 8000},
               {"localhost:0", "localhost", 80},
               {"localhost:70000", "localhost", 80},
               {"example:abc", "example", 80}};
  for (const Case& c : cases) {
    std::string host;
    std::uint16_t port = 0;
    splitHostPort(c.text, host, port);
    EXPECT_EQ(host, c.host) << c.text;
    EXPECT_EQ(port, c.port) << c.text;
  }
}

TEST(Win32Dialogs, MessageBoxStyleCombinesIconAndButtons) {
  EXPECT_EQ(messageBoxStyle(MessageIcon::Error, MessageButtons::Ok),
            static_cast<UINT>(MB_ICONERROR | MB_OK));
  EXPECT_EQ(messageBoxStyle(MessageIcon::Warning, MessageButtons::OkCancel),
            static_cast<UINT>(MB_ICONWARNING | MB_OKCANCEL));
  EXPECT_EQ(messageBoxStyle(MessageIcon::Warning, MessageButtons::YesNo),
            static_cast<UINT>(MB_ICONWARNING | MB_YESNO));
  EXPECT_EQ(messageBoxStyle(MessageIcon::None, MessageButtons::YesNoCancel),
            static_cast<UINT>(MB_YESNOCANCEL));
}

}  // namespace
}  // namespace pom
