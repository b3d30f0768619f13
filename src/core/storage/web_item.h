// WebItem: one file or folder of the service as the web lists hold it, its
// row texts and its sort order.
//
// Texts are CP949. A file has a non-zero size; a folder has size 0. For a
// folder `stamp` is its creation time; for a file the day word of `stamp`
// holds the days it is still kept.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/net/messages/records.h"
#include "core/net/messages/replies.h"

namespace pom {

struct WebItem {
  std::int32_t itemId = 0;
  std::int32_t parentId = 0;
  std::string ownerId;  // the friend whose folder this is; empty for the member's own
  std::string name;     // at most 259 bytes
  char share = 0;
  std::int64_t storedBytes = 0;  // -1 also means complete
  std::int64_t sizeBytes = 0;    // 0: a folder
  DateBlock stamp;
  std::uint16_t downloads = 0;

  bool isFolder() const { return sizeBytes == 0; }
  bool complete() const { return storedBytes == -1 || storedBytes >= sizeBytes; }
  std::uint16_t daysKept() const { return stamp.day; }

  static WebItem fromEntry(const FolderEntry& entry, const std::string& ownerId);
  static WebItem fromCreated(const FolderCreated& folder);
  static WebItem fromRegistered(const FileRegistered& file);
};

// Item ids below this are the roots ("내웹폴더" is 0); commands never change them.
inline constexpr std::int32_t kFirstOwnItem = 3;
inline constexpr std::size_t kWebNameBytes = 259;

enum WebColumn { kNameColumn = 0, kSizeColumn, kShareColumn, kStampColumn, kDownloadsColumn };
inline constexpr int kWebColumns = 5;

// "공개", "비공개", "클럽공개", "공개불가" ('b' and 's'), or empty.
const char* shareText(char share);

// The five column texts. A row appended while its listing arrives shows the
// days kept as they are; a refilled row shows "30일 이상" above 30.
std::array<std::string, kWebColumns> webRowTexts(const WebItem& item, bool refilled);

// The shared sort settings: the column and the direction flag.
struct WebSort {
  int column = kStampColumn;
  bool flag = true;
  // A click on a column: that column, the flag inverted.
  void click(int clicked) {
    column = clicked;
    flag = !flag;
  }
};

// A strict weak order: ".." before everything; then by the column. Names go
// descending with the flag set (ascending without), the other columns
// ascending with the flag set (descending without).
bool webItemBefore(const WebItem& a, const WebItem& b, const WebSort& sort);

// The name order of the lists: ASCII letters without case, other bytes (the
// CP949 text) as they stand; negative, zero or positive.
int compareNames(const std::string& a, const std::string& b);

}  // namespace pom
