#include "service/web_search.h"

#include <httplib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "service/hostile_names.h"
#include "service/request_log.h"
#include "service/update_files.h"

namespace pom {
namespace service {

const char kCopyrightBlockedReply[] = "저작권 보호요청으로 차단된 검색어입니다.";

namespace {

// Public files looked at per search. Matching is done here rather than in
// SQL: names are CP949 bytes, which SQL text matching would read as UTF-8
// and could split or merge characters.
constexpr int kMaxScanned = 100000;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Keeps the record layout intact: the client splits at every "|" and skips
// empty fields, so both would shift every later field of the reply.
std::string field(std::string value) {
  if (value.empty()) return "-|";
  for (char& c : value) {
    if (c == '|') c = '!';
  }
  return value + "|";
}

std::string extensionOf(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos || dot + 1 == name.size()) return std::string();
  return name.substr(dot + 1);
}

std::string sizeText(std::int64_t bytes) {
  char text[32];
  if ((bytes >> 20) > 0) {
    std::snprintf(text, sizeof text, "%dMB", static_cast<int>(bytes >> 20));
  } else {
    std::snprintf(text, sizeof text, "%lldKB", static_cast<long long>(bytes >> 10));
  }
  return text;
}

std::string dateText(std::int64_t secondsUtc) {
  const std::time_t t = static_cast<std::time_t>(secondsUtc);
  std::tm parts{};
  gmtime_r(&t, &parts);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", parts.tm_year + 1900,
                parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min);
  return text;
}

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> out;
  std::string current;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (!current.empty()) out.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) out.push_back(current);
  return out;
}

std::string recordsOf(const std::vector<Item>& hits, int firstNumber, const Faults* faults) {
  std::string body;
  int number = firstNumber;
  for (Item hit : hits) {
    if (faults) hit.name = servedName(*faults, hit);
    body += searchReplyRecord(hit, number++);
  }
  return body;
}

int pageOffset(int page, int pageSize) {
  return page > 1 ? (page - 1) * pageSize : 0;
}

// The hits per page: the search_page_size switch, else kSearchPageSize.
int pageSizeOf(const Faults* faults) {
  const std::optional<long long> size =
      faults != nullptr ? faults->peekInt("search_page_size") : std::nullopt;
  return size && *size >= 1 && *size <= kMaxScanned ? static_cast<int>(*size) : kSearchPageSize;
}

int pageOf(const std::string& text) {
  if (text.empty() || text.size() > 6) return 1;
  int page = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 1;
    page = page * 10 + (c - '0');
  }
  return page < 1 ? 1 : page;
}

void sendReply(httplib::Response& res, std::string body) {
  res.set_content(std::move(body), "text/html; charset=euc-kr");
}

}  // namespace

std::string percentDecode(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
        hexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string queryValue(const std::string& target, const std::string& name) {
  const auto question = target.find('?');
  if (question == std::string::npos) return std::string();
  std::size_t start = question + 1;
  while (start <= target.size()) {
    auto end = target.find('&', start);
    if (end == std::string::npos) end = target.size();
    const std::string pair = target.substr(start, end - start);
    const auto equals = pair.find('=');
    if (equals != std::string::npos && pair.compare(0, equals, name) == 0 &&
        equals == name.size()) {
      return percentDecode(pair.substr(equals + 1));
    }
    start = end + 1;
  }
  return std::string();
}

std::string naturalKeyword(const std::string& body) {
  static const std::string kPrefix = "Keyword=";
  if (body.compare(0, kPrefix.size(), kPrefix) != 0) return std::string();
  std::string keyword = body.substr(kPrefix.size());
  // A form posted by a browser would end in a line break; the client's does not.
  while (!keyword.empty() && (keyword.back() == '\r' || keyword.back() == '\n')) keyword.pop_back();
  return percentDecode(keyword);
}

std::string keepText(const Item& file) {
  char text[40];
  std::snprintf(text, sizeof text, "%d일 남음", file.daysKept < 0 ? 0 : file.daysKept);
  return text;
}

std::string searchReplyRecord(const Item& file, int hitNumber) {
  std::string record;
  record += field(file.owner);
  record += field(std::string(1, file.share));
  record += field(std::string(1, file.kind));
  record += field(std::to_string(file.downloads));
  record += field("/webhard/folder/" + std::to_string(file.parentId) + "/");
  record += field(file.uniqueCode);
  record += field(file.name);
  record += field(extensionOf(file.name));
  record += field(std::to_string(file.size));
  record += field(sizeText(file.size));
  record += field(dateText(file.createdAt));
  record += field(std::to_string(file.daysKept));
  record += field(keepText(file));
  record += field(std::to_string(hitNumber));
  record += field(std::to_string(file.id));
  record += field("end");
  return record;
}

namespace {

// One page of the public files whose name contains every word.
std::string searchReply(Store& store, const std::vector<std::string>& words, int page,
                        const Faults* faults) {
  const int pageSize = pageSizeOf(faults);
  const int offset = pageOffset(page, pageSize);
  std::vector<Item> hits;
  int matched = 0;
  for (const Item& candidate : store.searchPublic(std::string(), 0, kMaxScanned)) {
    bool all = true;
    for (const std::string& word : words) {
      if (!containsText(candidate.name, word)) all = false;
    }
    if (!all || matched++ < offset) continue;
    hits.push_back(candidate);
    if (static_cast<int>(hits.size()) == pageSize) break;
  }
  return recordsOf(hits, offset + 1, faults);
}

}  // namespace

std::string normalSearchReply(Store& store, const std::vector<std::string>& bannedWords,
                              const std::string& keyword, int page, const Faults* faults) {
  if (keywordIsBlocked(bannedWords, keyword)) return kCopyrightBlockedReply;
  if (keyword.empty()) return std::string();
  return searchReply(store, {keyword}, page, faults);
}

std::string naturalSearchReply(Store& store, const std::vector<std::string>& bannedWords,
                               const std::string& keyword, int page, const Faults* faults) {
  if (keywordIsBlocked(bannedWords, keyword)) return kCopyrightBlockedReply;
  const std::vector<std::string> parts = words(keyword);
  if (parts.empty()) return std::string();
  return searchReply(store, parts, page, faults);
}

std::string peerListReply(Store& store, const std::string& chksum) {
  constexpr std::size_t kCodeLength = 32;
  if (chksum.size() <= kCodeLength) return std::string();
  const std::string code = chksum.substr(0, kCodeLength);
  const std::string sizeField = chksum.substr(kCodeLength);
  const std::optional<Item> file = store.fileByUniqueCode(code);
  if (!file) return std::string();
  // The client sends the low 32 bits of the size as a signed number.
  const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(file->size));
  if (sizeField != std::to_string(low)) return std::string();
  std::string body;
  for (const std::string& address : store.peerHolders(code)) {
    if (address.empty() || address.find('|') != std::string::npos) continue;
    if (!body.empty()) body += '|';
    body += address;
  }
  return body;
}

