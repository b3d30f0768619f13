// Loading the banned search words at start: "/UpdateFiles/dblist.dat" from
// the update server replaces the local "dblist.dat" (working directory,
// hidden) when its size differs from the server's Content-Length, and only
// after the whole body has arrived; then the local file is parsed. A server
// that is down or answers badly leaves the local copy, which still loads.
//
// Blocking, on the loop thread, once per start after the login window exists.
#pragma once

#include <string>

namespace pom {

class BannedWordList;
class FileSystem;
class HttpClient;

inline constexpr char kBannedWordFile[] = "dblist.dat";
inline constexpr int kBannedWordTimeoutMs = 3000;
inline constexpr std::size_t kBannedWordMaxBytes = 4 * 1024 * 1024;

struct BannedWordLoad {
  bool asked = false;      // the request was made
  bool replaced = false;   // the local copy was replaced with the server's
  bool localRead = false;  // the list comes from a readable local file
};

// askServer false: no request (the check found the server unreachable in
// this run); the local copy is read all the same.
BannedWordLoad loadBannedWords(HttpClient& http, FileSystem& files, const std::string& updateServer,
                               const std::string& workingDir, bool askServer, int timeoutMs,
                               BannedWordList& words);

}  // namespace pom
