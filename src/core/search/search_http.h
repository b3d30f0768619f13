// The two search requests over the HttpClient port and the reading of their
// reply into SearchHit records or one message row.
//
// The requests are made synchronously on the loop thread, as the program's
// other small HTTP requests are, so each one is bounded: kSearchTimeoutMs
// for the whole request and kSearchMaxBody bytes of reply kept, whatever the
// server announces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/servers.h"
#include "core/ports/http_client.h"
#include "core/search/search_hit.h"

namespace pom {

// Five seconds: a search server on the local network answers in well under
// a second, and the window does not repaint while the request runs, so a
// server that is down must not freeze it for long; long enough for a slow
// page of a few hundred hits.
inline constexpr int kSearchTimeoutMs = 5000;
// Far above any real page (a hit is about 200 bytes); a larger body is cut
// there and its tail parsed as far as it is whole.
inline constexpr std::size_t kSearchMaxBody = 4 * 1024 * 1024;
inline constexpr char kSearchAgent[] = "ActiveWAB2";

inline constexpr char kNoReplyMessage[] =
    "검색한 결과가 존재 하지 않습니다.(관리자에게 문의해 주세요!)";
inline constexpr char kNoResultMessage[] = "검색한 결과가 존재 하지 않습니다.";
inline constexpr char kCopyrightMessage[] = "저작권 보호요청으로 차단된 검색어입니다.";

// "host" or "host:port" (the port only when it is not 80).
std::string httpHost(const HostPort& server);

// The normal search: GET with the member's id and the encoded keyword; a
// page above 1 asks for that page of hits ("&page=N").
HttpRequest normalSearchRequest(const HostPort& server, const std::string& memberId,
                                const std::string& keyword, int page);
// The natural-language search: POST of "Keyword=" and the encoded keyword
// (the HTTP layer writes the Content-Length).
HttpRequest naturalSearchRequest(const HostPort& server, const std::string& keyword, int page);

struct SearchReply {
  // A reply was read (with a length); false when the server could not be
  // reached or answered with an error status.
  bool read = false;
  std::vector<SearchHit> hits;
  // The message row to show instead of hits; empty when the body was parsed
  // (even into no hit: fewer than 16 fields show nothing).
  std::string message;
};

SearchReply readSearchReply(const HttpResponse& response);

// The records of a body: fields split at every run of "|", 16 to a record.
std::vector<SearchHit> parseSearchHits(std::string_view body);
// The decimal number between the third and the fourth "/" of a path; 0 when
// there is none.
std::int32_t folderKeyOf(std::string_view path);

}  // namespace pom
