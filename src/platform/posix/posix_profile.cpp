#include "platform/posix/posix_profile.h"

#include <cstdint>

#include "platform/posix/ini_file.h"
#include "platform/posix/posix_file_system.h"

namespace pom {

namespace {

bool hasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

std::string cut(const std::string& text, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  return text.substr(0, std::min(text.size(), bufferSize - 1));
}

}  // namespace

int parseLeadingInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::uint32_t value = 0;  // wraps like the 32-bit platform conversion
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

std::filesystem::path PosixProfile::resolve(const std::string& file) const {
  std::filesystem::path path = posixPath(file);
  if (path.is_relative() && !baseDir_.empty()) path = baseDir_ / path;
  return path;
}

int PosixProfile::readInt(const std::string& section, const std::string& key, int defaultValue,
                          const std::string& file) {
  const auto value = IniFile::load(resolve(file)).get(section, key);
  // An empty value counts as missing, as it does for the Windows call.
  if (!value || value->empty()) return defaultValue;
  return parseLeadingInt(*value);
}

std::string PosixProfile::readText(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, std::size_t bufferSize,
                                   const std::string& file) {
  const auto value = IniFile::load(resolve(file)).get(section, key);
  if (value) return cut(*value, bufferSize);
  // The platform strips trailing blanks from the default.
  std::string fallback = defaultValue;
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  return cut(fallback, bufferSize);
}

bool PosixProfile::writeText(const std::string& section, const std::string& key,
                             const std::string& text, const std::string& file) {
  if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(text) ||
      section.find(']') != std::string::npos || key.find('=') != std::string::npos || key.empty() ||
      section.empty()) {
    return false;
  }
  const std::filesystem::path path = resolve(file);
  IniFile ini = IniFile::load(path);
  std::error_code error;
  // A file that exists but cannot be read must not be replaced by one key.
  if (!ini.exists() && std::filesystem::exists(path, error)) return false;
  ini.set(section, key, text);
  return ini.save(path);
}

}  // namespace pom
