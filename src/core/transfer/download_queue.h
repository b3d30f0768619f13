// DownloadQueue: the ordered download jobs behind the download window, the
// scheduling rule that binds them to the three transfer slots, the member's
// commands on the list and the window's byte totals.
//
// The queue decides; what it decides reaches the world through its host:
// the host sends the ticket request of a freshly bound job, tears down the
// data (and later peer) connection of a job that is stopped, and shows what
// the member must see. Every job that leaves the states 6 and 7 gives its
// slot back to the pool here, exactly once (resetTo), so no path can leak a
// slot or free one that another job took meanwhile.
//
// The list itself (moves, sort, totals) is JobList's, shared with the
// upload queue. Rows are the jobs' positions. Owned by the download window; the file
// system, the pool and the host must outlive it. Loop thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/transfer/job_list.h"
#include "core/transfer/transfer_job.h"
#include "core/transfer/transfer_slot_pool.h"

namespace pom {

class FileSystem;

// What the shared list needs of a download job.
struct DownloadJobTraits {
  using Job = TransferJob;
  using State = JobState;
  static constexpr JobState kMoving = JobState::Transferring;
  static constexpr JobState kCompleted = JobState::Completed;
  static constexpr std::string TransferJob::*kName = &TransferJob::name;
  static constexpr std::int64_t TransferJob::*kDone = &TransferJob::received;
  // Moving a row up or down keeps the texts as last set.
  static constexpr bool kSwapsRedraw = false;
  static const char* plainText(JobState state) { return stateText(state); }
  static void reset(TransferJob& job, JobState state) { resetJob(job, state); }
};

class DownloadQueueHost {
 public:
  virtual ~DownloadQueueHost() = default;
  // The download folder for jobs bound from now on.
  virtual std::string downloadFolder() = 0;
  // A job was bound to its slot (state 6): send its ticket request.
  virtual void ticketWanted(const TransferJob& job) = 0;
  // The job on slot is being stopped: close its connections (peer and data)
  // and, when one was open, send TransferEnded after the short pause.
  // dropSource: forget the file's peer-source record too.
  virtual void stopTransfer(int slot, std::int32_t fileId, bool dropSource) = 0;
  // The job's peer-source record is no longer needed (the job was removed).
  virtual void dropSource(std::int32_t fileId) = 0;
  // The job at index turned out complete on disk while being scheduled.
  virtual void completedOnDisk(int index) = 0;
  // The job at index cannot be downloaded (its name cannot be a local file).
  virtual void jobFailed(int index) = 0;
};

class DownloadQueue final : public JobList<DownloadJobTraits> {
 public:
  DownloadQueue(FileSystem& files, TransferSlotPool& pool, DownloadQueueHost& host);

  // Appends a waiting job unless one with the same local path (letter case
  // ignored) is queued; true when it was added. The job goes into `folder`
  // (an absolute local folder; empty: the download folder when it starts),
  // or into subFolder below it.
  bool add(std::int32_t fileId, const std::string& name, std::int64_t totalSize,
           const std::string& subFolder, const std::string& folder = std::string());

  // The scheduling rule: at most one job is bound per call; the lowest free
  // slot is used, and only while it is below maxConcurrent.
  bool startNext();

  // Index of the job on slot (state 6 or 7) / of the file; -1 when none.
  int jobForSlot(int slot) const;
  int indexOfFile(std::int32_t fileId) const;
  int slotOfFile(std::int32_t fileId) const;
  void setTicket(std::int32_t fileId, const std::string& serverPath,
                 const std::string& storagePathA, const std::string& storagePathB);

  // Moves a job into one of the states 0 to 5, releasing its slot.
  void resetTo(int index, JobState state, bool redrawnText = true);
  // Stops the job at index (state 6 or 7) into state 1.
  void stopJob(int index, bool dropSource);
  void stopAll();

  // Removes the rows, keeping every job that transfers (state 7).
  void removeRows(const std::vector<int>& rows);
  void removeCompleted();
  // Cancel / restart of one job.
  void toggleCancel(int index);
  // The new limit (1..3): jobs on slots at or above it are stopped.
  void setMaxConcurrent(int limit);
  // Where the job's file goes, fixed at its first binding: a local file
  // larger than the job's size is never reused, the job moves on to the next
  // free "name (n).ext". Refreshes received from the disk (0 when missing).
  // False when the name cannot be made a local path.
  bool bindLocalPath(TransferJob& job);

 private:
  std::string keyOf(const std::string& folder, const std::string& subFolder,
                    const std::string& name) const;

  FileSystem& files_;
  TransferSlotPool& pool_;
  DownloadQueueHost& host_;
};

}  // namespace pom
