// PosixRegistry: the Registry port over one file standing in for
// HKEY_CURRENT_USER, "<dir>/registry.ini": one INI section per subkey (named
// exactly as the subkey, compared case-insensitively), one line per value.
//
// Values are stored quoted and escaped ("\\", "\n", "\r", "\"") so any text,
// blanks and line breaks included, reads back exactly as written. Every call
// reads the file afresh; every write saves it at once.
#pragma once

#include <filesystem>
#include <string>

#include "core/ports/registry.h"

namespace pom {

class PosixRegistry : public Registry {
 public:
  explicit PosixRegistry(std::filesystem::path directory);

  bool readString(const std::string& subkey, const std::string& name,
                  const std::string& defaultValue, std::size_t bufferSize,
                  std::string& value) override;
  bool writeString(const std::string& subkey, const std::string& name,
                   const std::string& text) override;

  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

}  // namespace pom
