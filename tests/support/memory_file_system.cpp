#include "support/memory_file_system.h"

#include <algorithm>
#include <cstring>

namespace pom {
namespace {

std::string parentOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool isRoot(const std::string& path) {
  return path.empty() || (path.size() == 2 && path[1] == ':') || path == "." || path == "/";
}

class MemoryFile final : public OpenFile {
 public:
  MemoryFile(std::shared_ptr<std::string> bytes, const MemoryFileSystem& owner)
      : bytes_(std::move(bytes)), owner_(owner) {}

  std::int64_t read(void* buffer, std::size_t size) override {
    if (position_ >= static_cast<std::int64_t>(bytes_->size())) return 0;
    const std::size_t n = std::min(size, bytes_->size() - static_cast<std::size_t>(position_));
    std::memcpy(buffer, bytes_->data() + position_, n);
    position_ += static_cast<std::int64_t>(n);
    return static_cast<std::int64_t>(n);
  }
  bool write(const void* data, std::size_t size) override {
    const std::int64_t end = position_ + static_cast<std::int64_t>(size);
    if (owner_.failWritesBeyond >= 0 && end > owner_.failWritesBeyond) return false;
    if (static_cast<std::size_t>(end) > bytes_->size())
      bytes_->resize(static_cast<std::size_t>(end));
    std::memcpy(&(*bytes_)[static_cast<std::size_t>(position_)], data, size);
    position_ = end;
    return true;
  }
  bool flush() override { return true; }
  bool seek(std::int64_t offset) override {
    if (offset < 0) return false;
    position_ = offset;
    return true;
  }
  std::int64_t position() const override { return position_; }
  std::int64_t size() const override { return static_cast<std::int64_t>(bytes_->size()); }

 private:
  std::shared_ptr<std::string> bytes_;
  const MemoryFileSystem& owner_;
  std::int64_t position_ = 0;
};

}  // namespace

std::string MemoryFileSystem::normalise(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == '\\') c = '/';
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

bool MemoryFileSystem::parentExists(const std::string& normalised) const {
  const std::string parent = parentOf(normalised);
  return isRoot(parent) || folders_.count(parent) != 0;
}

void MemoryFileSystem::addFolder(const std::string& path) {
  const std::string p = normalise(path);
  if (isRoot(p)) return;
  addFolder(parentOf(p));
  folders_.insert(p);
}

void MemoryFileSystem::addFile(const std::string& path, const std::string& bytes) {
  const std::string p = normalise(path);
  addFolder(parentOf(p));
  files_[p] = std::make_shared<std::string>(bytes);
}

bool MemoryFileSystem::has(const std::string& path) const {
  return files_.count(normalise(path)) != 0;
}

std::string MemoryFileSystem::contents(const std::string& path) const {
  const auto found = files_.find(normalise(path));
  return found == files_.end() ? std::string() : *found->second;
}

FileInfo MemoryFileSystem::info(const std::string& path) {
  const std::string p = normalise(path);
  FileInfo info;
  if (folders_.count(p) != 0 || (isRoot(p) && !p.empty())) {
    info.exists = true;
    info.isDirectory = true;
  } else if (const auto found = files_.find(p); found != files_.end()) {
    info.exists = true;
    info.size = static_cast<std::int64_t>(found->second->size());
  }
  info.hidden = std::find(hidden.begin(), hidden.end(), path) != hidden.end();
  return info;
}

bool MemoryFileSystem::list(const std::string& folder, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  const std::string p = normalise(folder);
  if (!info(p).isDirectory) return false;
  const auto inside = [&p](const std::string& path) { return parentOf(path) == p; };
  for (const std::string& f : folders_) {
    if (inside(f)) entries.push_back(DirectoryEntry{f.substr(f.rfind('/') + 1), info(f)});
  }
  for (const auto& [path, bytes] : files_) {
    if (inside(path))
      entries.push_back(DirectoryEntry{path.substr(path.rfind('/') + 1), info(path)});
  }
  return true;
}

bool MemoryFileSystem::createFolder(const std::string& path) {
  const std::string p = normalise(path);
  if (isRoot(p) || folders_.count(p) != 0) return true;
  if (files_.count(p) != 0 || !parentExists(p)) return false;
  folders_.insert(p);
  return true;
}

std::unique_ptr<OpenFile> MemoryFileSystem::open(const std::string& path, OpenMode mode) {
  const std::string p = normalise(path);
  auto found = files_.find(p);
  if (mode == OpenMode::Read) {
    if (found == files_.end()) return nullptr;
    return std::make_unique<MemoryFile>(found->second, *this);
  }
  if (folders_.count(p) != 0 || !parentExists(p)) return nullptr;
  if (found == files_.end()) found = files_.emplace(p, std::make_shared<std::string>()).first;
  if (mode == OpenMode::Create) found->second->clear();
  auto file = std::make_unique<MemoryFile>(found->second, *this);
  if (mode == OpenMode::Append) file->seek(file->size());
  return file;
}

bool MemoryFileSystem::rename(const std::string& from, const std::string& to) {
  const std::string a = normalise(from), b = normalise(to);
  const auto found = files_.find(a);
  if (found == files_.end() || !parentExists(b) || folders_.count(b) != 0) return false;
  auto bytes = found->second;
  files_.erase(found);
  files_[b] = bytes;
  return true;
}

bool MemoryFileSystem::remove(const std::string& path) {
  const std::string p = normalise(path);
  if (files_.erase(p) != 0) return true;
  if (folders_.count(p) == 0) return false;
  std::vector<DirectoryEntry> entries;
  list(p, entries);
  if (!entries.empty()) return false;
  folders_.erase(p);
  return true;
}

std::optional<std::int64_t> MemoryFileSystem::freeSpace(const std::string&) {
  return free;
}

bool MemoryFileSystem::setHidden(const std::string& path) {
  hidden.push_back(path);
  return true;
}

}  // namespace pom
