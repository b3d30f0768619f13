// MemoryFileSystem: an in-memory FileSystem for unit tests of the core.
//
// Paths are normalised ('\' and '/' alike, repeated and trailing separators
// dropped) and compared as bytes; a folder must exist before anything is made
// in it, except at the top (any path without a separator, and a drive such as
// "c:", counts as an existing root). Files are byte strings shared with the
// handles open on them. Hidden marks are recorded; writes can be made to fail
// from a given size on (a full disk), and the free space is a setting.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/ports/file_system.h"

namespace pom {

class MemoryFileSystem : public FileSystem {
 public:
  // Test helpers. Parents are created as needed.
  void addFolder(const std::string& path);
  void addFile(const std::string& path, const std::string& bytes);
  // The contents of a file, or nothing when there is none.
  bool has(const std::string& path) const;
  std::string contents(const std::string& path) const;
  static std::string normalise(const std::string& path);

  std::vector<std::string> hidden;
  std::int64_t free = std::int64_t{1} << 40;
  // Writes that would make a file larger than this fail (-1: never).
  std::int64_t failWritesBeyond = -1;

  FileInfo info(const std::string& path) override;
  bool list(const std::string& folder, std::vector<DirectoryEntry>& entries) override;
  bool createFolder(const std::string& path) override;
  std::unique_ptr<OpenFile> open(const std::string& path, OpenMode mode) override;
  bool rename(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;
  std::optional<std::int64_t> freeSpace(const std::string& path) override;
  bool setHidden(const std::string& path) override;

 private:
  bool parentExists(const std::string& normalised) const;

  std::set<std::string> folders_;
  std::map<std::string, std::shared_ptr<std::string>> files_;
};

}  // namespace pom
