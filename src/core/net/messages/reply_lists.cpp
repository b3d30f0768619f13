// The variable-length replies: friend list, folder listings and search-style
// lists. Entries are read only while they lie wholly inside the body; the
// announced count is kept as sent.
#include <algorithm>
#include <limits>

#include "core/net/messages/body_check.h"
#include "core/net/messages/replies.h"
#include "core/net/wire.h"

namespace pom {
namespace {

// Appends as many entries as the count field can announce and returns how
// many were written.
template <typename Entry, typename Count>
Count appendEntries(WireWriter& out, const std::vector<Entry>& entries) {
  const std::size_t n = std::min<std::size_t>(entries.size(), std::numeric_limits<Count>::max());
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = out.grow(entries[i].encodedSize());
    entries[i].writeTo(out, at);
  }
  return static_cast<Count>(n);
}

template <typename Entry>
std::vector<Entry> readEntries(const WireReader& in, std::size_t offset, std::size_t announced) {
  std::vector<Entry> entries;
  for (std::size_t i = 0; i < announced; ++i) {
    std::size_t used = 0;
    auto entry = Entry::readFrom(in, offset, used);
    if (!entry) break;
    entries.push_back(std::move(*entry));
    offset += used;
  }
  return entries;
}

template <typename List>
Bytes encodeSearchStyle(const List& list) {
  auto out = body::start(List::kType, List::kHeadSize);
  out.u16(6, appendEntries<SearchEntry, std::uint16_t>(out, list.entries));
  return out.take();
}

template <typename List>
std::optional<List> decodeSearchStyle(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isAtLeast(in, List::kType, List::kHeadSize)) return std::nullopt;
  List m;
  m.count = in.u16(6);
  m.entries = readEntries<SearchEntry>(in, List::kHeadSize, m.count);
  return m;
}

}  // namespace

Bytes FriendList::encode() const {
  auto out = body::start(kType, kHeadSize);
  const std::size_t n = std::min<std::size_t>(friends.size(), 255);
  for (std::size_t i = 0; i < n; ++i) friends[i].writeTo(out, out.grow(FriendRecord::kSize));
  out.u8(6, static_cast<std::uint8_t>(n));
  return out.take();
}

std::optional<FriendList> FriendList::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isAtLeast(in, kType, kHeadSize)) return std::nullopt;
  FriendList m;
  m.count = in.u8(6);
  std::size_t offset = kHeadSize;
  for (std::size_t i = 0; i < m.count && in.has(offset, FriendRecord::kSize); ++i) {
    m.friends.push_back(FriendRecord::readFrom(in, offset));
    offset += FriendRecord::kSize;
  }
  return m;
}

Bytes FolderList::encode() const {
  auto out = body::start(kType, kHeadSize);
  out.i32(6, folderId);
  out.u8(14, continuation);
  out.u8(15, capacity);
  out.u8(16, appendEntries<FolderEntry, std::uint8_t>(out, entries));
  return out.take();
}

std::optional<FolderList> FolderList::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isAtLeast(in, kType, kHeadSize)) return std::nullopt;
  FolderList m;
  m.folderId = in.i32(6);
  m.continuation = in.u8(14);
  m.capacity = in.u8(15);
  m.count = in.u8(16);
  m.entries = readEntries<FolderEntry>(in, kHeadSize, m.count);
  return m;
}

Bytes MemberFolderList::encode() const {
  auto out = body::start(kType, kHeadSize);
  out.text(6, 21, friendId);
  out.i32(27, folderId);
  out.u8(35, continuation);
  out.u8(36, capacity);
  out.u8(37, appendEntries<FolderEntry, std::uint8_t>(out, entries));
  return out.take();
}

std::optional<MemberFolderList> MemberFolderList::decode(const std::uint8_t* data,
                                                         std::size_t length) {
  WireReader in(data, length);
  if (!body::isAtLeast(in, kType, kHeadSize)) return std::nullopt;
  MemberFolderList m;
  m.friendId = in.text(6, 21);
  m.folderId = in.i32(27);
  m.continuation = in.u8(35);
  m.capacity = in.u8(36);
  m.count = in.u8(37);
  m.entries = readEntries<FolderEntry>(in, kHeadSize, m.count);
  return m;
}

Bytes SearchResults::encode() const {
  return encodeSearchStyle(*this);
}
std::optional<SearchResults> SearchResults::decode(const std::uint8_t* data, std::size_t length) {
  return decodeSearchStyle<SearchResults>(data, length);
}

Bytes SearchMoreResults::encode() const {
  return encodeSearchStyle(*this);
}
std::optional<SearchMoreResults> SearchMoreResults::decode(const std::uint8_t* data,
                                                           std::size_t length) {
  return decodeSearchStyle<SearchMoreResults>(data, length);
}

Bytes FolderContent::encode() const {
  return encodeSearchStyle(*this);
}
std::optional<FolderContent> FolderContent::decode(const std::uint8_t* data, std::size_t length) {
  return decodeSearchStyle<FolderContent>(data, length);
}

}  // namespace pom
