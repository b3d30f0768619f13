#include "core/localfs/local_sort.h"

#include "core/base/text_utils.h"

namespace pom {
namespace {

template <typename T>
int threeWay(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// The column's own comparison, ascending.
int compareByColumn(LocalShell& shell, const LocalEntry& a, const LocalEntry& b, int column) {
  switch (column) {
    case 1:
      return threeWay(roundedKilobytes(a.size), roundedKilobytes(b.size));
    case 2:
      return shell.compareText(a.typeName, b.typeName);
    case 3: {
      // Newer first.
      const std::int64_t ta = a.modified ? a.modified->order : 0;
      const std::int64_t tb = b.modified ? b.modified->order : 0;
      return threeWay(tb, ta);
    }
    default:
      return 0;
  }
}

}  // namespace

std::int64_t roundedKilobytes(std::int64_t bytes) {
  if (bytes <= 0) return 0;
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(bytes) + 1023u) >> 10);
}

std::string localSizeText(const LocalEntry& entry) {
  if (entry.isFolder()) return "";
  return std::to_string(entry.size >> 10) + "KB";
}

std::string localDateText(const LocalEntry& entry) {
  if (!entry.modified) return "";
  const LocalStamp& t = *entry.modified;
  return formatDate(t.year, t.month, t.day, t.hour, t.minute);
}

std::string localCellText(const LocalEntry& entry, int column) {
  switch (column) {
    case 0:
      return entry.name;
    case 1:
      return localSizeText(entry);
    case 2:
      return (entry.attributes & local_attr::kFileSystem) != 0 ? entry.typeName : "";
    case 3:
      return localDateText(entry);
    default:
      return "";
  }
}

int localGroupScore(const LocalEntry& entry) {
  // Drives show only "can link" and "has property sheet" of these bits;
  // other special items (control panel, printers) lack some of the ones
  // every ordinary file and folder has.
  constexpr std::uint32_t kCapabilities = 0x77;
  constexpr std::uint32_t kDriveCapabilities = 0x44;
  int score = (entry.attributes & local_attr::kFolder) != 0 ? -10 : 0;
  const std::uint32_t capabilities = entry.attributes & kCapabilities;
  if (capabilities == kDriveCapabilities) {
    score -= 30;
  } else if (capabilities != kCapabilities) {
    score -= 20;
  }
  return score;
}

int nextSortKey(int sortKey, int column) {
  if (sortKey != kNoSortKey && (sortKey & 0x7FFF) == column) return sortKey ^ kDescending;
  return column;
}

int compareLocalEntries(LocalShell& shell, const LocalItem& folder, const LocalEntry& a,
                        const LocalEntry& b, int sortKey) {
  const int group = threeWay(localGroupScore(a), localGroupScore(b));
  if (group != 0) return group;
  const int column = sortKey == kNoSortKey ? 0 : (sortKey & 0x7FFF);
  int result = compareByColumn(shell, a, b, column);
  if (result == 0) result = shell.compare(folder, *a.item, *b.item, column);
  const bool descending = sortKey != kNoSortKey && (sortKey & kDescending) != 0;
  return descending ? -result : result;
}

}  // namespace pom
