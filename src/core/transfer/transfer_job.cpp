#include "core/transfer/transfer_job.h"

namespace pom {

const char* stateText(JobState state, bool redrawn) {
  switch (state) {
    case JobState::Idle:
      return "";
    case JobState::Stopped:
      return "중지";
    case JobState::Cancelled:
      return "취소";
    case JobState::Completed:
      return "완료";
    case JobState::Unavailable:
      return redrawn ? "삭제된파일" : kRefusedAtRunTimeText;
    case JobState::Waiting:
      return "대기";
    case JobState::Requesting:
      return "전송대기";
    case JobState::Transferring:
      return "전송";
  }
  return "";
}

void resetJob(TransferJob& job, JobState state) {
  job.slot = -1;
  job.state = state;
  job.receivedAtTick = 0;
  job.smoothedKB = 0;
  job.shownState = stateText(state, true);
}

}  // namespace pom
