// FileAttributes: the file attributes the program sets on its own files (the
// hidden attribute of "./PomConfig.ini" and of the version files). Win32 sets
// FILE_ATTRIBUTE_HIDDEN; POSIX has no such attribute and does nothing.
// path is CP949 bytes as the program names it.
#pragma once

#include <string>

namespace pom {

class FileAttributes {
 public:
  virtual ~FileAttributes() = default;
  // Returns false when the attribute could not be set (the callers ignore it).
  virtual bool setHidden(const std::string& path) = 0;
};

}  // namespace pom
