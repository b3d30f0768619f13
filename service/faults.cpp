#include "service/faults.h"

#include <cstdlib>
#include <utility>

#include "service/hostile_names.h"

namespace pom {
namespace service {

namespace {

// Number: a decimal; PeerNumber: a decimal, optionally "@peer" (see faults.h);
// Hostile: a hostile-name kind followed by "@file id"; Pair: two decimals
// separated by a comma; Route: one of the choices, optionally "@/path".
enum class ValueKind { Number, Text, Choice, PeerNumber, Hostile, Pair, Route };

struct KeyInfo {
  const char* key;
  ValueKind kind;
  const char* choices;  // '|'-separated for ValueKind::Choice
};

constexpr KeyInfo kKeys[] = {
    {"login_result", ValueKind::Number, nullptr},
    {"notice", ValueKind::Text, nullptr},
    {"drop_login_after", ValueKind::Number, nullptr},
    {"drop_logins", ValueKind::Number, nullptr},
    {"drop_download_after", ValueKind::Number, nullptr},
    {"drop_upload_after", ValueKind::Number, nullptr},
    {"download_ticket_result", ValueKind::Number, nullptr},
    {"upload_ticket_result", ValueKind::Number, nullptr},
    {"credit_shortage", ValueKind::Choice, "force|soft"},
    {"download_refuse", ValueKind::Choice, "type|flag"},
    {"upload_accept_result", ValueKind::Number, nullptr},
    {"upload_chunk_size", ValueKind::Number, nullptr},
    {"upload_no_ack", ValueKind::Number, nullptr},
    {"upload_early_done", ValueKind::Number, nullptr},
    {"upload_done_result", ValueKind::Number, nullptr},
    {"upload_ticket_sizes", ValueKind::Pair, nullptr},
    {"corrupt_next", ValueKind::Choice, "marker|length"},
    {"corrupt_next_download", ValueKind::Choice, "marker|length"},
    {"filedata_count_mismatch", ValueKind::Number, nullptr},
    {"download_rate", ValueKind::Number, nullptr},
    {"download_accept_size", ValueKind::Number, nullptr},
    {"download_file_gone", ValueKind::Number, nullptr},
    {"peer_stall", ValueKind::PeerNumber, nullptr},
    {"peer_rate", ValueKind::PeerNumber, nullptr},
    {"peer_corrupt", ValueKind::PeerNumber, nullptr},
    {"peer_close_after", ValueKind::PeerNumber, nullptr},
    {"peer_list", ValueKind::Choice, "hang|hang_only|bad|bad_only|404|500|cut"},
    {"hostile_name", ValueKind::Hostile, nullptr},
    {"keepalive_ms", ValueKind::Number, nullptr},
    {"add_friend_result", ValueKind::Number, nullptr},
    {"remove_friend_result", ValueKind::Number, nullptr},
    {"edit_memo_result", ValueKind::Number, nullptr},
    {"sharing_result", ValueKind::Number, nullptr},
    {"delete_result", ValueKind::Number, nullptr},
    {"rename_result", ValueKind::Number, nullptr},
    {"extend_term_result", ValueKind::Number, nullptr},
    {"combined_link_result", ValueKind::Number, nullptr},
    {"folder_created_byte152", ValueKind::Number, nullptr},
    {"http_fault", ValueKind::Route, "404|500|cut|long|stall|dribble"},
    {"http_stall_ms", ValueKind::Number, nullptr},
    {"http_dribble_ms", ValueKind::Number, nullptr},
    {"update_uver", ValueKind::Text, nullptr},
    {"update_cver", ValueKind::Text, nullptr},
    {"update_updater_path", ValueKind::Text, nullptr},
    {"update_client_path", ValueKind::Text, nullptr},
    {"search_page_size", ValueKind::Number, nullptr},
};

const KeyInfo* findKey(const std::string& key) {
  for (const auto& info : kKeys) {
    if (key == info.key) return &info;
  }
  return nullptr;
}

std::optional<long long> parseInt(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  long long value = std::strtoll(text.c_str(), &end, 10);
  if (end == nullptr || *end != '\0') return std::nullopt;
  return value;
}

// "A,B": both numbers.
std::optional<std::pair<long long, long long>> parsePair(const std::string& text) {
  const auto comma = text.find(',');
  if (comma == std::string::npos) return std::nullopt;
  auto first = parseInt(text.substr(0, comma));
  auto second = parseInt(text.substr(comma + 1));
  if (!first || !second) return std::nullopt;
  return std::make_pair(*first, *second);
}

// "N" or "N@P": the number and the peer selector ("" for every peer).
std::optional<std::pair<long long, std::string>> parsePeerValue(const std::string& text) {
  const auto at = text.find('@');
  auto number = parseInt(text.substr(0, at));
  if (!number) return std::nullopt;
  std::string peer = at == std::string::npos ? std::string() : text.substr(at + 1);
  if (at != std::string::npos && peer.empty()) return std::nullopt;
  return std::make_pair(*number, peer);
}

// A selector names a peer by its number (1 for the first peer host) or by
// its address.
bool peerMatches(const std::string& selector, int peerNumber, const std::string& host) {
  return selector.empty() || selector == host || selector == std::to_string(peerNumber);
}

bool isChoice(const char* choices, const std::string& value) {
  std::string all = std::string("|") + choices + "|";
  return !value.empty() && all.find("|" + value + "|") != std::string::npos;
}

// "MODE" or "MODE@/path".
bool isRoute(const char* choices, const std::string& value) {
  const auto at = value.find('@');
  if (at != std::string::npos && (at + 1 >= value.size() || value[at + 1] != '/')) return false;
  return isChoice(choices, value.substr(0, at));
}

}  // namespace

bool Faults::knownKey(const std::string& key) {
  return findKey(key) != nullptr;
}

bool Faults::set(const std::string& key, const std::string& value, int count, std::string* error) {
  const KeyInfo* info = findKey(key);
  if (info == nullptr) {
    if (error) *error = "unknown switch " + key;
    return false;
  }
  if (info->kind == ValueKind::Number && !parseInt(value)) {
    if (error) *error = key + " needs a number";
    return false;
  }
  if (info->kind == ValueKind::PeerNumber && !parsePeerValue(value)) {
    if (error) *error = key + " needs a number, optionally followed by @peer";
    return false;
  }
  if (info->kind == ValueKind::Pair && !parsePair(value)) {
    if (error) *error = key + " needs two numbers separated by a comma";
    return false;
  }
  if (info->kind == ValueKind::Hostile && !parseHostileSwitch(value)) {
    if (error) *error = key + " takes KIND@FILEID with KIND one of " + hostileNameKinds();
    return false;
  }
  if (info->kind == ValueKind::Choice && !isChoice(info->choices, value)) {
    if (error) *error = key + " takes " + info->choices;
    return false;
  }
  if (info->kind == ValueKind::Route && !isRoute(info->choices, value)) {
    if (error) *error = key + " takes " + info->choices + ", optionally followed by @/path";
    return false;
  }
  if (count == 0 || count < -1) {
    if (error) *error = "count must be positive";
    return false;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  switches_[key] = Switch{value, count};
  return true;
}

bool Faults::setFromArgument(const std::string& argument, std::string* error) {
  auto equals = argument.find('=');
  if (equals == std::string::npos) {
    if (error) *error = "expected key=value";
    return false;
  }
  std::string key = argument.substr(0, equals);
  std::string value = argument.substr(equals + 1);
  int count = -1;
  auto star = value.rfind('*');
  if (star != std::string::npos) {
    auto parsed = parseInt(value.substr(star + 1));
    if (parsed) {
      count = static_cast<int>(*parsed);
      value.resize(star);
    }
  }
  return set(key, value, count, error);
}

void Faults::clear(const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  switches_.erase(key);
}

void Faults::clearAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  switches_.clear();
  heldBeyondSize_.clear();
}

std::optional<std::string> Faults::peek(const std::string& key) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = switches_.find(key);
  if (it == switches_.end()) return std::nullopt;
  return it->second.value;
}

std::optional<std::string> Faults::consume(const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = switches_.find(key);
  if (it == switches_.end()) return std::nullopt;
  std::string value = it->second.value;
  if (it->second.remaining > 0 && --it->second.remaining == 0) switches_.erase(it);
  return value;
}

std::optional<long long> Faults::peekInt(const std::string& key) const {
  auto value = peek(key);
  return value ? parseInt(*value) : std::nullopt;
}

std::optional<long long> Faults::consumeInt(const std::string& key) {
  auto value = consume(key);
  return value ? parseInt(*value) : std::nullopt;
}

std::optional<std::pair<long long, long long>> Faults::consumeIntPair(const std::string& key) {
  auto value = consume(key);
  return value ? parsePair(*value) : std::nullopt;
}

void Faults::markHeldBeyondSize(std::int32_t fileId) {
  std::lock_guard<std::mutex> lock(mutex_);
  heldBeyondSize_.insert(fileId);
}

bool Faults::heldBeyondSize(std::int32_t fileId) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return heldBeyondSize_.count(fileId) > 0;
}

