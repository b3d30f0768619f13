// `pomcli search` and `pomcli contents`: the search bar and the two result
// lists of the program, headless.
//
// search types the words into the search bar with the radio chosen and
// presses Enter; --more then scrolls to the end of the list once (the next
// page). contents is Ctrl+F on a hit: another member's folder by its owner
// and folder key, as the hits print them. Output is UTF-8, one line per row,
// tab-separated:
//   search:   name, size text, days kept, owner, file id, folder key
//   contents: name, size text, days kept, owner, file id
// A message row (nothing found, a refused keyword, no server) goes to the
// error stream and the command fails.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "cli/headless_client.h"

namespace pom {

class SearchLink;

struct SearchOptions {
  std::vector<std::string> words;  // UTF-8; joined with blanks
  bool natural = false;            // 자연어검색 instead of 일반검색
  bool more = false;               // also the next page
};

Outcome runSearch(HeadlessClient& client, const SearchOptions& options, std::ostream& out);
Outcome runContents(HeadlessClient& client, const std::string& ownerId, std::int32_t folderKey,
                    std::ostream& out);

// Searches the words (normal search) and queues the hits with these file
// ids through the result list, paging on until every id was found or the
// pages end. Failed (naming the ids) when one is not among the hits.
Outcome queueHitDownloads(HeadlessClient& client, const std::string& words,
                          const std::vector<std::int32_t>& fileIds);

// "12,15" → {12, 15}; false on anything but positive decimal numbers.
bool parseFileIds(const std::string& text, std::vector<std::int32_t>& ids);

}  // namespace pom
