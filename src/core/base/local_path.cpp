#include "core/base/local_path.h"

#include <vector>

#include "core/base/text_utils.h"
#include "core/ports/file_system.h"

namespace pom {

namespace {

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

bool makeDirectories(FileSystem& files, const std::string& path) {
  if (path.empty()) return false;
  const FileInfo existing = files.info(path);
  if (existing.exists) return existing.isDirectory;
  for (const std::string& step : directoryWalk(path)) {
    files.createFolder(step);  // existing ones are fine
  }
  const FileInfo made = files.info(path);
  return made.exists && made.isDirectory;
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

std::optional<std::string> downloadPath(const std::string& downloadFolder,
                                        const std::string& subFolder, const std::string& name) {
  if (downloadFolder.empty() || !isSafeComponent(name)) return std::nullopt;
  // A sub-folder is relative; one that starts at a root is refused, not re-rooted.
  if (!subFolder.empty() && isSeparator(subFolder.front())) return std::nullopt;
  std::string result = downloadFolder;
  const auto append = [&result](const std::string& component) {
    if (!result.empty() && !isSeparator(result.back())) result += '\\';
    result += component;
  };
  std::size_t start = 0;
  while (start <= subFolder.size()) {
    std::size_t end = start;
    while (end < subFolder.size() && !isSeparator(subFolder[end])) ++end;
    const std::string component = subFolder.substr(start, end - start);
    if (!component.empty()) {
      if (!isSafeComponent(component)) return std::nullopt;
      append(component);
    }
    start = end + 1;
  }
  append(name);
  return result;
}

std::string parentFolder(const std::string& path) {
  const std::size_t at = path.find_last_of("\\/");
  return at == std::string::npos ? std::string() : path.substr(0, at);
}

std::string numberedName(const std::string& name, int n) {
  const std::size_t dot = name.rfind('.');
  const std::size_t split = (dot == std::string::npos || dot == 0) ? name.size() : dot;
  return name.substr(0, split) + " (" + std::to_string(n) + ")" + name.substr(split);
}

}  // namespace pom
