#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

// Where the private-profile functions put a file of this name.
std::wstring profileLocation(const std::wstring& file) {
  if (file.find_first_of(L"\\/:") != std::wstring::npos) return file;
  wchar_t folder[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return file;
  return std::wstring(folder, n) + L"\\" + file;
}

// Creates the file with a UTF-16LE byte order mark when it does not exist yet.
// CREATE_NEW makes this a no-op for an existing file, whatever its encoding.
void createUnicodeFileIfMissing(const std::wstring& file) {
  const std::wstring path = profileLocation(file);
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  static const unsigned char kBom[2] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(handle, kBom, sizeof kBom, &written, nullptr);
  CloseHandle(handle);
}

}  // namespace

int Win32Profile::readInt(const std::string& section, const std::string& key, int defaultValue,
                          const std::string& file) {
  return static_cast<int>(GetPrivateProfileIntW(widen(section).c_str(), widen(key).c_str(),
                                                defaultValue, widen(file).c_str()));
}

std::string Win32Profile::readText(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, std::size_t bufferSize,
                                   const std::string& file) {
  if (bufferSize == 0) return std::string();
  // bufferSize counts CP949 bytes; every character takes at least one byte, so
  // bufferSize wide characters always hold enough to fill the byte buffer.
  std::vector<wchar_t> buffer(bufferSize + 1, L'\0');
  const DWORD n = GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(),
                                           widen(defaultValue).c_str(), buffer.data(),
                                           static_cast<DWORD>(buffer.size()), widen(file).c_str());
  return cutCp949(narrow(std::wstring(buffer.data(), n)), bufferSize - 1);
}

bool Win32Profile::writeText(const std::string& section, const std::string& key,
                             const std::string& text, const std::string& file) {
  const std::wstring wideFile = widen(file);
  createUnicodeFileIfMissing(wideFile);
  return WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(text).c_str(),
                                    wideFile.c_str()) != 0;
}

}  // namespace pom