std::string badPeerEntries() {
  const std::vector<std::string> entries = {
      "",
      "localhost",
      "127.0.0",
      "127.0.0.256",
      "1.2.3.4.5",
      "127.0.0.11:4881",
      " 127.0.0.12",
      std::string("\x01\x7f\xff\x80garbage"),
      "",
      "127.0.0.11" + std::string(290, '1'),
  };
  std::string body;
  for (const std::string& entry : entries) body += entry + "|";
  return body;
}

namespace {

// The peer list as the "peer_list" switch has it.
void sendPeerList(httplib::Response& res, Store& store, Faults& faults,
                  const std::string& hangingPeer, const std::string& chksum) {
  const std::optional<std::string> mode = faults.consume("peer_list");
  std::string body = peerListReply(store, chksum);
  if (!mode) {
    res.set_content(body, "text/plain");
    return;
  }
  if (*mode == "404" || *mode == "500") {
    res.status = *mode == "404" ? 404 : 500;
    res.set_content(*mode == "404" ? "not found" : "internal error", "text/plain");
    return;
  }
  if (*mode == "hang" || *mode == "hang_only")
    body = *mode == "hang" && !body.empty() ? hangingPeer + "|" + body : hangingPeer;
  if (*mode == "bad" || *mode == "bad_only")
    body = *mode == "bad" ? badPeerEntries() + body : badPeerEntries();
  if (*mode != "cut") {
    res.set_content(body, "text/plain");
    return;
  }
  // Announce more than is sent, then end the connection: the provider's
  // false makes the server drop it after the bytes already written.
  const std::size_t announced = body.size() + 64;
  res.set_content_provider(announced, "text/plain",
                           [body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                             if (offset == 0 && !body.empty()) sink.write(body.data(), body.size());
                             return false;
                           });
}

}  // namespace

namespace {

// The number of records of a reply body: 16 fields each, every field
// non-empty and ended by the one "|" it may hold.
int hitCount(const std::string& body) {
  return static_cast<int>(std::count(body.begin(), body.end(), '|') / 16);
}

void answerSearch(httplib::Response& res, RequestLog* requests, SearchLogEntry entry,
                  std::string body) {
  if (requests != nullptr) {
    entry.blocked = body == kCopyrightBlockedReply;
    entry.hits = entry.blocked ? 0 : hitCount(body);
    requests->recordSearch(entry);
  }
  sendReply(res, std::move(body));
}

}  // namespace

void addSearchRoutes(httplib::Server& server, Store& store, Faults& faults,
                     const std::vector<std::string>& bannedWords, const std::string& hangingPeer,
                     RequestLog* requests) {
  // Handlers copy the word list: they outlive the caller's configuration.
  server.Get("/app/search_new4.asp", [&store, &faults, bannedWords, requests](
                                         const httplib::Request& req, httplib::Response& res) {
    SearchLogEntry entry;
    entry.memberId = queryValue(req.target, "userid");
    entry.keyword = queryValue(req.target, "keyword");
    entry.page = pageOf(queryValue(req.target, "page"));
    answerSearch(res, requests, entry,
                 normalSearchReply(store, bannedWords, entry.keyword, entry.page, &faults));
  });
  server.Post("/Pomvale/Search.asp", [&store, &faults, bannedWords, requests](
                                         const httplib::Request& req, httplib::Response& res) {
    SearchLogEntry entry;
    entry.natural = true;
    entry.keyword = naturalKeyword(req.body);
    entry.page = pageOf(queryValue(req.target, "page"));
    answerSearch(res, requests, entry,
                 naturalSearchReply(store, bannedWords, entry.keyword, entry.page, &faults));
  });
  server.Get("/search.asp",
             [&store, &faults, hangingPeer](const httplib::Request& req, httplib::Response& res) {
               sendPeerList(res, store, faults, hangingPeer, queryValue(req.target, "chksum"));
             });
}

}  // namespace service
}  // namespace pom
