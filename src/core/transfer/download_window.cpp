#include "core/transfer/download_window.h"

#include "core/base/config_keys.h"
#include "core/base/local_path.h"
#include "core/base/servers.h"
#include "core/base/text_utils.h"
#include "core/base/web_addresses.h"
#include "core/hub/local_browser_link.h"
#include "core/hub/main_window_link.h"
#include "core/hub/session_link.h"
#include "core/net/messages/requests.h"
#include "core/ports/clock.h"
#include "core/ports/dialogs.h"
#include "core/ports/registry.h"
#include "core/ports/shell.h"
#include "core/transfer/session_slots.h"
#include "core/transfer/transfer_texts.h"

namespace pom {
namespace {

constexpr char kRestartText[] = "다운로드을 다시 시작하여주세요.     ";
constexpr char kUnexpectedText[] = "예상치 못한 오류 고객센터에 문의해주세요!     ";
constexpr char kBadNameText[] = "파일 이름을 내려받을 폴더에 만들 수 없습니다.     ";
constexpr char kCloseText[] =
    "다운로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ";
constexpr char kNoPlayerText[] = "실시간 감상은 웬플레이어를 설치하셔야 합니다.     ";
constexpr char kPlayerKey[] = "Software\\MARBLECRANE";

}  // namespace

DownloadWindow::DownloadWindow(Deps deps)
    : TransferWindowBase(
          Setup::of(deps, DialogOwner::DownloadWindow, kCloseText, ConfigKey::DownLoadCount,
                    ConfigKey::DownLoadWindowClose, TransferSlotPool::kSlots),
          *deps.files, *deps.pool, static_cast<DownloadQueueHost&>(*this)),
      deps_(std::move(deps)) {
  makeEngines(engines_, *deps_.sessions, static_cast<DownloadEngineHost&>(*this));
}

DownloadWindow::~DownloadWindow() {
  stopTimers();
  for (EventLoop::TimerId id : delayed_) deps_.loop->stopTimer(id);
  delayed_.clear();
}

void DownloadWindow::detachSessions() {
  stopTimers();
  for (auto& engine : engines_) engine->detach();
}

std::uint32_t DownloadWindow::now() {
  return deps_.clock->tickCount();
}

void DownloadWindow::after(std::uint32_t delayMs, EventLoop::Callback callback) {
  // The id is known only once the call is posted; the callback forgets it.
  auto id = std::make_shared<EventLoop::TimerId>(0);
  *id = deps_.loop->postDelayed(delayMs, [this, id, callback = std::move(callback)] {
    delayed_.erase(*id);
    callback();
  });
  delayed_.insert(*id);
}

// --- the window ------------------------------------------------------------

void DownloadWindow::create() {
  createChoices();
  timers_[0] = deps_.loop->startTimer(kDisplayTimerMs, [this] { refreshDisplay(); });
  timers_[1] = deps_.loop->startTimer(kWatchdogTimerMs, [this] { deps_.peers->watchdog(); });
  timers_[2] = deps_.loop->startTimer(kStartTimerMs, [this] { startTick(); });
}

void DownloadWindow::stopTimers() {
  for (EventLoop::TimerId& id : timers_) {
    if (id != 0) deps_.loop->stopTimer(id);
    id = 0;
  }
}

void DownloadWindow::destroyWindow() {
  stopTimers();
  for (auto& engine : engines_) engine->abort();
  deps_.peers->closeAll();
  deps_.pool->reset();
  queue_.clear();
  display_.reset(now());
  created_ = false;
  if (view_ != nullptr) view_->close();
}

bool DownloadWindow::add(std::int32_t fileId, const std::string& name, std::int64_t size,
                         const std::string& subFolder, const std::string& folder) {
  if (!queue_.add(fileId, name, size, subFolder, folder)) return false;
  if (view_ != nullptr) view_->setRowCount(queue_.size());
  return true;
}

void DownloadWindow::autoStart() {
  if (deps_.config->readInt(ConfigKey::AotoDownLoad) == 0 || queue_.running) return;
  start();
}

void DownloadWindow::start() {
  if (folderOverride_.empty()) deps_.mainWindow->ensureDownloadFolder();
  // The member's start also frees the jobs that wait for the member after a
  // failure.
  for (int i = 0; i < queue_.size(); ++i) {
    TransferJob& job = queue_.job(i);
    job.held = false;
    job.autoRetries = 0;
  }
  queue_.running = true;
  showRunning();
}

std::string DownloadWindow::localPathOf(const TransferJob& job) {
  if (!job.localPath.empty()) return job.localPath;
  const std::string folder = job.folder.empty() ? downloadFolder() : job.folder;
  return downloadPath(folder, job.subFolder, baseName(job.name)).value_or("");
}

// --- timers ----------------------------------------------------------------

void DownloadWindow::startTick() {
  if (!queue_.running || !deps_.pool->anyFree()) return;
  // TransferEnded of an ended transfer goes out before the next ticket is
  // asked for, as it did when the pause blocked.
  if (endsPending_ > 0) return;
  const bool started = queue_.startNext();
  redrawAll();
  if (!started && !queue_.anyActive()) completionActions();
}

void DownloadWindow::speedUpdate(TransferJob& job, std::uint32_t elapsedMs) {
  if (elapsedMs == 0) elapsedMs = 1;
  const std::uint64_t deltaKB =
      job.received > job.receivedAtTick
          ? static_cast<std::uint64_t>(job.received - job.receivedAtTick) >> 10
          : 0;
  job.receivedAtTick = job.received;
  if (deltaKB == 0) return;
  const auto smoothed = static_cast<std::uint32_t>((deltaKB + job.smoothedKB) / 2);
  job.speedMbps = static_cast<double>(smoothed) * 8.0 / elapsedMs;
  deps_.peers->speedSample(job.fileId, job.speedMbps);
  job.smoothedKB = smoothed;
  if (job.received >= 1024) job.percent = transferPercent(job.received, job.totalSize);
}

// --- tickets ---------------------------------------------------------------

int DownloadWindow::requestingJob(std::int32_t fileId) const {
  const auto& jobs = queue_.jobs();
  for (int i = 0; i < static_cast<int>(jobs.size()); ++i) {
    if (jobs[static_cast<std::size_t>(i)].fileId == fileId &&
        jobs[static_cast<std::size_t>(i)].state == JobState::Requesting) {
      return i;
    }
  }
  return -1;
}

void DownloadWindow::onTicket(const DownloadTicket& ticket) {
  if (ticket.result == DownloadTicket::Result::PaymentNeeded) {
    stopAll();
    const SessionState& member = deps_.session->state();
    deps_.shell->execute("open", "IEXPLORE.EXE",
                         paymentUrl(*deps_.servers, member.memberId, deps_.session->webToken()),
                         ShowMode::Maximized);
    queue_.clear();
    for (auto& engine : engines_) engine->abort();
    deps_.sessions->resetAll();
    destroyWindow();
    return;
  }
  // A ticket for a job that was stopped or removed meanwhile is stale: that
  // job no longer holds a slot.
  const int index = requestingJob(ticket.fileId);
  if (index < 0) return;
  switch (ticket.result) {
    case DownloadTicket::Result::Go: {
      deps_.session->state().flatRate = ticket.flatRate;
      queue_.setTicket(ticket.fileId, ticket.serverPath, ticket.storagePathHead,
                       ticket.storagePathTail);
      const TransferJob& job = queue_.job(index);
      if (deps_.peers->startForTicket(ticket, job)) return;
      if (job.slot < 0 || !engine(job.slot).connect(ticket.storageHost, deps_.downloadPort)) {
        holdJob(index);
        deps_.dialogs->show(kRestartText, "Error", MessageIcon::Error, DialogOwner::DownloadWindow);
      }
      break;
    }
    case DownloadTicket::Result::Unavailable: {
      const TransferJob& job = queue_.job(index);
      if (job.slot >= 0) engine(job.slot).abort();
      queue_.resetTo(index, JobState::Unavailable, false);
      jobChanged(index);
      break;
    }
    default:
      holdJob(index);
      deps_.dialogs->show(kUnexpectedText, "Error", MessageIcon::Error,
                          DialogOwner::DownloadWindow);
      break;
  }
}

// --- DownloadQueueHost -----------------------------------------------------

std::string DownloadWindow::downloadFolder() {
  return folderOverride_.empty() ? deps_.mainWindow->ensureDownloadFolder() : folderOverride_;
}

void DownloadWindow::ticketWanted(const TransferJob& job) {
  DownloadTicketRequest request;
  request.fileId = job.fileId;
  request.missingBytes = job.totalSize - job.received;
  deps_.session->send(request.encode());
}

void DownloadWindow::stopTransfer(int slot, std::int32_t fileId, bool dropSource) {
  if (slot < 0 || slot >= TransferSlotPool::kSlots) return;
  const bool peerOpen = deps_.peers->closeSlot(slot, fileId);
  DownloadEngine& data = engine(slot);
  const bool dataOpen = data.transferOpen();
  data.abort();
  if (peerOpen && !dataOpen) transferEnded();
  if ((peerOpen || dataOpen) && dropSource) deps_.peers->dropSource(fileId);
}

void DownloadWindow::dropSource(std::int32_t fileId) {
  deps_.peers->dropSource(fileId);
}

void DownloadWindow::completedOnDisk(int index) {
  showNextAfter(index);
}

void DownloadWindow::jobFailed(int index) {
  jobChanged(index);
  deps_.dialogs->show(kBadNameText, "Error", MessageIcon::Error, DialogOwner::DownloadWindow);
}

// --- DownloadEngineHost ----------------------------------------------------

void DownloadWindow::jobCompleted(int index) {
  speedUpdate(queue_.job(index), 1000);
  completedOnDisk(index);
}

void DownloadWindow::transferEnded() {
  ++endsPending_;
  after(kTransferEndedDelayMs, [this] {
    --endsPending_;
    deps_.session->send(TransferEnded().encode());
  });
}

void DownloadWindow::connectionDropped(int index) {
  TransferJob& job = queue_.job(index);
  const std::int32_t fileId = job.fileId;
  const bool retry = job.autoRetries < kAutoRetries;
  queue_.resetTo(index, JobState::Stopped);
  job.held = true;
  if (retry) {
    ++job.autoRetries;
    ++retriesPending_;
    after(kRetryDelayMs, [this, fileId] {
      --retriesPending_;
      const int at = queue_.indexOfFile(fileId);
      if (at >= 0) queue_.job(at).held = false;
    });
  }
  jobChanged(index);
}

void DownloadWindow::holdJob(int index) {
  queue_.resetTo(index, JobState::Stopped);
  queue_.job(index).held = true;
  jobChanged(index);
}

// --- PeerTransferHost ------------------------------------------------------

bool DownloadWindow::openJobFile(int slot) {
  return slot >= 0 && slot < TransferSlotPool::kSlots && engine(slot).openJobFile();
}

WriteOutcome DownloadWindow::writeBytes(int slot, const std::uint8_t* data, std::size_t size) {
  if (slot < 0 || slot >= TransferSlotPool::kSlots) return WriteOutcome::NoJob;
  return engine(slot).writeBytes(data, size);
}

void DownloadWindow::fallBackToServer(int slot, const std::string& storageHost) {
  if (slot < 0 || slot >= TransferSlotPool::kSlots) return;
  const int index = queue_.jobForSlot(slot);
  if (index < 0) return;
  TransferJob& job = queue_.job(index);
  if (job.received >= job.totalSize) return;
  job.state = JobState::Requesting;
  jobChanged(index);
  if (!engine(slot).connect(storageHost, deps_.downloadPort)) {
    holdJob(index);
    deps_.dialogs->show(kRestartText, "Error", MessageIcon::Error, DialogOwner::DownloadWindow);
  }
}

std::int64_t DownloadWindow::jobReceived(int slot) {
  if (slot < 0 || slot >= TransferSlotPool::kSlots) return -1;
  const int index = queue_.jobForSlot(slot);
  return index < 0 ? -1 : queue_.job(index).received;
}

void DownloadWindow::releaseJobFile(int slot) {
  if (slot < 0 || slot >= TransferSlotPool::kSlots) return;
  const int index = queue_.jobForSlot(slot);
  if (index < 0) return;
  // No storage-server transfer is open on a slot that peers serve: this
  // closes only the file.
  engine(slot).abort();
  queue_.job(index).state = JobState::Requesting;
  jobChanged(index);
}

// --- the member ------------------------------------------------------------

TransferRow DownloadWindow::row(int index) const {
  const TransferJob& job = queue_.jobs()[static_cast<std::size_t>(index)];
  return transferRow(job.name, job.totalSize, job.received, job.speedMbps, job.shownState,
                     static_cast<int>(job.state));
}

void DownloadWindow::onOwnAction(TransferAction action) {
  switch (action) {
    case TransferAction::OpenSelected:
      openSelected(firstSelected());
      break;
    case TransferAction::OpenFolder:
      deps_.shell->execute("open", "explorer.exe", downloadFolder(), ShowMode::Normal);
      break;
    case TransferAction::ChooseFolder:
      chooseFolder();
      break;
    case TransferAction::StopSelected: {
      const int index = firstSelected();
      if (index >= 0) queue_.stopJob(index, true);
      jobChanged(index);
      break;
    }
    default:
      break;  // the shared actions, and the upload window's
  }
}

void DownloadWindow::onRowDoubleClick(int index) {
  openSelected(index);
}

void DownloadWindow::openSelected(int index) {
  if (index < 0 || index >= queue_.size()) return;
  const TransferJob& job = queue_.job(index);
  const std::string path = localPathOf(job);
  if (path.empty()) return;
  if (!isMediaName(baseName(job.name))) {
    deps_.shell->execute("open", path, "", ShowMode::Normal);
    return;
  }
  std::string folder;
  if (!deps_.registry->readString(kPlayerKey, "DIR", "", kRegistryTextBuffer, folder) ||
      folder.empty()) {
    deps_.dialogs->show(kNoPlayerText, "알림", MessageIcon::Warning, DialogOwner::DownloadWindow);
    openPlayerPage();
    return;
  }
  // The path is one quoted argument; a quote inside it could end the
  // argument early and smuggle in others, so such a path is not passed on.
  if (path.find('"') != std::string::npos) return;
  deps_.shell->execute("open", folder + "\\Player.exe", "\"" + path + "\"", ShowMode::Normal);
}

void DownloadWindow::chooseFolder() {
  std::string path;
  if (!deps_.dialogs->pickFolder(DialogOwner::DownloadWindow, "디렉토리를 선택하세요", path)) {
    return;
  }
  deps_.config->writeText(ConfigKey::BasicFolder, path);
  folderOverride_.clear();
  if (deps_.local != nullptr) deps_.local->pointTreeAt(path);
}

}  // namespace pom
