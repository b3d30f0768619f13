#include "platform/posix/ini_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace pom {

namespace {

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool equalNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The section name of a "[name]" line, or nothing.
std::optional<std::string> sectionOf(const std::string& line) {
  const std::string text = trim(line);
  if (text.empty() || text.front() != '[') return std::nullopt;
  const auto close = text.find(']');
  if (close == std::string::npos) return std::nullopt;
  return trim(text.substr(1, close - 1));
}

// Splits a "key=value" line; comment lines and lines without '=' are not keys.
bool keyOf(const std::string& line, std::string& key, std::string& value) {
  const std::string text = trim(line);
  if (text.empty() || text.front() == ';' || text.front() == '[') return false;
  const auto equals = line.find('=');
  if (equals == std::string::npos) return false;
  key = trim(line.substr(0, equals));
  value = trim(line.substr(equals + 1));
  return !key.empty();
}

std::string unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

IniFile IniFile::load(const std::filesystem::path& path) {
  IniFile file;
  std::ifstream in(path, std::ios::binary);
  if (!in) return file;
  file.exists_ = true;
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto firstNewline = content.find('\n');
  if (firstNewline != std::string::npos) {
    file.newline_ = firstNewline > 0 && content[firstNewline - 1] == '\r' ? "\r\n" : "\n";
  }
  file.endsWithNewline_ = content.empty() || content.back() == '\n';
  std::size_t start = 0;
  while (start < content.size()) {
    auto end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    file.lines_.push_back(std::move(line));
    start = end + 1;
  }
  return file;
}

std::optional<std::string> IniFile::get(const std::string& section, const std::string& key) const {
  bool inSection = false;
  for (const std::string& line : lines_) {
    if (auto name = sectionOf(line)) {
      if (inSection) return std::nullopt;  // the first matching section only
      inSection = equalNoCase(*name, trim(section));
      continue;
    }
    std::string lineKey, value;
    if (inSection && keyOf(line, lineKey, value) && equalNoCase(lineKey, trim(key))) {
      return unquote(value);
    }
  }
  return std::nullopt;
}

void IniFile::set(const std::string& section, const std::string& key, const std::string& value) {
  const std::string wantedSection = trim(section);
  const std::string wantedKey = trim(key);
  bool inSection = false;
  std::size_t insertAt = 0;  // after the last key line of the section
  bool found = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (auto name = sectionOf(lines_[i])) {
      if (inSection) break;
      inSection = equalNoCase(*name, wantedSection);
      if (inSection) {
        found = true;
        insertAt = i + 1;
      }
      continue;
    }
    if (!inSection) continue;
    std::string lineKey, oldValue;
    if (keyOf(lines_[i], lineKey, oldValue)) {
      if (equalNoCase(lineKey, wantedKey)) {
        lines_[i] = lineKey + "=" + value;  // the stored spelling of the key stays
        return;
      }
      insertAt = i + 1;
    }
  }
  if (!found) {
    lines_.push_back("[" + wantedSection + "]");
    insertAt = lines_.size();
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), wantedKey + "=" + value);
}

bool IniFile::save(const std::filesystem::path& path) const {
  std::string content;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    content += lines_[i];
    if (i + 1 < lines_.size() || endsWithNewline_) content += newline_;
  }
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (!error) return true;
  std::filesystem::remove(temporary, error);
  return false;
}

}  // namespace pom
