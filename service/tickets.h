// What the login server puts into tickets and the storage servers check:
// the path texts that name a file's body, and what a download costs.
//
// A download ticket names the file with two texts the client sends back in
// DownloadRequest: the storage path ("/store/" and "<owner>/" in its two
// parts) followed by the server path ("<file id>"). The storage server
// accepts a request only when the joined path matches the file's own. A
// file served under a hostile name (hostile_names.h) has the server path
// "<file id>/<name>", as the ticket's 256-byte field carries it.
//
// Members without a flat rate pay one credit point per 1,024 bytes started.
#pragma once

#include <cstdint>
#include <string>

#include "core/net/messages/messages.h"
#include "service/store.h"

namespace pom {
namespace service {

constexpr std::int64_t kBytesPerCredit = 1024;

inline std::int64_t creditCost(std::int64_t bytes) {
  return bytes <= 0 ? 0 : (bytes + kBytesPerCredit - 1) / kBytesPerCredit;
}

struct DownloadPaths {
  std::string serverPath;
  std::string storageHead;
  std::string storageTail;
  // storage path followed by server path: what DownloadRequest carries.
  std::string joined() const { return storageHead + storageTail + serverPath; }
};

inline DownloadPaths downloadPathsFor(const Item& file) {
  return DownloadPaths{std::to_string(file.id), "/store/", file.owner + "/"};
}

// The paths of a file served under `servedName`: its own name gives the
// plain form above; any other name is appended to the server path, which is
// then cut as the ticket's field cuts it (the client can only send back what
// the ticket carried).
inline DownloadPaths downloadPathsFor(const Item& file, const std::string& servedName) {
  DownloadPaths paths = downloadPathsFor(file);
  if (servedName == file.name) return paths;
  DownloadTicket ticket;
  ticket.serverPath = paths.serverPath + "/" + servedName;
  ticket.storagePathHead = paths.storageHead;
  ticket.storagePathTail = paths.storageTail;
  Bytes body = ticket.encode();
  if (auto carried = DownloadTicket::decode(body.data(), body.size()))
    paths.serverPath = carried->serverPath;
  return paths;
}

// A member may fetch a file it owns or one that is shared publicly, once the
// service holds all of it.
inline bool mayDownload(const Item& file, const std::string& memberId) {
  return file.kind == 'f' && file.size > 0 && file.complete() &&
         (file.owner == memberId || file.share == 't');
}

}  // namespace service
}  // namespace pom
