// RequestLog: every request the login server decodes, one JSON line each,
// appended to "requests.jsonl" in the data directory, so that a test (or a
// person with `tail -f`) can see what the client really sent.
//
// A line is an object with, in this order:
//   "member"  the member the session was logged in as when the request came
//             ("" before a successful login; such requests are not answered)
//   "type"    the type number of the request
//   "name"    the request's name in the message catalogue ("FolderListRequest")
//   "fields"  every field, named as the members of the structs in
//             core/net/messages/requests.h: texts converted from CP949 to
//             UTF-8, numbers as numbers, one-byte codes ('d', 't') as
//             one-character strings, the combined link's ids as an array.
//             The password of a LoginRequest is always written as "***".
// and "malformed": true for a body of the right length that does not decode
// (a combined-link id list that is not decimal ids), which the service still
// answers; its "fields" is then empty. Bodies of the wrong length or of
// unknown types are not logged.
//
// The line is written and flushed before the request is handled, so it is
// complete once the reply is on its way. The file survives restarts (lines
// are appended). Thread safety: record() takes an internal mutex.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace pom {
namespace service {

class RequestLog {
 public:
  static constexpr const char* kFileName = "requests.jsonl";

  RequestLog() = default;
  ~RequestLog();
  RequestLog(const RequestLog&) = delete;
  RequestLog& operator=(const RequestLog&) = delete;

  // Opens dataDir/requests.jsonl for appending; false with a reason on failure.
  bool open(const std::string& dataDir, std::string* error = nullptr);
  void close();

  // Logs the body when it is a request of the catalogue that decodes (see above).
  void record(const std::string& memberId, const std::uint8_t* body, std::size_t length);

  // The JSON line (without the newline) for a body; empty when it is not logged.
  static std::string lineFor(const std::string& memberId, const std::uint8_t* body,
                             std::size_t length);

 private:
  std::mutex mutex_;
  std::FILE* file_ = nullptr;
};

}  // namespace service
}  // namespace pom
