#include "core/base/text_utils.h"

#include <cinttypes>
#include <cstdio>

namespace pom {

std::string baseName(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return std::string(path);
  return std::string(path.substr(slash + 1));
}

void sanitise(std::string& text) {
  for (char& c : text) {
    if (c == '\'' || c == ',' || c == ';') c = '!';
  }
}

std::string cutText(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  std::size_t end = 0;
  while (end < maxBytes) {
    const auto byte = static_cast<unsigned char>(text[end]);
    const std::size_t width = byte >= 0x81 && byte <= 0xFE ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return std::string(text.substr(0, end));
}

void toLowerAscii(std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x81 && byte <= 0xFE) {
      // A CP949 lead byte: its trail byte may be an ASCII letter ("갂" is
      // 0x81 0x41) and must stay as it is, or the character would change.
      ++i;
    } else if (byte >= 'A' && byte <= 'Z') {
      text[i] = static_cast<char>(byte - 'A' + 'a');
    }
  }
}

std::string lowerAscii(std::string_view text) {
  std::string result(text);
  toLowerAscii(result);
  return result;
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
  if (suffix.size() > text.size()) return false;
  return lowerAscii(text.substr(text.size() - suffix.size())) == lowerAscii(suffix);
}

std::string formatSize(std::int64_t bytes) {
  char buffer[32];
  const std::int64_t megabytes = bytes >> 20;
  if (megabytes > 0) {
    std::snprintf(buffer, sizeof buffer, "%dMB", static_cast<int>(megabytes));
  } else {
    std::snprintf(buffer, sizeof buffer, "%" PRId64 "KB", bytes >> 10);
  }
  return buffer;
}

std::string formatDate(int year, int month, int day, int hour, int minute) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d", year, month, day, hour, minute);
  return buffer;
}

std::string formatThousands(std::int64_t value) {
  if (value <= 0) return "0";
  std::string digits = std::to_string(value);
  std::string result;
  result.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) result += ',';
    result += digits[i];
  }
  return result;
}

}  // namespace pom