std::optional<long long> Faults::consumeForPeer(const std::string& key, int peerNumber,
                                                const std::string& host) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = switches_.find(key);
  if (it == switches_.end()) return std::nullopt;
  auto parsed = parsePeerValue(it->second.value);
  if (!parsed || !peerMatches(parsed->second, peerNumber, host)) return std::nullopt;
  if (it->second.remaining > 0 && --it->second.remaining == 0) switches_.erase(it);
  return parsed->first;
}

std::optional<std::string> Faults::consumeForPath(const std::string& key, const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = switches_.find(key);
  if (it == switches_.end()) return std::nullopt;
  const std::string& value = it->second.value;
  const auto at = value.find('@');
  if (at != std::string::npos && value.compare(at + 1, std::string::npos, path) != 0)
    return std::nullopt;
  std::string mode = value.substr(0, at);
  if (it->second.remaining > 0 && --it->second.remaining == 0) switches_.erase(it);
  return mode;
}

std::vector<std::string> Faults::describe() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> lines;
  for (const auto& [key, entry] : switches_) {
    std::string line = key + "=" + entry.value;
    if (entry.remaining > 0) line += "*" + std::to_string(entry.remaining);
    lines.push_back(line);
  }
  return lines;
}

}  // namespace service
}  // namespace pom
