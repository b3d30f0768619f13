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
// the session) is its host's, which owns the engines. The list itself
// (moves, sort, totals) is JobList's, shared with the download queue. Rows
// are the jobs' positions. Owned by the upload window; the file system and the host must
// outlive it. Loop thread only.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/transfer/job_list.h"
#include "core/transfer/upload_job.h"

namespace pom {

class FileSystem;

// What the shared list needs of an upload job.
struct UploadJobTraits {
  using Job = UploadJob;
  using State = UploadState;
  static constexpr UploadState kMoving = UploadState::Sending;
  static constexpr UploadState kCompleted = UploadState::Completed;
  static constexpr std::string UploadJob::*kName = &UploadJob::localPath;
  static constexpr std::int64_t UploadJob::*kDone = &UploadJob::sent;
  static constexpr bool kSwapsRedraw = true;
  // The reason of a failure stays with the job.
  static const char* plainText(UploadState state) { return uploadStateText(state); }
  static void reset(UploadJob& job, UploadState state) { resetUploadJob(job, state); }
};

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

class UploadQueue final : public JobList<UploadJobTraits> {
 public:
  static constexpr int kSlots = 3;

  UploadQueue(FileSystem& files, UploadQueueHost& host);

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

  // Removes the rows, keeping every job that sends (state 9); a job that
  // holds a slot otherwise is stopped first.
  void removeRows(const std::vector<int>& rows);
  // "완료된파일삭제": every job in state 3.
  void removeCompleted();
  // Cancel / restart of one job.
  void toggleCancel(int index);
  // The new limit (1..3; others become 1): jobs on slots at or above it are
  // stopped.
  void setMaxConcurrent(int limit);
  // Empties the queue and the pending folders (the window is destroyed);
  // the host has ended the wire side already. Done bytes are the bytes the
  // service holds.
  void clear() {
    pending_.clear();
    JobList::clear();
  }

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

 private:
  std::uint16_t freshKey();

  FileSystem& files_;
  UploadQueueHost& host_;
  std::map<std::uint16_t, PendingFolder> pending_;
  std::uint16_t lastKey_ = 0;
  std::uint16_t lastPending_ = 0;
};

}  // namespace pom
