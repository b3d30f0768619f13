// Win32Registry: the Registry port on HKEY_CURRENT_USER string values.
//
// readString opens the subkey with RegCreateKeyExW (so a missing key is
// created) and reads a REG_SZ value; on any failure, or a value of another
// type, it returns the default and false. writeString stores the text with its
// terminating zero as REG_SZ. Texts are CP949 bytes, converted at the edge;
// results are cut to bufferSize - 1 bytes on a character boundary.
// Loop thread only; no state of its own.
#pragma once

#include <string>

#include "core/ports/registry.h"

namespace pom {

class Win32Registry final : public Registry {
 public:
  bool readString(const std::string& subkey, const std::string& name,
                  const std::string& defaultValue, std::size_t bufferSize,
                  std::string& value) override;
  bool writeString(const std::string& subkey, const std::string& name,
                   const std::string& text) override;
};

}  // namespace pom
