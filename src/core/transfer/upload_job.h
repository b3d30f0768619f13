// UploadJob: one local file on its way to a web folder, as the upload queue
// holds it, with its state and the texts the list shows for it.
//
// A plain record copied by value when the queue is reordered: it holds no
// handle. The open local file belongs to the upload engine of the job's slot
// while the job sends. Loop thread only.
#pragma once

#include <cstdint>
#include <string>

#include "core/net/messages/upload_messages.h"

namespace pom {

enum class UploadState : std::int32_t {
  Idle = 0,
  Stopped = 1,
  Cancelled = 2,
  Completed = 3,
  Failed = 4,
  Waiting = 5,
  Connecting = 6,  // ticket granted, upload session connecting
  Announced = 8,   // session up, UploadRequest sent
  Sending = 9,
};

// The state column's text as a full redraw writes it ("대기" for 6 and 8).
const char* uploadStateText(UploadState state);

struct UploadJob {
  std::int32_t slot = -1;
  std::string subFolder;  // folder text sent to the service (at most 99 bytes)
  std::string localPath;
  SampleDigest sampleDigest{};
  std::int32_t folderId = -1;  // 0 or below is sent as 2
  std::int32_t serverFileId = -1;
  UploadState state = UploadState::Idle;
  std::int64_t totalSize = 0;
  std::int64_t sent = 0;  // bytes the service holds
  std::int64_t sentAtTick = 0;
  std::uint32_t smoothedKB = 0;
  std::int32_t chunkSize = 0;

  // The number the ticket request carries and the ticket echoes: unique
  // among the queued jobs and kept when rows move, so a reply always finds
  // the job it was asked for. Never 0.
  std::uint16_t ticketKey = 0;
  // A ticket was asked for and not yet answered (the job keeps state 5 or 1
  // with its slot meanwhile).
  bool ticketPending = false;
  // The state text as last set; the reason of a failure, for the member
  // (empty when none was given).
  std::string shownState;
  std::string failure;
  // The speed and percentage as last shown (-1: nothing shown yet), and the
  // tick of the last speed update.
  double speedMbps = -1.0;
  int percent = -1;
  std::uint32_t speedTick = 0;

  // The job holds a slot (ticket pending, connecting, announced, sending).
  bool bound() const { return slot >= 0; }
  // Counts against the completion actions and the close question.
  bool active() const {
    return state == UploadState::Stopped || state == UploadState::Failed ||
           state == UploadState::Waiting || state == UploadState::Connecting ||
           state == UploadState::Announced || state == UploadState::Sending;
  }
};

// The reset of a job into a new state: no slot, no server file id, no chunk
// size, the speed measure cleared, the state's text shown. Closing the file
// is the engine's (it owns it).
void resetUploadJob(UploadJob& job, UploadState state);

}  // namespace pom
