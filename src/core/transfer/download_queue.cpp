#include "core/transfer/download_queue.h"

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
                        const std::string& subFolder, const std::string& folder) {
  const std::string current = host_.downloadFolder();
  const std::string key = keyOf(folder.empty() ? current : folder, subFolder, name);
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
  job.folder = folder;
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
    remeasureDone();
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

void DownloadQueue::removeRows(const std::vector<int>& rows) {
  // A job still waiting for its ticket gives its slot back first.
  const std::vector<int> doomed = removableRows(rows, [this](int row) { stopJob(row, true); });
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
    const std::int32_t fileId = job(*it).fileId;
    jobs_.erase(jobs_.begin() + *it);
    host_.dropSource(fileId);
  }
  remeasureDone();
}

void DownloadQueue::removeCompleted() {
  removeRows(completedRows());
}

void DownloadQueue::toggleCancel(int index) {
  if (index < 0 || index >= size()) return;
  TransferJob& job = this->job(index);
  if (job.bound()) {
    stopJob(index, true);
    resetTo(index, JobState::Cancelled);
    if (!anyWork()) running = false;
  } else if (job.state == JobState::Cancelled) {
    resetTo(index, JobState::Waiting);
    job.held = false;
    job.autoRetries = 0;
    running = true;
  }
}

void DownloadQueue::setMaxConcurrent(int limit) {
  maxConcurrent = (limit >= 1 && limit <= TransferSlotPool::kSlots) ? limit : 1;
  for (int i = 0; i < size(); ++i) {
    if (job(i).bound() && job(i).slot >= maxConcurrent) stopJob(i, true);
  }
}

}  // namespace pom
