#include "temp_folder.h"

#include <windows.h>

#include <vector>

namespace pom::test {
namespace {

void removeTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = folder + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(full);
      } else {
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempWorkingFolder::TempWorkingFolder() {
  wchar_t buffer[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, buffer);
  previous_ = buffer;
  GetTempPathW(MAX_PATH, buffer);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::wstring(buffer) + L"pomtest" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
  SetCurrentDirectoryW(path_.c_str());
}

TempWorkingFolder::~TempWorkingFolder() {
  SetCurrentDirectoryW(previous_.c_str());
  removeTree(path_);
}

std::string TempWorkingFolder::readFile(const std::wstring& name) const {
  HANDLE file = CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char chunk[4096];
  DWORD n = 0;
  while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
  CloseHandle(file);
  return bytes;
}

bool TempWorkingFolder::writeFile(const std::wstring& name, const std::string& bytes) const {
  HANDLE file = CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
                  n == bytes.size();
  CloseHandle(file);
  return ok;
}

}  // namespace pom::test
