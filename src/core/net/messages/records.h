// Records shared by several login-server messages: the 16-byte date block,
// FolderEntry (46 bytes + name), FriendRecord (242 bytes) and SearchEntry
// (76 bytes + name).
//
// Each record writes itself at an offset of a WireWriter and reads itself
// from an offset of a WireReader. Variable records report how many bytes they
// took so list readers can advance; a read returns nothing when the record
// does not lie wholly inside the body, which is where a list stops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>

#include "core/net/messages/message_types.h"
#include "core/net/wire.h"

namespace pom {

// year (int16), month, day, hour, minute, second (uint16 each), fraction
// (uint32). For files the day field holds the number of days the file is
// kept.
struct DateBlock {
  static constexpr std::size_t kSize = 16;
  std::int16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint32_t fraction = 0;

  void writeTo(WireWriter& out, std::size_t offset) const;
  static DateBlock readFrom(const WireReader& in, std::size_t offset);
  auto tie() const { return std::tie(year, month, day, hour, minute, second, fraction); }
};

// One file or folder of a folder listing. itemId 0 marks an empty slot.
struct FolderEntry {
  static constexpr std::size_t kFixedSize = 46;
  std::int32_t itemId = 0;
  std::int32_t parentId = 0;
  char sharingState = 0;
  std::int64_t storedBytes = 0;  // -1 or >= fileSize: complete
  std::int64_t fileSize = 0;     // 0: folder
  DateBlock date;
  std::uint16_t downloadCount = 0;
  std::string name;  // at most 65,535 bytes travel; longer names are cut

  std::size_t encodedSize() const;
  // Writes the record at offset; the writer must hold encodedSize() bytes there.
  void writeTo(WireWriter& out, std::size_t offset) const;
  // Reads a record starting at offset; `used` receives its length (46 + N).
  static std::optional<FolderEntry> readFrom(const WireReader& in, std::size_t offset,
                                             std::size_t& used);
  auto tie() const {
    return std::tie(itemId, parentId, sharingState, storedBytes, fileSize, date, downloadCount,
                    name);
  }
};

struct FriendRecord {
  static constexpr std::size_t kSize = 242;
  std::string friendId;     // char[21]
  std::string displayName;  // char[21]
  std::string memo;         // char[200]

  void writeTo(WireWriter& out, std::size_t offset) const;
  static FriendRecord readFrom(const WireReader& in, std::size_t offset);
  auto tie() const { return std::tie(friendId, displayName, memo); }
};

// One file found by a search, or one file of another member's folder.
struct SearchEntry {
  static constexpr std::size_t kFixedSize = 76;
  std::int32_t fileId = 0;
  std::int32_t folderId = 0;
  std::string ownerId;     // char[21]
  std::string uniqueCode;  // char[33], 32 characters
  std::int64_t fileSize = 0;
  std::int32_t daysKept = 0;  // negative is shown as 0
  std::string name;           // at most 65,535 bytes travel

  std::size_t encodedSize() const;
  void writeTo(WireWriter& out, std::size_t offset) const;
  static std::optional<SearchEntry> readFrom(const WireReader& in, std::size_t offset,
                                             std::size_t& used);
  auto tie() const {
    return std::tie(fileId, folderId, ownerId, uniqueCode, fileSize, daysKept, name);
  }
};

}  // namespace pom
