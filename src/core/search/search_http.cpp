#include "core/search/search_http.h"

#include <limits>

#include "core/base/text_utils.h"
#include "core/search/search_keyword.h"

namespace pom {

namespace {

constexpr char kNormalPath[] = "/app/search_new4.asp?share=t&userid=";
constexpr char kNaturalPath[] = "/Pomvale/Search.asp";
constexpr char kNaturalHeaders[] =
    "Accept: text/*\r\n"
    "User-Agent: Mozilla/4.0 (compatible; MSIE 5.0;* Windows NT)\r\n"
    "Content-type: application/x-www-form-urlencoded\r\n";
constexpr std::size_t kCopyrightWindow = 15;

// The leading decimal number of a field as the C library reads one: blanks,
// an optional sign, then digits; 0 when there are none. Held at the limits
// of the type instead of overflowing.
template <typename Number>
Number leadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  constexpr Number kMax = std::numeric_limits<Number>::max();
  Number value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    if (value > (kMax - digit) / 10) return negative ? std::numeric_limits<Number>::min() : kMax;
    value = static_cast<Number>(value * 10 + digit);
  }
  return negative ? static_cast<Number>(-value) : value;
}

std::string pageSuffix(int page) {
  return page > 1 ? "&page=" + std::to_string(page) : std::string();
}

HttpRequest baseRequest(const HostPort& server) {
  HttpRequest request;
  request.host = httpHost(server);
  request.timeoutMs = kSearchTimeoutMs;
  return request;
}

}  // namespace

std::string httpHost(const HostPort& server) {
  if (server.port == 0 || server.port == kHttpPort) return server.host;
  return server.host + ":" + std::to_string(server.port);
}

HttpRequest normalSearchRequest(const HostPort& server, const std::string& memberId,
                                const std::string& keyword, int page) {
  HttpRequest request = baseRequest(server);
  request.agent = kSearchAgent;
  request.path = kNormalPath + encodeKeyword(memberId) +
                 "&chksum=&keyword=" + encodeKeyword(keyword) + pageSuffix(page);
  return request;
}

HttpRequest naturalSearchRequest(const HostPort& server, const std::string& keyword, int page) {
  HttpRequest request = baseRequest(server);
  request.method = "POST";
  request.path = kNaturalPath + (page > 1 ? "?page=" + std::to_string(page) : std::string());
  request.headers = kNaturalHeaders;
  request.body = "Keyword=" + encodeKeyword(keyword);
  return request;
}

std::int32_t folderKeyOf(std::string_view path) {
  std::size_t slash = std::string_view::npos;
  for (int found = 0; found < 3; ++found) {
    slash = path.find('/', slash == std::string_view::npos ? 0 : slash + 1);
    if (slash == std::string_view::npos) return 0;
  }
  const std::string_view rest = path.substr(slash + 1);
  return leadingNumber<std::int32_t>(rest.substr(0, rest.find('/')));
}

std::vector<SearchHit> parseSearchHits(std::string_view body) {
  std::vector<SearchHit> hits;
  // One record for the whole body, as the reply is read: a group that
  // leaves a field out keeps the previous group's value.
  SearchHit hit;
  int counter = 0;
  std::size_t start = 0;
  while (start < body.size()) {
    std::size_t end = body.find('|', start);
    if (end == std::string_view::npos) end = body.size();
    const std::string_view field = body.substr(start, end - start);
    start = end + 1;
    if (field.empty()) continue;
    switch (counter) {
      case 0:
        hit.ownerId = cutText(field, kOwnerIdBytes);
        break;
      case 4:
        hit.folderKey = folderKeyOf(field);
        break;
      case 6:
        hit.name = cutText(field, kHitNameBytes);
        break;
      case 8:
        hit.sizeBytes = leadingNumber<std::int64_t>(field);
        break;
      case 12:
        hit.keepText = cutText(field, kKeepTextBytes);
        break;
      case 14:
        hit.fileId = leadingNumber<std::int32_t>(field);
        break;
      case 15:
        hits.push_back(hit);
        break;
      default:
        break;
    }
    counter = (counter + 1) % 16;
  }
  return hits;
}

SearchReply readSearchReply(const HttpResponse& response) {
  SearchReply reply;
  const bool ok = response.sent && response.status >= 200 && response.status < 300;
  if (!ok || !response.hasContentLength) {
    reply.message = kNoReplyMessage;
    return reply;
  }
  reply.read = true;
  if (response.contentLength < 2) {
    reply.message = kNoResultMessage;
    return reply;
  }
  // Only what arrived counts, and never more than was announced.
  std::string_view body = response.body;
  if (static_cast<std::uint64_t>(response.contentLength) < body.size())
    body = body.substr(0, static_cast<std::size_t>(response.contentLength));
  if (body.substr(0, kCopyrightWindow).find("저작권") != std::string_view::npos) {
    reply.message = kCopyrightMessage;
    return reply;
  }
  reply.hits = parseSearchHits(body);
  return reply;
}

}  // namespace pom
