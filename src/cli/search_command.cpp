#include "cli/search_command.h"

#include <algorithm>
#include <cstdlib>

#include "core/app/client_app.h"
#include "core/base/text_utils.h"
#include "core/ports/text_codec.h"
#include "core/search/search_hit.h"
#include "core/search/search_module.h"

namespace pom {

namespace {

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

void printHits(const std::vector<SearchHit>& hits, std::size_t from, std::ostream& out) {
  for (std::size_t i = from; i < hits.size(); ++i) {
    const SearchHit& hit = hits[i];
    out << cp949ToUtf8(hit.name) << "\t" << cp949ToUtf8(formatSize(hit.sizeBytes)) << "\t"
        << cp949ToUtf8(hit.keepText) << "\t" << cp949ToUtf8(hit.ownerId) << "\t" << hit.fileId
        << "\t" << hit.folderKey << "\n";
  }
}

// The message row in place of hits, if there is one: a failure.
Outcome failWith(HeadlessClient& client, const std::string& message) {
  client.errors() << cp949ToUtf8(message) << "\n";
  return Outcome::Failed;
}

}  // namespace

Outcome runSearch(HeadlessClient& client, const SearchOptions& options, std::ostream& out) {
  SearchLink& search = client.app().module<SearchModule>();
  search.search(utf8ToCp949(joined(options.words)),
                options.natural ? SearchKind::Natural : SearchKind::Normal);
  if (search.hits().empty()) {
    const std::string message = search.resultMessage();
    return failWith(client, message.empty() ? std::string("no hits") : message);
  }
  printHits(search.hits(), 0, out);
  if (options.more) {
    const std::size_t shown = search.hits().size();
    if (search.searchMore()) printHits(search.hits(), shown, out);
  }
  return Outcome::Done;
}

Outcome runContents(HeadlessClient& client, const std::string& ownerId, std::int32_t folderKey,
                    std::ostream& out) {
  SearchLink& search = client.app().module<SearchModule>();
  search.openFolderContents(utf8ToCp949(ownerId), folderKey);
  const bool answered = client.waitUntil(
      [&search] { return !search.folderItems().empty() || !search.folderMessage().empty(); });
  if (!answered) return Outcome::NoAnswer;
  if (search.folderItems().empty()) return failWith(client, search.folderMessage());
  for (const FolderContentItem& item : search.folderItems()) {
    out << cp949ToUtf8(item.name) << "\t" << cp949ToUtf8(formatSize(item.sizeBytes)) << "\t"
        << cp949ToUtf8(keepDaysText(item.keepDays)) << "\t" << cp949ToUtf8(item.ownerId) << "\t"
        << item.fileId << "\n";
  }
  return Outcome::Done;
}

Outcome queueHitDownloads(HeadlessClient& client, const std::string& words,
                          const std::vector<std::int32_t>& fileIds) {
  SearchLink& search = client.app().module<SearchModule>();
  search.search(utf8ToCp949(words), SearchKind::Normal);
  auto found = [&search](std::int32_t id) {
    const std::vector<SearchHit>& hits = search.hits();
    return std::any_of(hits.begin(), hits.end(),
                       [id](const SearchHit& hit) { return hit.fileId == id; });
  };
  auto allFound = [&] { return std::all_of(fileIds.begin(), fileIds.end(), found); };
  while (!allFound() && search.searchMore()) {
  }
  std::string missing;
  for (std::int32_t id : fileIds) {
    if (!found(id) || !search.downloadFile(id)) missing += " " + std::to_string(id);
  }
  if (!missing.empty()) {
    client.errors() << "no hit of \"" << words << "\" has the file id" << missing << "\n";
    return Outcome::Failed;
  }
  return Outcome::Done;
}

bool parseFileIds(const std::string& text, std::vector<std::int32_t>& ids) {
  ids.clear();
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string piece = text.substr(start, comma - start);
    char* end = nullptr;
    const long value = std::strtol(piece.c_str(), &end, 10);
    if (piece.empty() || *end != '\0' || piece[0] == '-' || value <= 0 || value > 0x7FFFFFFF)
      return false;
    ids.push_back(static_cast<std::int32_t>(value));
    start = comma + 1;
  }
  return !ids.empty();
}

}  // namespace pom
