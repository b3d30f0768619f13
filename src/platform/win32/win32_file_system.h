// Win32FileSystem: the FileSystem port on the wide (W) file functions.
//
// Program paths are CP949 text; they are opened by their UTF-16 names (code
// page 949), so Hangul names work whatever the system's ANSI code page is.
// '/' is accepted as a separator as Windows does. Files are opened with
// sharing for readers (and writers, when only reading); sizes and offsets are
// 64-bit. Any number may exist; GUI thread only.
#pragma once

#include "core/ports/file_system.h"

namespace pom {

class Win32FileSystem final : public FileSystem {
 public:
  FileInfo info(const std::string& path) override;
  bool list(const std::string& folder, std::vector<DirectoryEntry>& entries) override;
  bool createFolder(const std::string& path) override;
  std::unique_ptr<OpenFile> open(const std::string& path, OpenMode mode) override;
  bool rename(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;
  std::optional<std::int64_t> freeSpace(const std::string& path) override;
  bool setHidden(const std::string& path) override;
};

}  // namespace pom
