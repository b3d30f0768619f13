#include "core/update/banned_word_load.h"

#include "core/ports/file_system.h"
#include "core/update/banned_word_list.h"
#include "core/update/update_fetch.h"

namespace pom {

BannedWordLoad loadBannedWords(HttpClient& http, FileSystem& files, const std::string& updateServer,
                               const std::string& workingDir, bool askServer, int timeoutMs,
                               BannedWordList& words) {
  BannedWordLoad load;
  const std::string local = joinPath(workingDir, kBannedWordFile, '/');
  if (askServer) {
    load.asked = true;
    FetchRequest request;
    request.host = updateServer;
    request.path = std::string("/UpdateFiles/") + kBannedWordFile;
    request.localPath = local;
    request.timeoutMs = timeoutMs;
    request.maxBytes = kBannedWordMaxBytes;
    std::string body;
    // A list of the same size as the local copy counts as unchanged.
    const FileInfo before = files.info(local);
    if (fetchBody(http, request, body) == FetchResult::Replaced &&
        (!before.exists || before.size != static_cast<std::int64_t>(body.size()))) {
      load.replaced = replaceFile(files, local, body, true);
    }
  }
  std::string bytes;
  load.localRead = readWholeFile(files, local, bytes);
  words.clear();
  if (load.localRead) words.parse(bytes);
  return load;
}

}  // namespace pom
