#include "core/transfer/download_window.h"

#include <algorithm>

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

int concurrencyFrom(int value) {
  return value >= 1 && value <= TransferSlotPool::kSlots ? value : 1;
}

}  // namespace

DownloadWindow::DownloadWindow(Deps deps)
    : deps_(std::move(deps)), queue_(*deps_.files, *deps_.pool, *this) {
  DownloadEngineHost& host = *this;
  for (int slot = 0; slot < TransferSlotPool::kSlots; ++slot) {
    engines_[static_cast<std::size_t>(slot)] =
        std::make_unique<DownloadEngine>(slot, (*deps_.sessions)[slot], host);
  }
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

void DownloadWindow::attachView(TransferWindowView* view) {
  view_ = view;
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
  created_ = true;
  queue_.maxConcurrent = concurrencyFrom(deps_.config->readInt(ConfigKey::DownLoadCount));
  closeWhenDone_ = deps_.config->readBool(ConfigKey::DownLoadWindowClose);
  powerOffWhenDone_ = false;
  display_.reset(now());
  timers_[0] = deps_.loop->startTimer(kDisplayTimerMs, [this] { refreshDisplay(); });
  timers_[1] = deps_.loop->startTimer(kWatchdogTimerMs, [this] { deps_.peers->watchdog(); });
  timers_[2] = deps_.loop->startTimer(kStartTimerMs, [this] { startTick(); });
}

void DownloadWindow::open() {
  if (!created_) create();
  if (view_ == nullptr) return;
  view_->open();
  view_->setConcurrency(queue_.maxConcurrent);
  view_->setCheckBox(TransferCheckBox::CloseWhenDone, closeWhenDone_);
  view_->setCheckBox(TransferCheckBox::PowerOffWhenDone, powerOffWhenDone_);
  view_->setRunning(queue_.running);
  view_->setRowCount(queue_.size());
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
                         const std::string& subFolder) {
  if (!queue_.add(fileId, name, size, subFolder)) return false;
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

void DownloadWindow::setMaxConcurrent(int limit) {
  queue_.setMaxConcurrent(limit);
  deps_.config->writeInt(ConfigKey::DownLoadCount, queue_.maxConcurrent);
  if (view_ != nullptr) view_->setConcurrency(queue_.maxConcurrent);
  redrawAll();
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

void DownloadWindow::completionActions() {
  if (powerOffWhenDone_) {
    // Nothing else: a refused attempt is repeated at the next tick.
    deps_.shell->powerOff();
    return;
  }
  deps_.config->writeBool(ConfigKey::DownLoadWindowClose, closeWhenDone_);
  queue_.running = false;
  // Without a window there is nothing to close (the headless front end
  // reads the finished queue).
  if (closeWhenDone_ && view_ != nullptr) {
    destroyWindow();
    return;
  }
  showRunning();
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

void DownloadWindow::refreshDisplay() {
  if (view_ != nullptr && !view_->isVisible()) return;
  const std::uint32_t tick = now();
  const std::int64_t progressKB = (queue_.doneBytes() - queue_.doneAtRefresh()) / 1024;
  queue_.recomputeDone();
  for (int i = 0; i < queue_.size(); ++i) {
    TransferJob& job = queue_.job(i);
    if (job.state != JobState::Transferring) continue;
    const std::uint32_t since = tick - job.speedTick;
    if (since < 1000) continue;
    speedUpdate(job, since);
    job.speedTick = tick;
  }
  if (display_.refresh(tick, progressKB, queue_.queuedBytes(), queue_.doneBytes())) {
    queue_.setDoneAtRefresh(queue_.doneBytes());
  }
  if (view_ == nullptr) return;
  view_->setTotals(display_.totals(), display_.bar());
  if (queue_.size() > 0) view_->redrawRows(0, queue_.size() - 1);
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
  // The row two below comes into view, so the member sees what runs next.
  if (view_ != nullptr) view_->ensureVisible(std::min(index + 2, queue_.size() - 1));
}

void DownloadWindow::jobFailed(int index) {
  jobChanged(index);
  deps_.dialogs->show(kBadNameText, "Error", MessageIcon::Error, DialogOwner::DownloadWindow);
}

// --- DownloadEngineHost ----------------------------------------------------

void DownloadWindow::jobChanged(int index) {
  if (view_ != nullptr && index >= 0 && index < queue_.size()) view_->redrawRows(index, index);
}

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

void DownloadWindow::stopAll() {
  queue_.stopAll();
  redrawAll();
  showRunning();
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

std::vector<int> DownloadWindow::selected() const {
  if (view_ == nullptr) return {};
  std::vector<int> rows = view_->selectedRows();
  std::sort(rows.begin(), rows.end());
  return rows;
}

int DownloadWindow::firstSelected() const {
  const std::vector<int> rows = selected();
  return rows.empty() ? -1 : rows.front();
}

void DownloadWindow::select(const std::vector<int>& rows) {
  if (view_ != nullptr) view_->selectRows(rows);
}

void DownloadWindow::redrawAll() {
  if (view_ != nullptr) view_->setRowCount(queue_.size());
}

void DownloadWindow::showRunning() {
  if (view_ != nullptr) view_->setRunning(queue_.running);
}

void DownloadWindow::onAction(TransferAction action) {
  switch (action) {
    case TransferAction::PlayerPage:
      openPlayerPage();
      break;
    case TransferAction::MoveUp:
    case TransferAction::MoveDown:
    case TransferAction::MoveTop:
    case TransferAction::MoveEnd: {
      const std::vector<int> rows = selected();
      std::vector<int> now;
      if (action == TransferAction::MoveUp) now = queue_.moveUp(rows);
      if (action == TransferAction::MoveDown) now = queue_.moveDown(rows);
      if (action == TransferAction::MoveTop) now = queue_.moveTop(rows);
      if (action == TransferAction::MoveEnd) now = queue_.moveEnd(rows);
      redrawAll();
      select(now);
      break;
    }
    case TransferAction::SelectAll: {
      std::vector<int> all(static_cast<std::size_t>(queue_.size()));
      for (int i = 0; i < queue_.size(); ++i) all[static_cast<std::size_t>(i)] = i;
      select(all);
      break;
    }
    case TransferAction::DeleteSelected:
      queue_.removeRows(selected());
      redrawAll();
      select({});
      break;
    case TransferAction::RemoveCompleted:
      queue_.removeCompleted();
      redrawAll();
      break;
    case TransferAction::OpenSelected:
      openSelected(firstSelected());
      break;
    case TransferAction::OpenFolder:
      deps_.shell->execute("open", "explorer.exe", downloadFolder(), ShowMode::Normal);
      break;
    case TransferAction::ChooseFolder:
      chooseFolder();
      break;
    case TransferAction::Start:
      start();
      break;
    case TransferAction::Stop:
      confirmStop();
      break;
    case TransferAction::ToggleCancel: {
      const int index = firstSelected();
      queue_.toggleCancel(index);
      jobChanged(index);
      showRunning();
      break;
    }
    case TransferAction::StopSelected: {
      const int index = firstSelected();
      if (index >= 0) queue_.stopJob(index, true);
      jobChanged(index);
      break;
    }
    case TransferAction::AddFiles:
    case TransferAction::AddFolder:
      break;  // the upload window's
  }
}

void DownloadWindow::onMenuCommand(TransferMenuCommand command) {
  switch (command) {
    case TransferMenuCommand::Play:
      onAction(TransferAction::OpenSelected);
      break;
    case TransferMenuCommand::Top:
      onAction(TransferAction::MoveTop);
      break;
    case TransferMenuCommand::End:
      onAction(TransferAction::MoveEnd);
      break;
    case TransferMenuCommand::SelectAll:
      onAction(TransferAction::SelectAll);
      break;
    case TransferMenuCommand::DeleteSelected:
      onAction(TransferAction::DeleteSelected);
      break;
    case TransferMenuCommand::RemoveCompleted:
      onAction(TransferAction::RemoveCompleted);
      break;
    case TransferMenuCommand::ToggleCancel:
      onAction(TransferAction::ToggleCancel);
      break;
    case TransferMenuCommand::None:
      break;
  }
}

void DownloadWindow::onColumnClick(int column) {
  if (queue_.sortBy(column)) redrawAll();
}

void DownloadWindow::onRowDoubleClick(int index) {
  openSelected(index);
}

void DownloadWindow::onRowsDragged(int target) {
  const std::vector<int> now = queue_.moveBefore(selected(), target);
  redrawAll();
  select(now);
}

void DownloadWindow::onConcurrencyChosen(int entry) {
  setMaxConcurrent(entry + 1);
}

void DownloadWindow::onCheckBox(TransferCheckBox box, bool checked) {
  if (box == TransferCheckBox::CloseWhenDone) closeWhenDone_ = checked;
  if (box == TransferCheckBox::PowerOffWhenDone) powerOffWhenDone_ = checked;
}

void DownloadWindow::onCloseRequested() {
  if (queue_.anyActive() &&
      deps_.dialogs->show(kCloseText, "Pomvale", MessageIcon::Warning, DialogOwner::DownloadWindow,
                          MessageButtons::OkCancel) != MessageAnswer::Ok) {
    return;
  }
  destroyWindow();
}

void DownloadWindow::confirmStop() {
  if (!queue_.running) return;
  if (deps_.dialogs->show(kTransferStopText, "Pomvale", MessageIcon::Warning,
                          DialogOwner::DownloadWindow,
                          MessageButtons::OkCancel) != MessageAnswer::Ok) {
    return;
  }
  stopAll();
}

void DownloadWindow::openPlayerPage() {
  deps_.shell->execute("open", "IEXPLORE.EXE", playerPageUrl(*deps_.servers), ShowMode::Maximized);
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
