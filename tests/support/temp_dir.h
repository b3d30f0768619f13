// TempDir: a fresh temporary folder for one test, removed with everything in
// it when the object goes out of scope.
#pragma once

#include <filesystem>
#include <string>

namespace pom::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // path() / name as a plain string.
  std::string file(const std::string& name) const { return (path_ / name).string(); }

  // Writes bytes to path() / name (replacing it) and reads them back.
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace pom::test
