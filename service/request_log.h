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
// The storage servers and the peers log to the same file, each line with a
// "server" member after "member" ("storage" or "peer"; lines of the login
// server have none):
//   DownloadRequest  {"member": the member id it names, "server":"storage",
//                    "type":3, "name":"DownloadRequest", "fields":
//                    {sessionNumber, fileId, memberId, password "***", path,
//                    offset}}, for every body that decodes;
//   UploadRequest    {"member": the member id it names, "server":"storage",
//                    "type":0, "name":"UploadRequest", "fields":
//                    {sessionNumber, serverFileId, folderId, memberId,
//                    subFolder, fileName, totalSize, offset, sharingLetter,
//                    sampleDigest (32 hex digits)}}, for every body that
//                    decodes;
//   FileChunk        {"member": the member of the accepted request ("" before
//                    one), "server":"storage", "type":1, "name":"FileChunk",
//                    "fields":{size, offset}}, offset being where the session
//                    stands in the file (what it holds); no data. A chunk that
//                    came before the service had acknowledged the previous
//                    one (or accepted the request) is followed by a second
//                    line of the same form named "ChunkBeforeAck";
//   UploadCancel     {"member", "server":"storage", "type":2,
//                    "name":"UploadCancel", "fields":{serverFileId, offset}}:
//                    the file and the bytes held when the cancel came;
//   peer header      {"member":"", "server":"peer", "peer": the peer's
//                    address, "name":"PeerHeader", "fields":{checksum,
//                    totalSize, offset}}, for every header whole in its
//                    frame; one that does not parse has "malformed":true and
//                    empty "fields".
//
//   search           {"member": the member id the normal search names ("" for
//                    the natural search), "server":"search",
//                    "name":"SearchRequest", "fields":{kind ("normal" or
//                    "natural"), keyword (decoded, CP949 converted to
//                    UTF-8), keywordHex (its bytes as hex), page, hits,
//                    blocked}}, written when the reply is ready.
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

struct DownloadRequest;
struct UploadRequest;

namespace service {

// A peer header as the peer read it (see above).
struct PeerHeaderEntry {
  std::string peer;  // the peer host's address
  bool malformed = false;
  std::string checksum;
  std::int64_t totalSize = 0;
  std::int64_t offset = 0;
};

// A search as the search server read it (see above).
struct SearchLogEntry {
  std::string memberId;
  bool natural = false;
  std::string keyword;
  int page = 1;
  int hits = 0;
  bool blocked = false;
};

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

  // A request of a download data session (storage server).
  void recordDownloadRequest(const DownloadRequest& request);
  // The requests of an upload data session (storage server).
  void recordUploadRequest(const UploadRequest& request);
  void recordFileChunk(const std::string& memberId, std::size_t size, std::int64_t offset,
                       bool beforeAck);
  void recordUploadCancel(const std::string& memberId, std::int32_t serverFileId,
                          std::int64_t offset);
  // A header a peer received.
  void recordPeerHeader(const PeerHeaderEntry& entry);
  // A search one of the search servers answered.
  void recordSearch(const SearchLogEntry& entry);

  // The JSON line (without the newline) for a body; empty when it is not logged.
  static std::string lineFor(const std::string& memberId, const std::uint8_t* body,
                             std::size_t length);

 private:
  void append(std::string line);

  std::mutex mutex_;
  std::FILE* file_ = nullptr;
};

}  // namespace service
}  // namespace pom
