#include "core/transfer/upload_job.h"

namespace pom {

const char* uploadStateText(UploadState state) {
  switch (state) {
    case UploadState::Idle:
      return "";
    case UploadState::Stopped:
      return "중지";
    case UploadState::Cancelled:
      return "취소";
    case UploadState::Completed:
      return "완료";
    case UploadState::Failed:
      return "실패";
    case UploadState::Waiting:
    case UploadState::Connecting:
    case UploadState::Announced:
      return "대기";
    case UploadState::Sending:
      return "전송";
  }
  return "";
}

void resetUploadJob(UploadJob& job, UploadState state) {
  job.slot = -1;
  job.serverFileId = -1;
  job.state = state;
  job.chunkSize = 0;
  job.sentAtTick = 0;
  job.smoothedKB = 0;
  job.ticketPending = false;
  job.shownState = uploadStateText(state);
}

}  // namespace pom
