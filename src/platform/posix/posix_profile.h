// PosixProfile: the Profile port over real INI files (see IniFile for the
// file rules). Every call reads the file afresh and every write saves it at
// once, so there is no cache to go stale.
//
// Relative file paths ("./PomConfig.ini") are taken relative to baseDir when
// one is given (tests point it at a temporary folder), else to the process's
// working directory. Paths are CP949 and may use '\' as separator.
#pragma once

#include <filesystem>
#include <string>

#include "core/ports/profile.h"

namespace pom {

class PosixProfile : public Profile {
 public:
  PosixProfile() = default;
  explicit PosixProfile(std::filesystem::path baseDir) : baseDir_(std::move(baseDir)) {}

  int readInt(const std::string& section, const std::string& key, int defaultValue,
              const std::string& file) override;
  std::string readText(const std::string& section, const std::string& key,
                       const std::string& defaultValue, std::size_t bufferSize,
                       const std::string& file) override;
  // Refuses (returns false) names or texts that would break the line
  // structure: CR or LF anywhere, '=' in a key, ']' in a section name.
  bool writeText(const std::string& section, const std::string& key, const std::string& text,
                 const std::string& file) override;

  std::filesystem::path resolve(const std::string& file) const;

 private:
  std::filesystem::path baseDir_;
};

// The integer rule of readInt: optional blanks and sign, then the leading
// decimal digits; 0 when there are none.
int parseLeadingInt(const std::string& text);

}  // namespace pom
