// PosixFileAttributes: POSIX file systems have no hidden attribute (a leading
// dot is a naming convention, and renaming the program's files is not wanted),
// so setHidden does nothing and reports success.
#pragma once

#include "core/ports/file_attributes.h"

namespace pom {

class PosixFileAttributes : public FileAttributes {
 public:
  bool setHidden(const std::string&) override { return true; }
};

}  // namespace pom
