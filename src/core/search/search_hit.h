// The records of the two lists made from the login server's entries, and
// the field widths of the records. SearchHit and FolderContentItem are
// declared with SearchLink, which hands them to the other modules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/hub/search_link.h"
#include "core/net/messages/records.h"

namespace pom {

// A hit of a SearchResults reply: its days kept shown as "%d일".
SearchHit searchHitFromEntry(const SearchEntry& entry);
FolderContentItem folderItemFromEntry(const SearchEntry& entry);

// A retention in days as the lists show it: "%d일", negative as 0.
std::string keepDaysText(std::int32_t days);

// The field widths of the records (the terminating NUL not counted).
inline constexpr std::size_t kOwnerIdBytes = 20;
inline constexpr std::size_t kUniqueCodeBytes = 32;
inline constexpr std::size_t kHitNameBytes = 259;
inline constexpr std::size_t kKeepTextBytes = 37;

}  // namespace pom
