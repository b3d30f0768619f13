// The local file list's rules for texts and order: the size and date texts
// of a row, the group of an item (drives, other special items, folders,
// files) and the comparison by a column with the direction bit.
//
// sortKey: the column in the low 15 bits, 0x8000 for descending; -1 (no
// column chosen yet) sorts by group and the shell's own order alone.
// Pure functions; any thread.
#pragma once

#include <cstdint>
#include <string>

#include "core/localfs/local_shell.h"

namespace pom {

inline constexpr int kLocalColumns = 4;
inline constexpr int kNoSortKey = -1;
inline constexpr int kDescending = 0x8000;

// Column 1: files only, the size in whole KB (bytes >> 10) as "<n>KB".
std::string localSizeText(const LocalEntry& entry);
// Column 3: "%04d-%02d-%02d %02d:%02d", empty without a time.
std::string localDateText(const LocalEntry& entry);
// The text of a column (0 name, 1 size, 2 type, 3 date).
std::string localCellText(const LocalEntry& entry, int column);

// The size in KB rounded up, in 64 bits.
std::int64_t roundedKilobytes(std::int64_t bytes);

// The group score: lower sorts first (drives -40, other special folders
// -30, special files -20, folders -10, files 0).
int localGroupScore(const LocalEntry& entry);

// The sort key after a click on a column: the sorted column again toggles
// the direction, another sorts ascending.
int nextSortKey(int sortKey, int column);

// Orders two rows of folder: the group first, whatever the direction; then
// the column (the direction bit reverses only this); ties to the shell.
// Negative: a first.
int compareLocalEntries(LocalShell& shell, const LocalItem& folder, const LocalEntry& a,
                        const LocalEntry& b, int sortKey);

}  // namespace pom
