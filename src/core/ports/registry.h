// Registry: string values under HKEY_CURRENT_USER (on POSIX, a file standing
// in for it). Subkeys are given as "Software\\Pomvale2.0\\".
//
// readString opens the subkey for reading, creating it when it is missing;
// when the value cannot be read it returns the default and reports failure.
// The text is cut to bufferSize - 1 bytes. Texts are CP949 bytes.
#pragma once

#include <cstddef>
#include <string>

namespace pom {

class Registry {
 public:
  virtual ~Registry() = default;
  virtual bool readString(const std::string& subkey, const std::string& name,
                          const std::string& defaultValue, std::size_t bufferSize,
                          std::string& value) = 0;
  virtual bool writeString(const std::string& subkey, const std::string& name,
                           const std::string& text) = 0;
};

}  // namespace pom
