// LocalShell: the shell namespace as the local browser sees it (folders from
// the desktop down, their items with attributes, the shell's own ordering,
// renaming, deleting and opening). The Win32 backend maps it onto
// IShellFolder and item identifier lists; tests use a fake.
//
// An item is an opaque handle that the shell made (on Windows an identifier
// list with the folder it belongs to); the browser only keeps and hands it
// back. Texts are CP949. Loop thread only; every call returns before the
// next message is handled.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pom {

// Shell attribute bits the browser asks for and acts on (the values are the
// shell's own).
namespace local_attr {
inline constexpr std::uint32_t kCanCopy = 0x1;
inline constexpr std::uint32_t kCanMove = 0x2;
inline constexpr std::uint32_t kCanLink = 0x4;
inline constexpr std::uint32_t kCanRename = 0x10;
inline constexpr std::uint32_t kCanDelete = 0x20;
inline constexpr std::uint32_t kHasPropSheet = 0x40;
inline constexpr std::uint32_t kDropTarget = 0x100;
inline constexpr std::uint32_t kGhosted = 0x8000;
inline constexpr std::uint32_t kLink = 0x10000;
inline constexpr std::uint32_t kShare = 0x20000;
inline constexpr std::uint32_t kStream = 0x400000;
inline constexpr std::uint32_t kFileSystem = 0x40000000;
inline constexpr std::uint32_t kFolder = 0x20000000;
inline constexpr std::uint32_t kHasSubFolder = 0x80000000;
// What the browser queries for every item.
inline constexpr std::uint32_t kQueried = kFileSystem | kFolder | kGhosted | kShare | kLink |
                                          kDropTarget | kCanCopy | kCanMove | kCanLink |
                                          kCanRename | kCanDelete | kHasPropSheet | kStream;
}  // namespace local_attr

// One item of the namespace; its meaning belongs to the shell that made it.
class LocalItem {
 public:
  virtual ~LocalItem() = default;
};
using LocalItemPtr = std::shared_ptr<const LocalItem>;

// A last write time in local time, with a value that orders times.
struct LocalStamp {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  std::int64_t order = 0;  // larger is later
};

// One child of a folder as enumerated.
struct LocalEntry {
  LocalItemPtr item;
  std::string name;  // the shell's display name
  std::uint32_t attributes = 0;
  std::int64_t size = 0;  // bytes, for files
  std::string typeName;   // the shell's type name, file-system items only
  std::optional<LocalStamp> modified;

  // A folder to browse (an archive the shell shows as a folder is a stream
  // and stays a file).
  bool isFolder() const {
    return (attributes & local_attr::kFolder) != 0 && (attributes & local_attr::kStream) == 0;
  }
};

enum class LocalEnum { Folders, FoldersAndFiles };

class LocalShell {
 public:
  virtual ~LocalShell() = default;

  // The root of the namespace.
  virtual LocalItemPtr desktop() = 0;
  // Appends the children of folder to out; false when the shell allocator
  // or the enumeration failed (what was appended stays).
  virtual bool enumerate(const LocalItem& folder, LocalEnum what, std::vector<LocalEntry>& out) = 0;
  // The item's file-system path; empty when it has none.
  virtual std::string pathOf(const LocalItem& item) = 0;
  // The display name of a folder (for a caption when it has no path).
  virtual std::string nameOf(const LocalItem& item) = 0;
  // The folder's own order of two of its children by a column (negative:
  // a first).
  virtual int compare(const LocalItem& folder, const LocalItem& a, const LocalItem& b,
                      int column) = 0;
  // Two texts in the user's locale order.
  virtual int compareText(const std::string& a, const std::string& b) = 0;
  // Renames a child of folder through the folder (a hidden extension is
  // kept); the renamed item, or null when the shell refused.
  virtual LocalItemPtr rename(const LocalItem& folder, const LocalItem& item,
                              const std::string& newName) = 0;
  // Deletes files and folders, to the recycle bin (undo allowed) or for
  // good; the shell asks its own confirmation and shows no error dialogs.
  virtual bool remove(const std::vector<std::string>& paths, bool toRecycleBin) = 0;
  // Opens the item with its default verb.
  virtual void open(const LocalItem& item) = 0;
  // The items from the top of the desktop down to the folder at path
  // (each absolute); empty when the path names no folder.
  virtual std::vector<LocalItemPtr> chainTo(const std::string& path) = 0;
  // The same item of the namespace.
  virtual bool sameItem(const LocalItem& a, const LocalItem& b) = 0;
};

}  // namespace pom
