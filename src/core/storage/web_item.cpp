#include "core/storage/web_item.h"

#include <algorithm>
#include <tuple>

#include "core/base/text_utils.h"

namespace pom {
namespace {

auto stampKey(const DateBlock& d) {
  return std::make_tuple(d.year, d.month, d.day, d.hour, d.minute, d.second);
}

unsigned char folded(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

WebItem WebItem::fromEntry(const FolderEntry& entry, const std::string& ownerId) {
  WebItem item;
  item.itemId = entry.itemId;
  item.parentId = entry.parentId;
  item.ownerId = ownerId;
  item.name = cutText(entry.name, kWebNameBytes);
  item.share = entry.sharingState;
  item.storedBytes = entry.storedBytes;
  item.sizeBytes = entry.fileSize;
  item.stamp = entry.date;
  item.downloads = entry.downloadCount;
  return item;
}

WebItem WebItem::fromCreated(const FolderCreated& folder) {
  WebItem item;
  item.itemId = folder.folderId;
  item.parentId = folder.parentId;
  item.name = folder.name;
  item.share = folder.sharingState;
  item.storedBytes = folder.storedBytes;
  item.sizeBytes = folder.size;
  item.stamp = folder.date;
  item.downloads = folder.downloadCount;
  return item;
}

WebItem WebItem::fromRegistered(const FileRegistered& file) {
  WebItem item;
  item.itemId = file.fileId;
  item.parentId = file.parentId;
  item.name = cutText(file.name, kWebNameBytes);
  item.share = file.sharingState;
  item.storedBytes = file.storedBytes;
  item.sizeBytes = file.size;
  item.stamp = file.date;
  item.downloads = file.downloadCount;
  return item;
}

const char* shareText(char share) {
  switch (share) {
    case 't':
      return "공개";
    case 'f':
      return "비공개";
    case 'c':
      return "클럽공개";
    case 'b':
    case 's':
      return "공개불가";
    default:
      return "";
  }
}

std::array<std::string, kWebColumns> webRowTexts(const WebItem& item, bool refilled) {
  std::array<std::string, kWebColumns> texts;
  texts[kNameColumn] = item.name;
  if (!item.isFolder()) {
    const std::string stored =
        item.complete() ? std::string("[완료]") : "[" + formatSize(item.storedBytes) + "]";
    texts[kSizeColumn] = formatSize(item.sizeBytes) + stored;
    texts[kStampColumn] = refilled && item.daysKept() > 30 ? std::string("30일 이상")
                                                           : std::to_string(item.daysKept()) + "일";
    texts[kDownloadsColumn] = std::to_string(item.downloads);
  } else {
    const DateBlock& d = item.stamp;
    texts[kStampColumn] = formatDate(d.year, d.month, d.day, d.hour, d.minute);
  }
  texts[kShareColumn] = shareText(item.share);
  return texts;
}

int compareNames(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = folded(a[i]), y = folded(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool webItemBefore(const WebItem& a, const WebItem& b, const WebSort& sort) {
  const bool aUp = a.name == "..", bUp = b.name == "..";
  if (aUp || bUp) return aUp && !bUp;
  switch (sort.column) {
    case kNameColumn: {
      const int order = compareNames(a.name, b.name);
      return sort.flag ? order > 0 : order < 0;
    }
    case kSizeColumn:
      return sort.flag ? a.sizeBytes < b.sizeBytes : a.sizeBytes > b.sizeBytes;
    case kShareColumn: {
      const auto x = static_cast<unsigned char>(a.share), y = static_cast<unsigned char>(b.share);
      return sort.flag ? x < y : x > y;
    }
    case kStampColumn:
      return sort.flag ? stampKey(a.stamp) < stampKey(b.stamp)
                       : stampKey(b.stamp) < stampKey(a.stamp);
    case kDownloadsColumn:
      return sort.flag ? a.downloads < b.downloads : a.downloads > b.downloads;
    default:
      return false;
  }
}

}  // namespace pom
