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

bool UploadQueue::anyActive() const {
  return std::any_of(jobs_.begin(), jobs_.end(), [](const UploadJob& j) { return j.active(); });
}

std::vector<int> UploadQueue::reorder(const std::vector<int>& rows, int target) {
  std::vector<bool> chosen(jobs_.size(), false);
  for (int row : rows) {
    if (row >= 0 && row < size()) chosen[static_cast<std::size_t>(row)] = true;
  }
  std::vector<UploadJob> moved, rest;
  int insertAt = 0;
  for (int i = 0; i < size(); ++i) {
    if (chosen[static_cast<std::size_t>(i)]) {
      moved.push_back(job(i));
    } else {
      if (i < target) ++insertAt;
      rest.push_back(job(i));
    }
  }
  if (moved.empty()) return {};
  rest.insert(rest.begin() + insertAt, moved.begin(), moved.end());
  jobs_ = std::move(rest);
  redrawnTexts();
  std::vector<int> selected;
  for (std::size_t k = 0; k < moved.size(); ++k) selected.push_back(insertAt + static_cast<int>(k));
  return selected;
}

std::vector<int> UploadQueue::moveTop(const std::vector<int>& rows) {
  return reorder(rows, 0);
}

std::vector<int> UploadQueue::moveEnd(const std::vector<int>& rows) {
  return reorder(rows, size());
}

std::vector<int> UploadQueue::moveBefore(const std::vector<int>& rows, int target) {
  return reorder(rows, std::clamp(target, 0, size()));
}

std::vector<int> UploadQueue::moveUp(const std::vector<int>& rows) {
  std::vector<int> selected;
  for (int row : rows) {  // ascending: a block moves up as one
    if (row < 0 || row >= size()) continue;
    const bool blocked =
        row == 0 || std::find(selected.begin(), selected.end(), row - 1) != selected.end();
    if (blocked) {
      selected.push_back(row);
      continue;
    }
    std::swap(job(row), job(row - 1));
    selected.push_back(row - 1);
  }
  redrawnTexts();
  return selected;
}

std::vector<int> UploadQueue::moveDown(const std::vector<int>& rows) {
  std::vector<int> selected;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    const int row = *it;
    if (row < 0 || row >= size()) continue;
    const bool blocked =
        row == size() - 1 || std::find(selected.begin(), selected.end(), row + 1) != selected.end();
    if (blocked) {
      selected.push_back(row);
      continue;
    }
    std::swap(job(row), job(row + 1));
    selected.push_back(row + 1);
  }
  std::sort(selected.begin(), selected.end());
  redrawnTexts();
  return selected;
}

void UploadQueue::removeRows(const std::vector<int>& rows) {
  std::vector<int> doomed;
  for (int row : rows) {
    if (row < 0 || row >= size() || job(row).state == UploadState::Sending) continue;
    // A job waiting for its ticket or its session lets go of the slot first.
    stopJob(row);
    doomed.push_back(row);
  }
  std::sort(doomed.begin(), doomed.end());
  doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) jobs_.erase(jobs_.begin() + *it);
  afterRemoval();
}

void UploadQueue::removeCompleted() {
  std::vector<int> rows;
  for (int i = 0; i < size(); ++i) {
    if (job(i).state == UploadState::Completed) rows.push_back(i);
  }
  removeRows(rows);
}

void UploadQueue::afterRemoval() {
  doneBytes_ = sumSent();
  doneAtRefresh_ = doneBytes_;
}

void UploadQueue::toggleCancel(int index) {
  if (index < 0 || index >= size()) return;
  UploadJob& j = job(index);
  if (j.bound()) {
    stopJob(index);
    resetTo(index, UploadState::Cancelled);
    const bool work = std::any_of(jobs_.begin(), jobs_.end(), [](const UploadJob& other) {
      return other.state == UploadState::Stopped || other.state == UploadState::Waiting ||
             other.bound();
    });
    if (!work) running = false;
  } else if (j.state == UploadState::Cancelled) {
    resetTo(index, UploadState::Waiting);
    running = true;
  }
}

bool UploadQueue::sortBy(int column) {
  const bool reversed = sortReversed_;
  switch (column) {
    case 0:
      std::stable_sort(jobs_.begin(), jobs_.end(), [reversed](const auto& a, const auto& b) {
        return reversed ? b.localPath < a.localPath : a.localPath < b.localPath;
      });
      break;
    case 1:
      std::stable_sort(jobs_.begin(), jobs_.end(), [reversed](const auto& a, const auto& b) {
        return reversed ? a.totalSize < b.totalSize : b.totalSize < a.totalSize;
      });
      break;
    case 2:
      std::stable_sort(jobs_.begin(), jobs_.end(), [reversed](const auto& a, const auto& b) {
        return reversed ? a.state < b.state : b.state < a.state;
      });
      break;
    default:
      return false;
  }
  sortReversed_ = !sortReversed_;
  redrawnTexts();
  return true;
}

void UploadQueue::redrawnTexts() {
  // A list drawn again from the records shows each state's plain text; the
  // reason of a failure stays with the job.
  for (UploadJob& j : jobs_) j.shownState = uploadStateText(j.state);
}

void UploadQueue::setMaxConcurrent(int limit) {
  maxConcurrent = (limit >= 1 && limit <= kSlots) ? limit : 1;
  for (int i = 0; i < size(); ++i) {
    if (job(i).bound() && job(i).slot >= maxConcurrent) stopJob(i);
  }
}

void UploadQueue::clear() {
  for (UploadJob& j : jobs_) resetUploadJob(j, UploadState::Idle);
  jobs_.clear();
  pending_.clear();
  doneBytes_ = 0;
  doneAtRefresh_ = 0;
  running = false;
}

std::int64_t UploadQueue::queuedBytes() const {
  std::int64_t sum = 0;
  for (const UploadJob& j : jobs_) sum += j.totalSize;
  return sum;
}

std::int64_t UploadQueue::sumSent() const {
  std::int64_t sum = 0;
  for (const UploadJob& j : jobs_) sum += j.sent;
  return sum;
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
