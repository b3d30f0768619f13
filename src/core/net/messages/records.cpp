#include "core/net/messages/records.h"

#include <algorithm>
#include <limits>

namespace pom {
namespace {

constexpr std::size_t kMaxName = std::numeric_limits<std::uint16_t>::max();

std::size_t nameLength(const std::string& name) {
  return std::min(name.size(), kMaxName);
}

}  // namespace

void DateBlock::writeTo(WireWriter& out, std::size_t offset) const {
  out.i16(offset, year);
  out.u16(offset + 2, month);
  out.u16(offset + 4, day);
  out.u16(offset + 6, hour);
  out.u16(offset + 8, minute);
  out.u16(offset + 10, second);
  out.u32(offset + 12, fraction);
}

DateBlock DateBlock::readFrom(const WireReader& in, std::size_t offset) {
  DateBlock d;
  d.year = in.i16(offset);
  d.month = in.u16(offset + 2);
  d.day = in.u16(offset + 4);
  d.hour = in.u16(offset + 6);
  d.minute = in.u16(offset + 8);
  d.second = in.u16(offset + 10);
  d.fraction = in.u32(offset + 12);
  return d;
}

std::size_t FolderEntry::encodedSize() const {
  return kFixedSize + nameLength(name);
}

void FolderEntry::writeTo(WireWriter& out, std::size_t offset) const {
  const std::size_t n = nameLength(name);
  out.i32(offset, itemId);
  out.i32(offset + 4, parentId);
  out.u8(offset + 8, static_cast<std::uint8_t>(sharingState));
  out.i64(offset + 10, storedBytes);
  out.i64(offset + 18, fileSize);
  date.writeTo(out, offset + 26);
  out.u16(offset + 42, downloadCount);
  out.u16(offset + 44, static_cast<std::uint16_t>(n));
  out.raw(offset + kFixedSize, n, name);
}

std::optional<FolderEntry> FolderEntry::readFrom(const WireReader& in, std::size_t offset,
                                                 std::size_t& used) {
  if (!in.has(offset, kFixedSize)) return std::nullopt;
  const std::size_t n = in.u16(offset + 44);
  if (!in.has(offset + kFixedSize, n)) return std::nullopt;
  FolderEntry e;
  e.itemId = in.i32(offset);
  e.parentId = in.i32(offset + 4);
  e.sharingState = static_cast<char>(in.u8(offset + 8));
  e.storedBytes = in.i64(offset + 10);
  e.fileSize = in.i64(offset + 18);
  e.date = DateBlock::readFrom(in, offset + 26);
  e.downloadCount = in.u16(offset + 42);
  e.name = in.bytes(offset + kFixedSize, n);
  used = kFixedSize + n;
  return e;
}

void FriendRecord::writeTo(WireWriter& out, std::size_t offset) const {
  out.text(offset, 21, friendId);
  out.text(offset + 21, 21, displayName);
  out.text(offset + 42, 200, memo);
}

FriendRecord FriendRecord::readFrom(const WireReader& in, std::size_t offset) {
  FriendRecord r;
  r.friendId = in.text(offset, 21);
  r.displayName = in.text(offset + 21, 21);
  r.memo = in.text(offset + 42, 200);
  return r;
}

std::size_t SearchEntry::encodedSize() const {
  return kFixedSize + nameLength(name);
}

void SearchEntry::writeTo(WireWriter& out, std::size_t offset) const {
  const std::size_t n = nameLength(name);
  out.i32(offset, fileId);
  out.i32(offset + 4, folderId);
  out.text(offset + 8, 21, ownerId);
  out.text(offset + 29, 33, uniqueCode);
  out.u16(offset + 62, static_cast<std::uint16_t>(n));
  out.i64(offset + 64, fileSize);
  out.i32(offset + 72, daysKept);
  out.raw(offset + kFixedSize, n, name);
}

std::optional<SearchEntry> SearchEntry::readFrom(const WireReader& in, std::size_t offset,
                                                 std::size_t& used) {
  if (!in.has(offset, kFixedSize)) return std::nullopt;
  const std::size_t n = in.u16(offset + 62);
  if (!in.has(offset + kFixedSize, n)) return std::nullopt;
  SearchEntry e;
  e.fileId = in.i32(offset);
  e.folderId = in.i32(offset + 4);
  e.ownerId = in.text(offset + 8, 21);
  e.uniqueCode = in.text(offset + 29, 33);
  e.fileSize = in.i64(offset + 64);
  e.daysKept = in.i32(offset + 72);
  e.name = in.bytes(offset + kFixedSize, n);
  used = kFixedSize + n;
  return e;
}

}  // namespace pom
