// Fuzzes the function that turns service file names into local paths: for any
// sub-folder and name it either refuses or yields a path that stays strictly
// inside the download folder and never names a parent. Also exercises the
// saved-password decoder and the host:port parser on the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/base/local_path.h"
#include "core/base/servers.h"
#include "core/ports/text_codec.h"
#include "core/session/saved_credentials.h"

// pom_core leaves text conversion to the platform backend; bytes pass through
// unchanged here, which keeps every separator and dot the input holds.
namespace pom {
std::u16string cp949ToUtf16(const std::string& text) {
  return {text.begin(), text.end()};
}
std::string utf16ToCp949(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += static_cast<char>(c);
  return out;
}
std::string cp949ToUtf8(const std::string& text) {
  return text;
}
std::string utf8ToCp949(const std::string& text) {
  return text;
}
}  // namespace pom

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const auto split = input.find('\0');
  const std::string subFolder = split == std::string::npos ? "" : input.substr(0, split);
  const std::string name = split == std::string::npos ? input : input.substr(split + 1);

  const std::filesystem::path folder = "/down";
  if (const auto built = pom::downloadPath("/down", subFolder, name)) {
    std::string text = *built;
    for (char& c : text) {
      if (c == '\\') c = '/';
    }
    const std::filesystem::path path(text);
    const auto relative = path.lexically_normal().lexically_relative(folder);
    if (relative.empty() || *relative.begin() == "..") std::abort();
    for (const auto& part : path) {
      if (part == ".." || part == ".") std::abort();
    }
    if (text.compare(0, 6, "/down/") != 0 || text.find(':') != std::string::npos) std::abort();
  }

  const std::string password = pom::decodeSavedPassword(input);
  if (password.size() > pom::kSavedPasswordBytes) std::abort();
  if (!input.empty() && input.size() <= 15 && input.find('\0') == std::string::npos &&
      pom::decodeSavedPassword(pom::encodeSavedPassword(input)) != input) {
    std::abort();
  }

  pom::HostPort endpoint;
  if (pom::parseHostPort(input, 80, endpoint) && (endpoint.host.empty() || endpoint.port == 0)) {
    std::abort();
  }
  return 0;
}
