#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/ports/text_codec.h"

namespace pom {
namespace {

FileInfo infoFrom(const struct stat& st) {
  FileInfo info;
  info.exists = true;
  info.isDirectory = S_ISDIR(st.st_mode);
  info.size = info.isDirectory ? 0 : static_cast<std::int64_t>(st.st_size);
  info.readOnly = (st.st_mode & S_IWUSR) == 0;
  info.modified = static_cast<std::int64_t>(st.st_mtime);
  return info;
}

class PosixFile final : public OpenFile {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }

  std::int64_t read(void* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return n;
      if (errno != EINTR) return -1;
    }
  }
  bool write(const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t n = ::write(fd_, bytes, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      bytes += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }
  bool flush() override { return true; }  // written straight to the descriptor
  bool seek(std::int64_t offset) override {
    return offset >= 0 && ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == offset;
  }
  std::int64_t position() const override { return ::lseek(fd_, 0, SEEK_CUR); }
  std::int64_t size() const override {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
  }

 private:
  int fd_;
};

}  // namespace

std::string posixPath(const std::string& programPath) {
  std::string path = cp949ToUtf8(programPath);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

FileInfo PosixFileSystem::info(const std::string& path) {
  struct stat st {};
  if (::stat(posixPath(path).c_str(), &st) != 0) return FileInfo{};
  return infoFrom(st);
}

bool PosixFileSystem::list(const std::string& folder, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  const std::string base = posixPath(folder);
  DIR* dir = ::opendir(base.c_str());
  if (dir == nullptr) return false;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    const std::string full = base.empty() || base.back() == '/' ? base + name : base + "/" + name;
    if (::stat(full.c_str(), &st) != 0) continue;  // vanished meanwhile, or a dangling link
    entries.push_back(DirectoryEntry{utf8ToCp949(name), infoFrom(st)});
  }
  ::closedir(dir);
  return true;
}

bool PosixFileSystem::createFolder(const std::string& path) {
  const std::string native = posixPath(path);
  if (::mkdir(native.c_str(), 0777) == 0) return true;
  struct stat st {};
  return errno == EEXIST && ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::unique_ptr<OpenFile> PosixFileSystem::open(const std::string& path, OpenMode mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::Read:
      flags |= O_RDONLY;
      break;
    case OpenMode::Append:
      flags |= O_RDWR | O_CREAT;
      break;
    case OpenMode::Create:
      flags |= O_RDWR | O_CREAT | O_TRUNC;
      break;
  }
  const int fd = ::open(posixPath(path).c_str(), flags, 0666);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  auto file = std::make_unique<PosixFile>(fd);
  // Append is positioned at the end once, not O_APPEND: a seek stays honoured.
  if (mode == OpenMode::Append && !file->seek(file->size())) return nullptr;
  return file;
}

bool PosixFileSystem::rename(const std::string& from, const std::string& to) {
  return std::rename(posixPath(from).c_str(), posixPath(to).c_str()) == 0;
}

bool PosixFileSystem::remove(const std::string& path) {
  return std::remove(posixPath(path).c_str()) == 0;
}

std::optional<std::int64_t> PosixFileSystem::freeSpace(const std::string& path) {
  struct statvfs vfs {};
  if (::statvfs(posixPath(path).c_str(), &vfs) != 0) return std::nullopt;
  return static_cast<std::int64_t>(vfs.f_bavail) * static_cast<std::int64_t>(vfs.f_frsize);
}

bool PosixFileSystem::setHidden(const std::string&) {
  return true;
}

}  // namespace pom
