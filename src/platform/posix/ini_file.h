// IniFile: one INI file in memory, read and written with the rules of the
// Windows private-profile functions, shared by PosixProfile and PosixRegistry.
//
// - "[section]" lines open a section; "key=value" lines belong to the last
//   section; other lines (comments, blanks, junk) are kept but ignored.
// - Section and key names compare case-insensitively (ASCII) after trimming;
//   the first match wins.
// - Values are trimmed of blanks and tabs; one pair of matching surrounding
//   quotes (" or ') is removed.
// - Writing replaces the value of the first matching key, or adds the key at
//   the end of its section, or adds the section at the end of the file; every
//   other line stays byte for byte (CP949 included), and the line ending the
//   file already uses is kept ("\r\n" for a new file).
// - save() writes a temporary file next to the target and renames it over the
//   target, so a crash never leaves a half-written file.
// Not thread-safe; each call of the owning backend loads and saves afresh.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pom {

class IniFile {
 public:
  // Loads path; a missing or unreadable file gives an empty IniFile.
  // exists() tells which.
  static IniFile load(const std::filesystem::path& path);

  bool exists() const { return exists_; }
  std::optional<std::string> get(const std::string& section, const std::string& key) const;
  void set(const std::string& section, const std::string& key, const std::string& value);
  bool save(const std::filesystem::path& path) const;

 private:
  std::vector<std::string> lines_;  // without line endings
  std::string newline_ = "\r\n";
  bool exists_ = false;
  bool endsWithNewline_ = true;
};

}  // namespace pom
