// UploadQueue: the ordered upload jobs behind the upload window, the
// member's commands on the list, the window's byte totals, and the local
// folders that wait for the service to make their web folder.
//
// Every job gets a ticket key when it is queued: the number its ticket
// request carries and the service echoes. Keys are unique among the queued
// jobs, never 0, and travel with the job when rows move or are sorted, so a
// reply always finds the job it was asked for, wherever that row is now.
// Pending folders likewise get an index that is never handed out twice while
// it may still be answered.
//
// The queue decides; the wire side of a stopped job (UploadCancel, closing
// the session) is its host's, which owns the engines. Rows are the jobs'
// positions. Owned by the upload window; the file system and the host must
// outlive it. Loop thread only.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/transfer/upload_job.h"

namespace pom {

class FileSystem;

class UploadQueueHost {
 public:
  virtual ~UploadQueueHost() = default;
  // The job on slot is being stopped (its ticket pending, its session
  // connecting, announced or sending): end the wire side and free the slot.
  virtual void stopUpload(int slot) = 0;
};

// The last component of a local folder path (trailing separators ignored).
std::string localFolderName(const std::string& path);
// Joins a folder and a name with one '\' ("%s%s" when the folder already
// ends in a separator, "%s\%s" otherwise).
std::string joinLocalPath(const std::string& folder, const std::string& name);

class UploadQueue {
 public:
  static constexpr int kSlots = 3;

  UploadQueue(FileSystem& files, UploadQueueHost& host);

  const std::vector<UploadJob>& jobs() const { return jobs_; }
  UploadJob& job(int index) { return jobs_[static_cast<std::size_t>(index)]; }
  const UploadJob& job(int index) const { return jobs_[static_cast<std::size_t>(index)]; }
  int size() const { return static_cast<int>(jobs_.size()); }

  // Appends a waiting job for the file at localPath, its size read now;
  // a missing, empty or folder path is not queued. True when queued.
  bool add(const std::string& localPath, std::int32_t folderId, const std::string& subFolder);

  // Index of the job with that ticket key / bound to slot (ticket pending,
  // connecting, announced or sending); -1 when none.
  int jobForKey(std::uint16_t key) const;
  int jobOnSlot(int slot) const;
  // The first job in queue order that may start: state 5 or 1, no slot.
  int nextStartable() const;

  // Moves a job into a state through the job reset (no slot afterwards).
  void resetTo(int index, UploadState state);
  // Stops the job at index when it holds a slot: the host ends its wire
  // side, the job becomes state 1 "중지".
  void stopJob(int index);
  void stopAll();
  bool anyActive() const;

  // The member's commands. Each takes the selected rows (in row order) and
  // returns the rows selected afterwards.
  std::vector<int> moveTop(const std::vector<int>& rows);
  std::vector<int> moveEnd(const std::vector<int>& rows);
  std::vector<int> moveUp(const std::vector<int>& rows);
  std::vector<int> moveDown(const std::vector<int>& rows);
  std::vector<int> moveBefore(const std::vector<int>& rows, int target);
  // Removes the rows, keeping every job that sends (state 9); a job that
  // holds a slot otherwise is stopped first.
  void removeRows(const std::vector<int>& rows);
  // "완료된파일삭제": every job in state 3.
  void removeCompleted();
  // Cancel / restart of one job.
  void toggleCancel(int index);
  // Sorts by a column (0 local path, 1 size, 2 state); false for others.
  bool sortBy(int column);
  // The new limit (1..3; others become 1): jobs on slots at or above it are
  // stopped.
  void setMaxConcurrent(int limit);
  // Empties the queue and the pending folders (the window is destroyed);
  // the host has ended the wire side already.
  void clear();

  // Totals: queued bytes are the sizes of the queued jobs; done bytes the
  // bytes the service holds of them, recomputed on every refresh.
  std::int64_t queuedBytes() const;
  std::int64_t doneBytes() const { return doneBytes_; }
  std::int64_t doneAtRefresh() const { return doneAtRefresh_; }
  void recomputeDone() { doneBytes_ = sumSent(); }
  void setDoneAtRefresh(std::int64_t value) { doneAtRefresh_ = value; }

  // Local folders waiting for their web folder. add returns the index the
  // folder request carries; take hands back (and forgets) the folder of an
  // index the service answered, nothing for an index never handed out or
  // already answered.
  struct PendingFolder {
    std::string path;
    bool descend = false;  // its sub-folders follow as folders of their own
  };
  std::uint16_t addPendingFolder(const std::string& path, bool descend);
  std::optional<PendingFolder> takePendingFolder(std::uint16_t index);
  int foldersPending() const { return static_cast<int>(pending_.size()); }

  int maxConcurrent = 1;
  bool running = false;

 private:
  std::uint16_t freshKey();
  std::int64_t sumSent() const;
  void afterRemoval();
  void redrawnTexts();
  std::vector<int> reorder(const std::vector<int>& rows, int target);

  FileSystem& files_;
  UploadQueueHost& host_;
  std::vector<UploadJob> jobs_;
  std::map<std::uint16_t, PendingFolder> pending_;
  std::uint16_t lastKey_ = 0;
  std::uint16_t lastPending_ = 0;
  std::int64_t doneBytes_ = 0;
  std::int64_t doneAtRefresh_ = 0;
  bool sortReversed_ = false;
};

}  // namespace pom
