#include "platform/posix/posix_registry.h"

#include "platform/posix/ini_file.h"

namespace pom {

namespace {

std::string escape(const std::string& text) {
  std::string result = "\"";
  for (char c : text) {
    switch (c) {
      case '\\':
        result += "\\\\";
        break;
      case '\n':
        result += "\\n";
        break;
      case '\r':
        result += "\\r";
        break;
      case '"':
        result += "\\\"";
        break;
      default:
        result += c;
    }
  }
  return result + "\"";
}

// The inverse of escape, applied to the value with its quotes already removed.
std::string unescape(const std::string& text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      result += text[i];
      continue;
    }
    const char next = text[++i];
    result += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return result;
}

bool usableName(const std::string& text) {
  return !text.empty() && text.find_first_of("\r\n=[]") == std::string::npos &&
         text.find_first_not_of(" \t") != std::string::npos;
}

std::string cut(const std::string& text, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  return text.substr(0, std::min(text.size(), bufferSize - 1));
}

}  // namespace

PosixRegistry::PosixRegistry(std::filesystem::path directory)
    : file_(std::move(directory) / "registry.ini") {}

bool PosixRegistry::readString(const std::string& subkey, const std::string& name,
                               const std::string& defaultValue, std::size_t bufferSize,
                               std::string& value) {
  if (usableName(subkey) && usableName(name)) {
    if (const auto stored = IniFile::load(file_).get(subkey, name)) {
      value = cut(unescape(*stored), bufferSize);
      return true;
    }
  }
  value = cut(defaultValue, bufferSize);
  return false;
}

bool PosixRegistry::writeString(const std::string& subkey, const std::string& name,
                                const std::string& text) {
  if (!usableName(subkey) || !usableName(name)) return false;
  IniFile ini = IniFile::load(file_);
  std::error_code error;
  if (!ini.exists() && std::filesystem::exists(file_, error)) return false;
  ini.set(subkey, name, escape(text));
  return ini.save(file_);
}

}  // namespace pom
