#include "core/transfer/upload_queue.h"

#include <algorithm>

#include "core/base/text_utils.h"
#include "core/ports/file_system.h"

namespace pom {
namespace {

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

}  // namespace

std::string localFolderName(const std::string& path) {
  std::string trimmed = path;
  // A separator byte is never the trail byte of a CP949 character, so the
  // trailing ones can be dropped byte by byte.
  while (trimmed.size() > 1 && isSeparator(trimmed.back())) trimmed.pop_back();
  return baseName(trimmed);
}

std::string joinLocalPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && isSeparator(folder.back())) return folder + name;
  return folder + "\\" + name;
}

UploadQueue::UploadQueue(FileSystem& files, UploadQueueHost& host) : files_(files), host_(host) {}

std::uint16_t UploadQueue::freshKey() {
  // 65,535 keys and a queue far smaller: the walk always ends. A key is
  // reused only after every other one was handed out since, so a late
  // reply for a removed job finds no job rather than a newer one.
  for (;;) {
    lastKey_ = static_cast<std::uint16_t>(lastKey_ == 0xFFFF ? 1 : lastKey_ + 1);
    const std::uint16_t key = lastKey_;
    if (std::none_of(jobs_.begin(), jobs_.end(),
                     [key](const UploadJob& j) { return j.ticketKey == key; })) {
      return key;
    }
  }
}

bool UploadQueue::add(const std::string& localPath, std::int32_t folderId,
                      const std::string& subFolder) {
  const FileInfo info = files_.info(localPath);
  if (!info.exists || info.isDirectory || info.size <= 0) return false;
  UploadJob job;
  job.localPath = localPath;
  job.folderId = folderId;
  // The field holds 99 bytes; a cut never splits a character.
  job.subFolder = cutText(subFolder, 99);
  job.totalSize = info.size;
  job.ticketKey = freshKey();
  resetUploadJob(job, UploadState::Waiting);
  jobs_.push_back(std::move(job));
  return true;
}

int UploadQueue::jobForKey(std::uint16_t key) const {
  if (key == 0) return -1;
  for (int i = 0; i < size(); ++i) {
    if (job(i).ticketKey == key) return i;
  }
  return -1;
}

int UploadQueue::jobOnSlot(int slot) const {
  if (slot < 0) return -1;
  for (int i = 0; i < size(); ++i) {
    if (job(i).slot == slot) return i;
  }
  return -1;
}

int UploadQueue::nextStartable() const {
  for (int i = 0; i < size(); ++i) {
    const UploadJob& j = job(i);
    if (j.slot == -1 && (j.state == UploadState::Waiting || j.state == UploadState::Stopped)) {
      return i;
    }
  }
  return -1;
}

void UploadQueue::resetTo(int index, UploadState state) {
  resetUploadJob(job(index), state);
}

void UploadQueue::stopJob(int index) {
  if (index < 0 || index >= size()) return;
  UploadJob& j = job(index);
  if (!j.bound()) return;
  host_.stopUpload(j.slot);
  resetTo(index, UploadState::Stopped);
}

void UploadQueue::stopAll() {
  for (int i = 0; i < size(); ++i) stopJob(i);
  running = false;
}

void UploadQueue::removeRows(const std::vector<int>& rows) {
  // A job waiting for its ticket or its session lets go of the slot first.
  const std::vector<int> doomed = removableRows(rows, [this](int row) { stopJob(row); });
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) jobs_.erase(jobs_.begin() + *it);
  remeasureDone();
}

void UploadQueue::removeCompleted() {
  removeRows(completedRows());
}

void UploadQueue::toggleCancel(int index) {
  if (index < 0 || index >= size()) return;
  UploadJob& j = job(index);
  if (j.bound()) {
    stopJob(index);
    resetTo(index, UploadState::Cancelled);
    if (!anyWork()) running = false;
  } else if (j.state == UploadState::Cancelled) {
    resetTo(index, UploadState::Waiting);
    running = true;
  }
}

void UploadQueue::setMaxConcurrent(int limit) {
  maxConcurrent = (limit >= 1 && limit <= kSlots) ? limit : 1;
  for (int i = 0; i < size(); ++i) {
    if (job(i).bound() && job(i).slot >= maxConcurrent) stopJob(i);
  }
}

std::uint16_t UploadQueue::addPendingFolder(const std::string& path, bool descend) {
  // Indices go round like the ticket keys: one still awaited is skipped, and
  // one answered (or dropped with the window) is not handed out again soon.
  std::uint16_t index = lastPending_;
  for (int tries = 0; tries <= 0xFFFF && pending_.count(index) != 0; ++tries) ++index;
  lastPending_ = static_cast<std::uint16_t>(index + 1);
  pending_[index] = PendingFolder{path, descend};
  return index;
}

std::optional<UploadQueue::PendingFolder> UploadQueue::takePendingFolder(std::uint16_t index) {
  const auto found = pending_.find(index);
  if (found == pending_.end()) return std::nullopt;
  PendingFolder folder = std::move(found->second);
  pending_.erase(found);
  return folder;
}

}  // namespace pom
