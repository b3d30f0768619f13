// The advertisement line of the main window: one text and one link fetched
// from the update server at start-up ("/Ad/index.asp", agent "HTTPTEST").
// The body (at most 1,023 bytes kept) is split at every "|", empty pieces
// skipped; piece 2 is the link, the other pieces concatenated are the text.
// A failed request leaves both empty.
#pragma once

#include <cstddef>
#include <string>

namespace pom {

class HttpClient;

inline constexpr std::size_t kAdLineMaxBody = 1023;

struct AdLine {
  std::string text;
  std::string link;
};

AdLine parseAdLine(const std::string& body);
// updateServer: "host" or "host:port".
AdLine fetchAdLine(HttpClient& http, const std::string& updateServer);

}  // namespace pom
