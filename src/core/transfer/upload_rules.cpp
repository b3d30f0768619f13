#include "core/transfer/upload_rules.h"

#include <memory>
#include <vector>

#include "core/base/config_keys.h"
#include "core/base/forbidden_upload_check.h"
#include "core/net/messages/message_types.h"
#include "core/ports/file_system.h"
#include "core/ports/md5.h"

namespace pom {
namespace {

// Reads exactly size bytes from the file's position; a file that ends
// earlier (it shrank since its size was taken) or fails counts as unread.
bool readExactly(OpenFile& file, std::uint8_t* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const std::int64_t n = file.read(buffer + done, size - done);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::optional<SampleDigest> sampleDigestOf(FileSystem& files, Md5& md5, const std::string& path,
                                           std::int64_t totalSize) {
  if (totalSize < 0) return std::nullopt;
  // Read only: a missing file must stay missing, not appear empty.
  std::unique_ptr<OpenFile> file = files.open(path, OpenMode::Read);
  if (file == nullptr) return std::nullopt;
  std::vector<std::uint8_t> sample(2 * kSampleHalf, 0);
  const auto half = static_cast<std::int64_t>(kSampleHalf);
  const auto head = static_cast<std::size_t>(totalSize < half ? totalSize : half);
  if (!readExactly(*file, sample.data(), head)) return std::nullopt;
  if (totalSize >= half) {
    if (!file->seek(totalSize - half)) return std::nullopt;
    if (!readExactly(*file, sample.data() + kSampleHalf, kSampleHalf)) return std::nullopt;
  }
  return md5.digest(sample.data(), sample.size());
}

char uploadSharingLetter(const ConfigStore& config, FileSystem& files,
                         const std::string& localPath) {
  if (ForbiddenUploadCheck(files, localPath)) return sharing::kRestricted;
  return config.uploadSharingState();
}

}  // namespace pom
