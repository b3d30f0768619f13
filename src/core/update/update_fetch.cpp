#include "core/update/update_fetch.h"

#include "core/ports/file_system.h"
#include "core/ports/http_client.h"

namespace pom {

FetchResult fetchBody(HttpClient& http, const FetchRequest& request, std::string& body) {
  HttpRequest get;
  get.host = request.host;
  get.path = request.path;
  get.timeoutMs = request.timeoutMs;
  // One byte more than allowed, so a file that is too large shows as such.
  HttpResponse reply = http.send(get, request.maxBytes + 1);
  if (!reply.sent) return FetchResult::Unreachable;
  if (reply.status != 200 || !reply.hasContentLength || reply.contentLength < 0 ||
      static_cast<std::size_t>(reply.contentLength) > request.maxBytes ||
      reply.body.size() != static_cast<std::size_t>(reply.contentLength))
    return FetchResult::Refused;
  if (request.accept && !request.accept(reply.body)) return FetchResult::Refused;
  body = std::move(reply.body);
  return FetchResult::Replaced;
}

bool replaceFile(FileSystem& files, const std::string& path, std::string_view bytes, bool hidden) {
  const std::string temporary = path + ".new";
  bool written = false;
  {
    std::unique_ptr<OpenFile> file = files.open(temporary, OpenMode::Create);
    if (file == nullptr) return false;
    written = file->write(bytes.data(), bytes.size()) && file->flush() &&
              file->size() == static_cast<std::int64_t>(bytes.size());
  }  // closed before the rename: Windows moves no open file
  if (!written || !files.rename(temporary, path)) {
    files.remove(temporary);
    return false;
  }
  if (hidden) files.setHidden(path);
  return true;
}

FetchResult fetchToFile(HttpClient& http, FileSystem& files, const FetchRequest& request) {
  std::string body;
  const FetchResult result = fetchBody(http, request, body);
  if (result != FetchResult::Replaced) return result;
  return replaceFile(files, request.localPath, body, request.hidden) ? FetchResult::Replaced
                                                                     : FetchResult::LocalError;
}

bool readWholeFile(FileSystem& files, const std::string& path, std::string& bytes) {
  std::unique_ptr<OpenFile> file = files.openRead(path);
  if (file == nullptr) return false;
  bytes.clear();
  char buffer[4096];
  for (;;) {
    const std::int64_t n = file->read(buffer, sizeof buffer);
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

std::string joinPath(const std::string& dir, const std::string& name, char separator) {
  if (dir.empty()) return name;
  const char last = dir.back();
  if (last == '\\' || last == '/') return dir + name;
  return dir + separator + name;
}

}  // namespace pom
