// TempWorkingFolder: a fresh folder under the temporary folder, made the
// working folder for the test's lifetime (as the program's working folder
// holds its INI files); the previous working folder is restored and the
// folder deleted afterwards.
#pragma once

#include <string>

namespace pom::test {

class TempWorkingFolder {
 public:
  TempWorkingFolder();
  ~TempWorkingFolder();
  TempWorkingFolder(const TempWorkingFolder&) = delete;
  TempWorkingFolder& operator=(const TempWorkingFolder&) = delete;

  const std::wstring& path() const { return path_; }
  // Raw bytes of a file in the folder ("" when missing).
  std::string readFile(const std::wstring& name) const;
  bool writeFile(const std::wstring& name, const std::string& bytes) const;

 private:
  std::wstring previous_;
  std::wstring path_;
};

}  // namespace pom::test
