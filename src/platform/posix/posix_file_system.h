// PosixFileSystem: the FileSystem port on POSIX files.
//
// Program paths (CP949, '\' or '/' separated) become UTF-8 paths with '/'
// (posixPath); a relative path is taken from the process's working folder.
// Files are plain descriptors (no stdio buffering): flush has nothing to hand
// over. There is no hidden attribute, so setHidden does nothing and succeeds.
// Any number may exist; loop thread only.
#pragma once

#include <string>

#include "core/ports/file_system.h"

namespace pom {

// The POSIX path of a program path: CP949 to UTF-8, '\' to '/'.
std::string posixPath(const std::string& programPath);

class PosixFileSystem final : public FileSystem {
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
