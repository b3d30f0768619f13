// Profile: private-profile (INI file) reads and writes with the semantics of
// the Windows calls, at the moment of use. There is no cached configuration:
// a value written here is seen by the next read anywhere.
//
// - readInt: the leading decimal digits of the value (an optional sign), 0
//   when there are none; the default when the file, section or key is missing.
// - readText: the value (or the default) cut to bufferSize - 1 bytes.
// - sections and keys compare case-insensitively (ASCII).
// - file is a path as the program names it ("./PomConfig.ini",
//   "<working dir>/font.ini").
// Texts are CP949 bytes.
#pragma once

#include <cstddef>
#include <string>

namespace pom {

class Profile {
 public:
  virtual ~Profile() = default;
  virtual int readInt(const std::string& section, const std::string& key, int defaultValue,
                      const std::string& file) = 0;
  virtual std::string readText(const std::string& section, const std::string& key,
                               const std::string& defaultValue, std::size_t bufferSize,
                               const std::string& file) = 0;
  virtual bool writeText(const std::string& section, const std::string& key,
                         const std::string& text, const std::string& file) = 0;
};

}  // namespace pom
