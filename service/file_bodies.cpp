#include "service/file_bodies.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace pom {
namespace service {

namespace {

std::uint64_t mix(std::uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  x ^= x >> 31;
  return x;
}

std::uint64_t word(std::uint64_t seed, std::uint64_t index) {
  return mix(seed * 0x9E3779B97F4A7C15ull + index);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

bool readFully(int fd, std::uint8_t* out, std::size_t n, off_t offset) {
  while (n > 0) {
    ssize_t r = ::pread(fd, out, n, offset);
    if (r <= 0) return false;
    out += r;
    offset += r;
    n -= static_cast<std::size_t>(r);
  }
  return true;
}

}  // namespace

void fillGenerated(std::uint64_t seed, std::int64_t offset, std::uint8_t* out, std::size_t n) {
  std::uint64_t position = static_cast<std::uint64_t>(offset);
  while (n > 0) {
    std::uint64_t value = word(seed, position / 8);
    unsigned shift = static_cast<unsigned>(position % 8);
    std::size_t take = std::min<std::size_t>(n, 8 - shift);
    for (std::size_t k = 0; k < take; ++k)
      out[k] = static_cast<std::uint8_t>(value >> (8 * (shift + k)));
    out += take;
    position += take;
    n -= take;
  }
}

namespace {

struct Region {
  std::int64_t begin;
  std::int64_t end;
};

// The generated regions of a sparse body, ascending and disjoint.
std::vector<Region> sparseRegions(std::int64_t size) {
  std::vector<Region> regions{{0, std::min(size, kSparseRegion)}};
  auto add = [&](std::int64_t begin, std::int64_t end) {
    begin = std::max<std::int64_t>(begin, 0);
    end = std::min(end, size);
    if (begin >= end) return;
    if (begin <= regions.back().end) {
      regions.back().end = std::max(regions.back().end, end);
    } else {
      regions.push_back({begin, end});
    }
  };
  for (std::int64_t at = kSparseBoundary; at < size; at += kSparseBoundary)
    add(at - kSparseRegion, at + kSparseRegion);
  add(size - kSparseRegion, size);
  return regions;
}

bool writeSparseBody(int fd, std::uint64_t seed, std::int64_t length, std::int64_t size) {
  if (::ftruncate(fd, static_cast<off_t>(length)) != 0) return false;
  std::vector<std::uint8_t> block(static_cast<std::size_t>(kSparseRegion));
  for (const Region& region : sparseRegions(size)) {
    for (std::int64_t at = region.begin; at < std::min(region.end, length);) {
      std::size_t n = static_cast<std::size_t>(
          std::min<std::int64_t>(std::min(region.end, length) - at, kSparseRegion));
      fillGenerated(seed, at, block.data(), n);
      ssize_t w = ::pwrite(fd, block.data(), n, static_cast<off_t>(at));
      if (w <= 0) return false;
      at += w;
    }
  }
  return true;
}

}  // namespace

void fillGeneratedBody(std::uint64_t seed, std::int64_t size, std::int64_t offset,
                       std::uint8_t* out, std::size_t n) {
  if (size < kSparseFrom) {
    fillGenerated(seed, offset, out, n);
    return;
  }
  std::memset(out, 0, n);
  const std::int64_t end = offset + static_cast<std::int64_t>(n);
  for (const Region& region : sparseRegions(size)) {
    const std::int64_t begin = std::max(region.begin, offset);
    const std::int64_t stop = std::min(region.end, end);
    if (begin < stop)
      fillGenerated(seed, begin, out + (begin - offset), static_cast<std::size_t>(stop - begin));
  }
}

bool writeGeneratedBody(const std::string& path, std::uint64_t seed, std::int64_t length,
                        std::int64_t size) {
  FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (fd.get() < 0) return false;
  if (size < 0) size = length;
  if (size >= kSparseFrom) return writeSparseBody(fd.get(), seed, length, size);
  // Small bodies (the seed writes thousands) get a buffer of their own size.
  std::vector<std::uint8_t> block(
      static_cast<std::size_t>(std::clamp<std::int64_t>(length, 1, 1 << 20)));
  for (std::int64_t done = 0; done < length;) {
    std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(block.size(), length - done));
    fillGenerated(seed, done, block.data(), n);
    for (std::size_t written = 0; written < n;) {
      ssize_t w = ::write(fd.get(), block.data() + written, n - written);
      if (w <= 0) return false;
      written += static_cast<std::size_t>(w);
    }
    done += static_cast<std::int64_t>(n);
  }
  return true;
}

std::string md5Hex(const void* data, std::size_t length) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (EVP_Digest(data, length, digest, &size, EVP_md5(), nullptr) != 1) return std::string();
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

std::string sampleDigestOf(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> sample(2 * kSampleHalf, 0);
  std::memcpy(sample.data(), data, std::min(size, kSampleHalf));
  if (size >= kSampleHalf)
    std::memcpy(sample.data() + kSampleHalf, data + size - kSampleHalf, kSampleHalf);
  return md5Hex(sample.data(), sample.size());
}

std::string sampleDigestOfFile(const std::string& path, std::int64_t size) {
  if (size < 0) return std::string();
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return std::string();
  std::vector<std::uint8_t> sample(2 * kSampleHalf, 0);
  std::size_t head = static_cast<std::size_t>(std::min<std::int64_t>(size, kSampleHalf));
  if (!readFully(fd.get(), sample.data(), head, 0)) return std::string();
  if (size >= static_cast<std::int64_t>(kSampleHalf) &&
      !readFully(fd.get(), sample.data() + kSampleHalf, kSampleHalf,
                 static_cast<off_t>(size - static_cast<std::int64_t>(kSampleHalf))))
    return std::string();
  return md5Hex(sample.data(), sample.size());
}

std::string uniqueCodeFor(const std::string& sampleDigestHex, std::int64_t size) {
  std::string key = sampleDigestHex + ":" + std::to_string(size);
  return md5Hex(key.data(), key.size());
}

}  // namespace service
}  // namespace pom
