#include "core/search/search_hit.h"

#include "core/base/text_utils.h"

namespace pom {

std::string keepDaysText(std::int32_t days) {
  return std::to_string(days < 0 ? 0 : days) + "일";
}

SearchHit searchHitFromEntry(const SearchEntry& entry) {
  SearchHit hit;
  hit.fileId = entry.fileId;
  hit.folderKey = entry.folderId;
  hit.ownerId = cutText(entry.ownerId, kOwnerIdBytes);
  hit.uniqueCode = cutText(entry.uniqueCode, kUniqueCodeBytes);
  hit.name = cutText(entry.name, kHitNameBytes);
  hit.keepText = keepDaysText(entry.daysKept);
  hit.sizeBytes = entry.fileSize;
  return hit;
}

FolderContentItem folderItemFromEntry(const SearchEntry& entry) {
  FolderContentItem item;
  item.fileId = entry.fileId;
  item.folderKey = entry.folderId;
  item.ownerId = cutText(entry.ownerId, kOwnerIdBytes);
  item.name = cutText(entry.name, kHitNameBytes);
  item.sizeBytes = entry.fileSize;
  item.keepDays = entry.daysKept < 0 ? 0 : entry.daysKept;
  return item;
}

}  // namespace pom
