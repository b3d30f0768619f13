// Fetching one file of the update server into the program's folder, safely:
// the reply must be HTTP 200 with a Content-Length and exactly that many body
// bytes (and pass the caller's check, e.g. a PE for this machine); only then
// are the bytes written to "<local>.new" next to the file and moved over it
// in one replacing rename. Any failure leaves the old file as it was.
//
// Used by the version check and the banned-word list. Blocking, on the loop
// thread, bounded by the request's timeout.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace pom {

class FileSystem;
class HttpClient;

enum class FetchResult {
  Replaced,     // the local file now holds the server's bytes
  Unreachable,  // no answer at all (refused, timed out, no connection)
  Refused,      // an answer that is not the whole file (status, length, check)
  LocalError,   // the bytes could not be written or moved into place
};

struct FetchRequest {
  std::string host;       // "host:port" of the update server
  std::string path;       // "/UpdateFiles/..."
  std::string localPath;  // the file to replace
  int timeoutMs = 0;
  std::size_t maxBytes = 0;  // larger files are refused
  bool hidden = false;       // mark the replaced file hidden
  // Extra test of the body before anything is written; empty: none.
  std::function<bool(std::string_view)> accept;
};

// The body of a complete answer (200, exact Content-Length, at most maxBytes),
// or Unreachable/Refused without touching the disk. `body` is filled only on
// success.
FetchResult fetchBody(HttpClient& http, const FetchRequest& request, std::string& body);

// Writes bytes to "<path>.new" and renames it over path; false (the
// temporary file removed, path untouched) when any step fails.
bool replaceFile(FileSystem& files, const std::string& path, std::string_view bytes, bool hidden);

// fetchBody, then replaceFile.
FetchResult fetchToFile(HttpClient& http, FileSystem& files, const FetchRequest& request);

// The whole contents of a local file; false when it cannot be opened or read.
bool readWholeFile(FileSystem& files, const std::string& path, std::string& bytes);

// "dir" + separator + name (no doubled separator when dir ends in one).
std::string joinPath(const std::string& dir, const std::string& name, char separator);

}  // namespace pom
