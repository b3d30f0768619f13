// TransferJob: one download as the queue holds it, with its state and the
// texts the list shows for it.
//
// A plain record copied by value when the queue is reordered (and by the
// peer sources later): it holds no handle. The open local file belongs to
// the engine of the job's slot while the job transfers. Loop thread only.
#pragma once

#include <cstdint>
#include <string>

namespace pom {

enum class JobState : std::int32_t {
  Idle = 0,
  Stopped = 1,
  Cancelled = 2,
  Completed = 3,
  Unavailable = 4,
  Waiting = 5,
  Requesting = 6,
  Transferring = 7,
};

// The state column's text; a refusal found at run time says why, one shown
// when the list is redrawn says only that the file is gone.
const char* stateText(JobState state, bool redrawn = true);
inline constexpr char kRefusedAtRunTimeText[] = "저작권 위배 또는 복구 중 파일";

struct TransferJob {
  std::int32_t slot = -1;
  std::int32_t fileId = -1;
  std::string name;  // as the caller gave it; the list shows its base name
  std::string serverPath;
  std::string storagePath;
  JobState state = JobState::Idle;
  std::int64_t totalSize = 0;
  std::int64_t received = 0;  // bytes in the local file
  std::int64_t receivedAtTick = 0;
  std::uint32_t smoothedKB = 0;
  std::string subFolder;  // below the download folder; empty: the folder itself

  // Fixed when the job is first bound to a slot, so that a later change of
  // the download folder never splits one file over two folders.
  std::string folder;
  std::string localPath;
  // The state text as last set (the run-time refusal text differs from the
  // redrawn one).
  std::string shownState;
  // The speed and percentage as last shown (-1: nothing shown yet).
  double speedMbps = -1.0;
  int percent = -1;
  // Tick of the job's last speed update.
  std::uint32_t speedTick = 0;
  // Automatic restarts after dropped data connections without progress, and
  // whether the job waits before the scheduler may take it again.
  int autoRetries = 0;
  bool held = false;

  bool active() const {
    return state == JobState::Stopped || state == JobState::Unavailable ||
           state == JobState::Waiting || state == JobState::Requesting ||
           state == JobState::Transferring;
  }
  bool bound() const { return state == JobState::Requesting || state == JobState::Transferring; }
};

// The reset of a job into one of the states 0 to 5: no slot, the new state,
// the speed measure cleared. The slot itself is released by the queue.
void resetJob(TransferJob& job, JobState state);

}  // namespace pom
