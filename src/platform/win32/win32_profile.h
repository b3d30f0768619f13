// Win32Profile: the Profile port on the private-profile functions
// (GetPrivateProfileIntW, GetPrivateProfileStringW, WritePrivateProfileStringW),
// converting CP949 <-> UTF-16 at the edge.
//
// A file the W calls create is written in the ANSI code page, which loses
// Hangul on any locale whose code page lacks it. So before the first write to
// a missing file, the file is created holding only a UTF-16LE byte order mark:
// the private-profile functions then keep the whole file in UTF-16 and every
// text survives on every locale. Existing files are left in their encoding.
//
// Paths follow the platform: a bare file name means the Windows folder,
// anything with a folder part ("./PomConfig.ini") is relative to the working
// folder. Loop thread only; no state of its own.
#pragma once

#include <string>

#include "core/ports/profile.h"

namespace pom {

class Win32Profile final : public Profile {
 public:
  int readInt(const std::string& section, const std::string& key, int defaultValue,
              const std::string& file) override;
  std::string readText(const std::string& section, const std::string& key,
                       const std::string& defaultValue, std::size_t bufferSize,
                       const std::string& file) override;
  bool writeText(const std::string& section, const std::string& key, const std::string& text,
                 const std::string& file) override;
};

}  // namespace pom
