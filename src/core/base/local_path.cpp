#include "core/base/local_path.h"

#include <system_error>
#include <type_traits>
#include <vector>

#include "core/base/text_utils.h"
#include "core/ports/text_codec.h"

namespace pom {

namespace {

constexpr bool kWidePaths = std::is_same_v<std::filesystem::path::value_type, wchar_t>;

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

bool isReservedDeviceName(const std::string& name) {
  // The device part is the text before the first dot, trailing blanks ignored
  // ("con .txt" opens the console as well).
  std::string stem = lowerAscii(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul" || stem == "conin$" ||
      stem == "conout$") {
    return true;
  }
  return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

std::filesystem::path pathFromCp949(const std::string& text) {
  if constexpr (kWidePaths) {
    const std::u16string wide = cp949ToUtf16(text);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
  } else {
    // The program builds its paths with '\'; on POSIX that byte is an ordinary
    // file-name character, so it is turned into the separator here.
    std::string utf8 = cp949ToUtf8(text);
    for (char& c : utf8) {
      if (c == '\\') c = '/';
    }
    return std::filesystem::path(utf8);
  }
}

std::string cp949FromPath(const std::filesystem::path& path) {
  if constexpr (kWidePaths) {
    const auto& wide = path.native();
    return utf16ToCp949(std::u16string(wide.begin(), wide.end()));
  } else {
    return utf8ToCp949(path.u8string());
  }
}

std::vector<std::string> directoryWalk(const std::string& path) {
  std::vector<std::string> steps;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (isSeparator(path[i]) && i > 0 && path[i - 1] != ':' && !isSeparator(path[i - 1])) {
      steps.push_back(path.substr(0, i));
    }
  }
  if (!path.empty()) steps.push_back(path);
  return steps;
}

bool makeDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  if (std::filesystem::exists(pathFromCp949(path), error)) {
    return std::filesystem::is_directory(pathFromCp949(path), error);
  }
  for (const std::string& step : directoryWalk(path)) {
    std::filesystem::create_directory(pathFromCp949(step), error);  // existing ones are fine
  }
  return std::filesystem::is_directory(pathFromCp949(path), error);
}

bool isSafeComponent(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
    switch (c) {
      case '\\':
      case '/':
      case ':':
      case '*':
      case '?':
      case '"':
      case '<':
      case '>':
      case '|':
        return false;
      default:
        break;
    }
  }
  // Windows drops trailing dots and blanks, so ".. " would become "..".
  if (name.back() == '.' || name.back() == ' ') return false;
  return !isReservedDeviceName(name);
}

std::optional<std::filesystem::path> downloadPath(const std::string& downloadFolder,
                                                  const std::string& subFolder,
                                                  const std::string& name) {
  if (downloadFolder.empty() || !isSafeComponent(name)) return std::nullopt;
  // A sub-folder is relative; one that starts at a root is refused, not re-rooted.
  if (!subFolder.empty() && isSeparator(subFolder.front())) return std::nullopt;
  std::filesystem::path result = pathFromCp949(downloadFolder);
  std::size_t start = 0;
  while (start <= subFolder.size()) {
    std::size_t end = start;
    while (end < subFolder.size() && !isSeparator(subFolder[end])) ++end;
    const std::string component = subFolder.substr(start, end - start);
    if (!component.empty()) {
      if (!isSafeComponent(component)) return std::nullopt;
      result /= pathFromCp949(component);
    }
    start = end + 1;
  }
  result /= pathFromCp949(name);
  return result;
}

}  // namespace pom
