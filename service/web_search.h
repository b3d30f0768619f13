// The search servers and the peer list, answered from the store.
//
// Normal search: GET /app/search_new4.asp?share=t&userid=ID&chksum=&keyword=K
// where K is percent-encoded CP949: every "%XX" (two hex digits) is the
// byte, "%25" and "%2B" included; anything else, "+" and a lone "%" of an
// older client included, is taken as it stands. Natural-language search:
// POST /Pomvale/Search.asp with the body "Keyword=K", K encoded the same
// way. Both answer with the public, complete files whose name matches:
// normal search on the whole keyword, natural search on every
// blank-separated word. An optional "page" parameter (1-based, in the query
// of either) selects the next kSearchPageSize hits; without it the first
// page is answered. Every search answered is logged (RequestLog's
// "SearchRequest" line) when a log is given.
//
// Reply: one record of 16 "|"-terminated fields per hit (see
// searchReplyRecord), an empty body for no hit, and kCopyrightBlockedReply when
// the keyword holds a banned word. The client skips empty fields, so no field
// is ever empty, and a "|" inside a value becomes "!".
//
// Peer list: GET /search.asp?chksum=CODESIZE, the file's 32-digit unique code
// directly followed by the low 32 bits of its size as a signed decimal; the
// reply is the holders' addresses joined by "|", or an empty body when the
// file is unknown, its size differs or no peer holds it. The "peer_list"
// switch (faults.h) spoils it: a hanging address in front, malformed entries,
// status 404 or 500, or a body cut short of its Content-Length.
//
// All functions are safe on any server thread: the Store serialises access.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/faults.h"
#include "service/store.h"

namespace httplib {
class Server;
}

namespace pom {
namespace service {

class RequestLog;

inline constexpr int kSearchPageSize = 100;

// Begins with the six bytes the client looks for within the first 15.
extern const char kCopyrightBlockedReply[];

// Value of the query parameter `name` in a request target ("/path?a=1&b=2"),
// percent-decoded; empty when absent.
std::string queryValue(const std::string& target, const std::string& name);
// Decodes "%XX" (two hex digits) into the byte; leaves anything else as is.
std::string percentDecode(const std::string& text);
// The keyword of a natural-search body ("Keyword=..." up to the end),
// percent-decoded.
std::string naturalKeyword(const std::string& body);

// Retention text of a hit: remaining days, negative counted as 0.
std::string keepText(const Item& file);
// One hit as 16 fields, each followed by "|":
//  0 owner id          4 "/webhard/folder/<folder id>/"  8 size in bytes   12 keep text
//  1 share state       5 unique code                     9 size as text    13 hit number
//  2 kind              6 name                           10 created at      14 file id
//  3 download count    7 extension                      11 days kept       15 "end"
std::string searchReplyRecord(const Item& file, int hitNumber);

// Whole reply bodies (blocked, empty or the records of the page).
// With faults, hits are named as the service serves them (hostile_names.h).
std::string normalSearchReply(Store& store, const std::vector<std::string>& bannedWords,
                              const std::string& keyword, int page, const Faults* faults = nullptr);
std::string naturalSearchReply(Store& store, const std::vector<std::string>& bannedWords,
                               const std::string& keyword, int page,
                               const Faults* faults = nullptr);
std::string peerListReply(Store& store, const std::string& chksum);
// The malformed entries of the "peer_list bad" reply, in order: empty pieces,
// names that are not dotted IPv4 (a host name, three parts, an octet of 256,
// five parts, an address with a port, a leading blank, control and high
// bytes) and an entry of 300 bytes; joined by "|".
std::string badPeerEntries();

// Registers the two searches and the peer list. Faults: names served under
// a hostile name (hostile_names.h) and the "peer_list" switch.
void addSearchRoutes(httplib::Server& server, Store& store, Faults& faults,
                     const std::vector<std::string>& bannedWords,
                     const std::string& hangingPeer = std::string(),
                     RequestLog* requests = nullptr);

}  // namespace service
}  // namespace pom
