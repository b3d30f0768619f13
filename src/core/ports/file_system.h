// FileSystem: the local disk as the core sees it (downloaded files, uploads,
// the download folder, the local browser, the program's own files).
//
// Paths are CP949 text as the program names them ("c:\PomDownLoad\a.avi",
// "./PomConfig.ini"); '\' and '/' both separate. The Win32 backend opens them
// by their UTF-16 names (code page 949), so Hangul names work on any locale;
// the POSIX backend turns them into UTF-8 with '/' separators. Sizes and
// offsets are 64-bit.
//
// Calls block only as long as the disk does; everything runs on the loop
// thread. An OpenFile is closed when it is destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pom {

struct FileInfo {
  bool exists = false;
  bool isDirectory = false;
  std::int64_t size = 0;  // bytes; 0 for folders
  bool hidden = false;
  bool readOnly = false;
  std::int64_t modified = 0;  // seconds since 1970-01-01 UTC
};

struct DirectoryEntry {
  std::string name;  // the name alone, CP949
  FileInfo info;
};

// An open file with a position that reads and writes move on.
class OpenFile {
 public:
  virtual ~OpenFile() = default;
  // Up to size bytes from the position; 0 at the end; -1 on an error.
  virtual std::int64_t read(void* buffer, std::size_t size) = 0;
  // Writes all bytes at the position; false on an error (some may be written).
  virtual bool write(const void* data, std::size_t size) = 0;
  // Hands what was written to the system (others then see it).
  virtual bool flush() = 0;
  // Moves the position to offset bytes from the start (past the end is allowed).
  virtual bool seek(std::int64_t offset) = 0;
  virtual std::int64_t position() const = 0;
  virtual std::int64_t size() const = 0;
};

enum class OpenMode {
  Read,    // an existing file, at offset 0; others may read and write it
  Append,  // created when missing, contents kept, at its end; others may read
  Create,  // created, or emptied when it exists, at offset 0; others may read
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // What is at path; exists is false when nothing is (or it cannot be read).
  virtual FileInfo info(const std::string& path) = 0;
  // The entries of a folder, without "." and ".."; false when it cannot be read.
  virtual bool list(const std::string& folder, std::vector<DirectoryEntry>& entries) = 0;
  // Creates one folder whose parent exists; true when a folder is there afterwards.
  virtual bool createFolder(const std::string& path) = 0;
  // Null when the file cannot be opened so.
  virtual std::unique_ptr<OpenFile> open(const std::string& path, OpenMode mode) = 0;
  // Renames or moves; an existing file at `to` is replaced.
  virtual bool rename(const std::string& from, const std::string& to) = 0;
  // Deletes a file or an empty folder.
  virtual bool remove(const std::string& path) = 0;
  // Bytes the member may still write on the volume holding path.
  virtual std::optional<std::int64_t> freeSpace(const std::string& path) = 0;
  // Marks the program's own files hidden (the POSIX backend has no such mark
  // and reports success).
  virtual bool setHidden(const std::string& path) = 0;

  // An existing file for reading from offset on; null when it cannot be opened.
  std::unique_ptr<OpenFile> openRead(const std::string& path, std::int64_t offset = 0) {
    std::unique_ptr<OpenFile> file = open(path, OpenMode::Read);
    if (file != nullptr && offset != 0 && !file->seek(offset)) file.reset();
    return file;
  }
};

}  // namespace pom
