#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kEpochDifference = 116444736000000000LL;

std::int64_t unixSeconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return (static_cast<std::int64_t>(value.QuadPart) - kEpochDifference) / 10000000;
}

FileInfo infoFrom(DWORD attributes, DWORD sizeHigh, DWORD sizeLow, const FILETIME& written) {
  FileInfo info;
  info.exists = true;
  info.isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  info.size = info.isDirectory
                  ? 0
                  : static_cast<std::int64_t>((static_cast<ULONGLONG>(sizeHigh) << 32) | sizeLow);
  info.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
  info.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  info.modified = unixSeconds(written);
  return info;
}

class Win32File final : public OpenFile {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { CloseHandle(handle_); }

  std::int64_t read(void* buffer, std::size_t size) override {
    const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, want, &got, nullptr)) return -1;
    return got;
  }
  bool write(const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      DWORD wrote = 0;
      if (!WriteFile(handle_, bytes, want, &wrote, nullptr) || wrote == 0) return false;
      bytes += wrote;
      size -= wrote;
    }
    return true;
  }
  bool flush() override { return true; }  // WriteFile hands bytes to the system already
  bool seek(std::int64_t offset) override {
    if (offset < 0) return false;
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) != 0;
  }
  std::int64_t position() const override {
    LARGE_INTEGER zero{}, at{};
    return SetFilePointerEx(handle_, zero, &at, FILE_CURRENT) ? at.QuadPart : -1;
  }
  std::int64_t size() const override {
    LARGE_INTEGER size{};
    return GetFileSizeEx(handle_, &size) ? size.QuadPart : -1;
  }

 private:
  HANDLE handle_;
};

}  // namespace

FileInfo Win32FileSystem::info(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)) return FileInfo{};
  return infoFrom(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow,
                  data.ftLastWriteTime);
}

bool Win32FileSystem::list(const std::string& folder, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  std::wstring pattern = widen(folder);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back(
        DirectoryEntry{narrow(name), infoFrom(found.dwFileAttributes, found.nFileSizeHigh,
                                              found.nFileSizeLow, found.ftLastWriteTime)});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return true;
}

bool Win32FileSystem::createFolder(const std::string& path) {
  const std::wstring wide = widen(path);
  if (CreateDirectoryW(wide.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::unique_ptr<OpenFile> Win32FileSystem::open(const std::string& path, OpenMode mode) {
  DWORD access = GENERIC_READ;
  DWORD share = FILE_SHARE_READ;
  DWORD disposition = OPEN_EXISTING;
  DWORD flags = FILE_ATTRIBUTE_NORMAL;
  switch (mode) {
    case OpenMode::Read:
      share |= FILE_SHARE_WRITE;
      flags |= FILE_FLAG_SEQUENTIAL_SCAN;
      break;
    case OpenMode::Append:
      access |= GENERIC_WRITE;
      disposition = OPEN_ALWAYS;
      flags |= FILE_FLAG_SEQUENTIAL_SCAN;
      break;
    case OpenMode::Create:
      access |= GENERIC_WRITE;
      disposition = CREATE_ALWAYS;
      break;
  }
  HANDLE handle =
      CreateFileW(widen(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  auto file = std::make_unique<Win32File>(handle);
  if (mode == OpenMode::Append && !file->seek(file->size())) return nullptr;
  return file;
}

bool Win32FileSystem::rename(const std::string& from, const std::string& to) {
  return MoveFileExW(widen(from).c_str(), widen(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
}

bool Win32FileSystem::remove(const std::string& path) {
  const std::wstring wide = widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryW(wide.c_str()) != 0;
  return DeleteFileW(wide.c_str()) != 0;
}

std::optional<std::int64_t> Win32FileSystem::freeSpace(const std::string& path) {
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(widen(path).c_str(), &available, nullptr, nullptr)) return std::nullopt;
  return static_cast<std::int64_t>(available.QuadPart);
}

bool Win32FileSystem::setHidden(const std::string& path) {
  const std::wstring wide = widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_HIDDEN) return true;
  return SetFileAttributesW(wide.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN) != 0;
}

}  // namespace pom
