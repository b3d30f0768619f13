#include "core/transfer/download_queue.h"

#include <algorithm>

#include "core/base/local_path.h"
#include "core/base/text_utils.h"
#include "core/ports/file_system.h"

namespace pom {
namespace {

// "name (n).ext" is tried up to this number before the job gives up.
constexpr int kMaxNumberedName = 9999;

}  // namespace

DownloadQueue::DownloadQueue(FileSystem& files, TransferSlotPool& pool, DownloadQueueHost& host)
    : files_(files), pool_(pool), host_(host) {}

std::string DownloadQueue::keyOf(const std::string& folder, const std::string& subFolder,
                                 const std::string& name) const {
  const std::string base = baseName(name);
  const std::optional<std::string> path = downloadPath(folder, subFolder, base);
  // A name that can never be a local path still must not be queued twice.
  return lowerAscii(path ? *path : folder + "\\" + subFolder + "\\" + base);
}

bool DownloadQueue::add(std::int32_t fileId, const std::string& name, std::int64_t totalSize,
                        const std::string& subFolder) {
  const std::string current = host_.downloadFolder();
  const std::string key = keyOf(current, subFolder, name);
  for (const TransferJob& job : jobs_) {
    if (keyOf(job.folder.empty() ? current : job.folder, job.subFolder, job.name) == key) {
      return false;
    }
  }
  TransferJob job;
  job.fileId = fileId;
  job.name = name;
  job.totalSize = totalSize;
  job.subFolder = subFolder;
  resetJob(job, JobState::Waiting);
  jobs_.push_back(std::move(job));
  return true;
}

bool DownloadQueue::bindLocalPath(TransferJob& job) {
  if (job.folder.empty()) job.folder = host_.downloadFolder();
  const std::string base = baseName(job.name);
  std::optional<std::string> path =
      job.localPath.empty() ? downloadPath(job.folder, job.subFolder, base) : job.localPath;
  if (!path) return false;
  makeDirectories(files_, parentFolder(*path));
  FileInfo info = files_.info(*path);
  // A larger local file is some other file: it is neither cut nor called
  // complete; the download goes to the next free numbered name.
  for (int n = 1; info.exists && (info.isDirectory || info.size > job.totalSize); ++n) {
    if (n > kMaxNumberedName) return false;
    path = downloadPath(job.folder, job.subFolder, numberedName(base, n));
    if (!path) return false;
    info = files_.info(*path);
  }
  job.localPath = *path;
  job.received = info.exists ? info.size : 0;
  return true;
}

bool DownloadQueue::startNext() {
  for (int i = 0; i < size(); ++i) {
    TransferJob& job = jobs_[static_cast<std::size_t>(i)];
    if (job.state != JobState::Waiting && job.state != JobState::Stopped) continue;
    if (job.held) continue;
    const int slot = pool_.acquire();
    if (slot < 0) return false;
    if (slot >= maxConcurrent) {
      pool_.release(slot);
      return false;
    }
    if (!bindLocalPath(job)) {
      pool_.release(slot);
      resetTo(i, JobState::Cancelled);
      host_.jobFailed(i);
      continue;
    }
    doneBytes_ = sumReceived();
    doneAtRefresh_ = doneBytes_;
    if (job.received >= job.totalSize) {
      // An empty file of the service still becomes a local file.
      if (job.totalSize == 0 && !files_.info(job.localPath).exists) {
        files_.open(job.localPath, OpenMode::Create);
      }
      pool_.release(slot);
      resetTo(i, JobState::Completed);
      host_.completedOnDisk(i);
      continue;
    }
    if (job.slot != -1) {
      pool_.release(slot);
      continue;
    }
    job.slot = slot;
    job.state = JobState::Requesting;
    job.shownState = stateText(job.state);
    host_.ticketWanted(job);
    return true;
  }
  return false;
}

int DownloadQueue::jobForSlot(int slot) const {
  if (slot < 0) return -1;
  for (int i = 0; i < size(); ++i) {
    const TransferJob& job = jobs_[static_cast<std::size_t>(i)];
    if (job.slot == slot && job.bound()) return i;
  }
  return -1;
}

int DownloadQueue::indexOfFile(std::int32_t fileId) const {
  for (int i = 0; i < size(); ++i) {
    if (jobs_[static_cast<std::size_t>(i)].fileId == fileId) return i;
  }
  return -1;
}

int DownloadQueue::slotOfFile(std::int32_t fileId) const {
  const int index = indexOfFile(fileId);
  return index < 0 ? -1 : jobs_[static_cast<std::size_t>(index)].slot;
}

void DownloadQueue::setTicket(std::int32_t fileId, const std::string& serverPath,
                              const std::string& storagePathA, const std::string& storagePathB) {
  const int index = indexOfFile(fileId);
  if (index < 0) return;
  TransferJob& job = this->job(index);
  job.serverPath = serverPath;
  job.storagePath = storagePathA + storagePathB;
}

void DownloadQueue::resetTo(int index, JobState state, bool redrawnText) {
  TransferJob& job = this->job(index);
  if (job.slot >= 0) pool_.release(job.slot);
  resetJob(job, state);
  if (!redrawnText) job.shownState = stateText(state, false);
}

void DownloadQueue::stopJob(int index, bool dropSource) {
  TransferJob& job = this->job(index);
  if (!job.bound()) return;
  if (job.slot >= 0) host_.stopTransfer(job.slot, job.fileId, dropSource);
  resetTo(index, JobState::Stopped);
}

void DownloadQueue::stopAll() {
  for (int i = 0; i < size(); ++i) stopJob(i, false);
  running = false;
}

bool DownloadQueue::anyActive() const {
  return std::any_of(jobs_.begin(), jobs_.end(), [](const TransferJob& j) { return j.active(); });
}

std::vector<int> DownloadQueue::reorder(const std::vector<int>& rows, int target) {
  std::vector<bool> chosen(jobs_.size(), false);
  for (int row : rows) {
    if (row >= 0 && row < size()) chosen[static_cast<std::size_t>(row)] = true;
  }
  std::vector<TransferJob> moved, rest;
  int insertAt = 0;
  for (int i = 0; i < size(); ++i) {
    if (chosen[static_cast<std::size_t>(i)]) {
      moved.push_back(jobs_[static_cast<std::size_t>(i)]);
    } else {
      if (i < target) ++insertAt;
      rest.push_back(jobs_[static_cast<std::size_t>(i)]);
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

std::vector<int> DownloadQueue::moveTop(const std::vector<int>& rows) {
  return reorder(rows, 0);
}

std::vector<int> DownloadQueue::moveEnd(const std::vector<int>& rows) {
  return reorder(rows, size());
}

std::vector<int> DownloadQueue::moveBefore(const std::vector<int>& rows, int target) {
  return reorder(rows, std::clamp(target, 0, size()));
}

std::vector<int> DownloadQueue::moveUp(const std::vector<int>& rows) {
  std::vector<int> selected;
  for (int row : rows) {  // ascending: a block moves up as one
    if (row < 0 || row >= size()) continue;
    const bool blocked =
        row == 0 || std::find(selected.begin(), selected.end(), row - 1) != selected.end();
    if (blocked) {
      selected.push_back(row);
      continue;
    }
    std::swap(jobs_[static_cast<std::size_t>(row)], jobs_[static_cast<std::size_t>(row - 1)]);
    selected.push_back(row - 1);
  }
  return selected;
}

std::vector<int> DownloadQueue::moveDown(const std::vector<int>& rows) {
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
    std::swap(jobs_[static_cast<std::size_t>(row)], jobs_[static_cast<std::size_t>(row + 1)]);
    selected.push_back(row + 1);
  }
  std::sort(selected.begin(), selected.end());
  return selected;
}

void DownloadQueue::removeRows(const std::vector<int>& rows) {
  std::vector<int> doomed;
  for (int row : rows) {
    if (row < 0 || row >= size() || job(row).state == JobState::Transferring) continue;
    // A job still waiting for its ticket gives its slot back first.
    stopJob(row, true);
    doomed.push_back(row);
  }
  std::sort(doomed.begin(), doomed.end());
  doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
    const std::int32_t fileId = job(*it).fileId;
    jobs_.erase(jobs_.begin() + *it);
    host_.dropSource(fileId);
  }
  afterRemoval();
}

void DownloadQueue::removeCompleted() {
  std::vector<int> rows;
  for (int i = 0; i < size(); ++i) {
    if (job(i).state == JobState::Completed) rows.push_back(i);
  }
  removeRows(rows);
}

void DownloadQueue::afterRemoval() {
  doneBytes_ = sumReceived();
  doneAtRefresh_ = doneBytes_;
}

void DownloadQueue::toggleCancel(int index) {
  if (index < 0 || index >= size()) return;
  TransferJob& job = this->job(index);
  if (job.bound()) {
    stopJob(index, true);
    resetTo(index, JobState::Cancelled);
    const bool work = std::any_of(jobs_.begin(), jobs_.end(), [](const TransferJob& j) {
      return j.state == JobState::Stopped || j.state == JobState::Waiting || j.bound();
    });
    if (!work) running = false;
  } else if (job.state == JobState::Cancelled) {
    resetTo(index, JobState::Waiting);
    job.held = false;
    job.autoRetries = 0;
    running = true;
  }
}

bool DownloadQueue::sortBy(int column) {
  const bool reversed = sortReversed_;
  switch (column) {
    case 0:
      std::stable_sort(jobs_.begin(), jobs_.end(), [reversed](const auto& a, const auto& b) {
        return reversed ? b.name < a.name : a.name < b.name;
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

void DownloadQueue::redrawnTexts() {
  // A list drawn again from the records shows each state's plain text.
  for (TransferJob& job : jobs_) job.shownState = stateText(job.state);
}

void DownloadQueue::setMaxConcurrent(int limit) {
  maxConcurrent = (limit >= 1 && limit <= TransferSlotPool::kSlots) ? limit : 1;
  for (int i = 0; i < size(); ++i) {
    if (job(i).bound() && job(i).slot >= maxConcurrent) stopJob(i, true);
  }
}

void DownloadQueue::clear() {
  for (TransferJob& job : jobs_) resetJob(job, JobState::Idle);
  jobs_.clear();
  doneBytes_ = 0;
  doneAtRefresh_ = 0;
  running = false;
}

std::int64_t DownloadQueue::queuedBytes() const {
  std::int64_t sum = 0;
  for (const TransferJob& job : jobs_) sum += job.totalSize;
  return sum;
}

std::int64_t DownloadQueue::sumReceived() const {
  std::int64_t sum = 0;
  for (const TransferJob& job : jobs_) sum += job.received;
  return sum;
}

}  // namespace pom
