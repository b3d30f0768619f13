// Reading the local service's request log (service/request_log.h) in tests:
// what the login server received, as it decoded it, so a test can assert
// "the service got a FolderListRequest for folder 7 with last entry 0".
//
// readRequestLog() parses every complete line of requests.jsonl (a line still
// being written has no newline yet and is left out); the service flushes
// each line before it handles the request, so the line of a request that has
// been answered is always there. waitForRequests() polls for requests that
// get no reply (RenameFolderRequest, PeerReport, ...).
//
// The storage servers and the peers log to the same file; their lines carry
// "server" ("storage", "peer"; login-server lines have none and read as
// "login"). Filtering by RequestType keeps login-server lines only, since a
// DownloadRequest shares its type number with a login request;
// readServerLog() and waitForServerLog() select the other servers' lines.
//
// Texts in the log are UTF-8; text() gives them back as CP949 bytes, the
// form the tests' literals have (-fexec-charset=CP949).
//
// Header-only; needs nlohmann-json3-dev (linked through pom_service).
#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "core/net/messages/message_types.h"
#include "core/ports/text_codec.h"

namespace pom {
namespace testing_support {

inline constexpr const char* kLoginServer = "login";
inline constexpr const char* kStorageServer = "storage";
inline constexpr const char* kPeerServer = "peer";

struct LoggedRequest {
  std::string member;  // "" when the session was not logged in
  std::string server = kLoginServer;
  std::string peer;  // the peer's address (peer headers only)
  int type = -1;
  std::string name;  // "FolderListRequest"
  nlohmann::json fields;
  bool malformed = false;

  // A text field as CP949 bytes ("" when missing or not a text).
  std::string text(const std::string& field) const {
    auto it = fields.find(field);
    return it != fields.end() && it->is_string() ? utf8ToCp949(it->get<std::string>())
                                                 : std::string();
  }
  // A numeric field (-1 when missing or not a number).
  long long number(const std::string& field) const {
    auto it = fields.find(field);
    return it != fields.end() && it->is_number() ? it->get<long long>() : -1;
  }
};

// Every complete line of the log at path, in order; type >= 0 keeps only that
// type. Lines that do not parse are skipped (none should exist).
inline std::vector<LoggedRequest> readRequestLog(const std::string& path, int type = -1) {
  std::vector<LoggedRequest> requests;
  std::ifstream in(path, std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t start = 0;
  for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    auto line =
        nlohmann::json::parse(content.begin() + static_cast<std::ptrdiff_t>(start),
                              content.begin() + static_cast<std::ptrdiff_t>(end), nullptr, false);
    if (!line.is_object()) continue;
    LoggedRequest request;
    request.member = line.value("member", "");
    request.type = line.value("type", -1);
    request.name = line.value("name", "");
    request.fields = line.value("fields", nlohmann::json::object());
    request.malformed = line.value("malformed", false);
    request.server = line.value("server", kLoginServer);
    request.peer = line.value("peer", "");
    if (type < 0 || (request.type == type && request.server == kLoginServer))
      requests.push_back(std::move(request));
  }
  return requests;
}

inline std::vector<LoggedRequest> readRequestLog(const std::string& path, RequestType type) {
  return readRequestLog(path, static_cast<int>(type));
}

// The lines of one server ("storage", "peer", "login"), in order.
inline std::vector<LoggedRequest> readServerLog(const std::string& path,
                                                const std::string& server) {
  std::vector<LoggedRequest> lines;
  for (auto& request : readRequestLog(path)) {
    if (request.server == server) lines.push_back(std::move(request));
  }
  return lines;
}

// Polls until the log holds at least `count` lines of the server (or the
// timeout passes) and returns those it holds then. Peers log from their own
// threads, so a test waits for their lines.
inline std::vector<LoggedRequest> waitForServerLog(const std::string& path,
                                                   const std::string& server, std::size_t count = 1,
                                                   std::uint32_t timeoutMs = 3000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    auto lines = readServerLog(path, server);
    if (lines.size() >= count || std::chrono::steady_clock::now() >= deadline) return lines;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// Polls until the log holds at least `count` requests of the type (or the
// timeout passes) and returns those it holds then.
inline std::vector<LoggedRequest> waitForRequests(const std::string& path, RequestType type,
                                                  std::size_t count = 1,
                                                  std::uint32_t timeoutMs = 3000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    auto requests = readRequestLog(path, type);
    if (requests.size() >= count || std::chrono::steady_clock::now() >= deadline) return requests;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace testing_support
}  // namespace pom
