#include "core/transfer/upload_window.h"

#include <algorithm>

#include "core/base/config_keys.h"
#include "core/base/text_utils.h"
#include "core/hub/session_link.h"
#include "core/hub/storage_link.h"
#include "core/hub/transfer_links.h"
#include "core/net/messages/requests.h"
#include "core/ports/clock.h"
#include "core/ports/dialogs.h"
#include "core/ports/file_system.h"
#include "core/ports/shell.h"
#include "core/transfer/session_slots.h"
#include "core/transfer/transfer_texts.h"
#include "core/transfer/upload_rules.h"

namespace pom {
namespace {

constexpr char kCloseText[] =
    "업로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ";
// The file picker's filter: description and pattern, each ending in a zero.
constexpr char kAllFilesFilter[] = "모든 파일(*.*)\0*.*\0";
constexpr char kFolderTitle[] = "디렉토리를 선택하세요";
// The folder text field of the ticket and the request holds 99 bytes.
constexpr std::size_t kSubFolderBytes = 99;

// The name the service files the upload under: the last component with
// ' , ; sent as '!' (the request's field cuts it at a character boundary).
std::string uploadName(const std::string& localPath) {
  std::string name = baseName(localPath);
  sanitise(name);
  return name;
}

}  // namespace

UploadWindow::UploadWindow(Deps deps)
    : TransferWindowBase(
          Setup::of(deps, DialogOwner::UploadWindow, kCloseText, ConfigKey::UpLoadCount,
                    ConfigKey::UpLoadWindowClose, UploadQueue::kSlots),
          *deps.files, static_cast<UploadQueueHost&>(*this)),
      deps_(std::move(deps)) {
  makeEngines(engines_, *deps_.sessions, static_cast<UploadEngineHost&>(*this));
}

UploadWindow::~UploadWindow() {
  if (timer_ != 0) deps_.loop->stopTimer(timer_);
  timer_ = 0;
}

void UploadWindow::detachSessions() {
  if (timer_ != 0) deps_.loop->stopTimer(timer_);
  timer_ = 0;
  for (auto& engine : engines_) engine->detach();
}

std::uint32_t UploadWindow::now() {
  return deps_.clock->tickCount();
}

// --- the window ------------------------------------------------------------

void UploadWindow::create() {
  createChoices();
  timer_ = deps_.loop->startTimer(kUploadTimerMs, [this] { tick(); });
}

void UploadWindow::destroyWindow() {
  if (timer_ != 0) deps_.loop->stopTimer(timer_);
  timer_ = 0;
  // Every session still open is cancelled and closed; the jobs go with the
  // queue.
  for (auto& engine : engines_) engine->stop();
  queue_.clear();
  display_.reset(now());
  created_ = false;
  if (view_ != nullptr) view_->close();
}

bool UploadWindow::settled() const {
  return std::all_of(engines_.begin(), engines_.end(),
                     [](const std::unique_ptr<UploadEngine>& e) { return e->idle(); });
}

bool UploadWindow::addUpload(const std::string& localPath, std::int32_t folderId,
                             const std::string& subFolder) {
  if (!queue_.add(localPath, folderId, subFolder)) return false;
  if (deps_.config->readInt(ConfigKey::AotoUpLoad) != 0) queue_.running = true;
  // The window comes up (created when closed) and takes the focus.
  open();
  return true;
}

int UploadWindow::addUploadFolder(const std::string& folderPath, std::int32_t folderId) {
  std::vector<DirectoryEntry> entries;
  if (!deps_.files->list(folderPath, entries)) return 0;
  std::string subFolder = localFolderName(folderPath);
  sanitise(subFolder);
  subFolder = cutText(subFolder, kSubFolderBytes);
  int queued = 0;
  // Only plain files directly inside; the files are read, never changed.
  for (const DirectoryEntry& entry : entries) {
    if (entry.info.isDirectory) continue;
    if (addUpload(joinLocalPath(folderPath, entry.name), folderId, subFolder)) ++queued;
  }
  return queued;
}

void UploadWindow::uploadLocalFolder(const std::string& localFolder, std::int32_t parentFolderId,
                                     bool descend) {
  CreateFolderRequest request;
  request.name = localFolderName(localFolder);  // ' , ; become '!' in the request
  request.parentId = parentFolderId;
  request.pendingIndex = queue_.addPendingFolder(localFolder, descend);
  request.sharingState = deps_.config->uploadSharingState();
  request.forUpload = true;
  deps_.session->send(request.encode());
}

void UploadWindow::onFolderCreated(const UploadFolderCreated& reply) {
  if (reply.result != UploadFolderCreated::Result::Created || reply.forUpload != 1) return;
  const std::optional<UploadQueue::PendingFolder> folder =
      queue_.takePendingFolder(reply.pendingIndex);
  if (!folder) return;  // an index never asked for, or answered already
  addUploadFolder(folder->path, reply.folderId);
  if (!folder->descend) return;
  std::vector<DirectoryEntry> entries;
  if (!deps_.files->list(folder->path, entries)) return;
  for (const DirectoryEntry& entry : entries) {
    if (entry.info.isDirectory) {
      uploadLocalFolder(joinLocalPath(folder->path, entry.name), reply.folderId, true);
    }
  }
}

void UploadWindow::start() {
  queue_.running = true;
  showRunning();
}

// --- the timer -------------------------------------------------------------

void UploadWindow::tick() {
  if (queue_.running) {
    bool tried = false;
    bool started = false;
    for (int slot = 0; slot < queue_.maxConcurrent; ++slot) {
      if (!engine(slot).idle() || queue_.jobOnSlot(slot) >= 0) continue;
      tried = true;
      started = startOn(slot) || started;
    }
    redrawAll();
    if (tried && !started && !queue_.anyActive()) completionActions();
  }
  refreshDisplay();
}

bool UploadWindow::startOn(int slot) {
  // A job whose file cannot be read fails on its own; the ones behind it
  // are tried in the same pass.
  for (int index = queue_.nextStartable(); index >= 0; index = queue_.nextStartable()) {
    UploadJob& job = queue_.job(index);
    const std::optional<SampleDigest> digest =
        sampleDigestOf(*deps_.files, *deps_.md5, job.localPath, job.totalSize);
    if (!digest) {
      failJob(index, kUploadUnreadableText);
      continue;
    }
    job.sampleDigest = *digest;
    UploadTicketRequest request;
    request.uploadRow = job.ticketKey;
    request.fileName = uploadName(job.localPath);
    request.folderId = job.folderId;  // 0 or below is sent as 2
    job.slot = slot;
    job.ticketPending = true;
    job.failure.clear();
    engine(slot).bind();
    deps_.session->send(request.encode());
    return true;
  }
  return false;
}

void UploadWindow::failJob(int index, const char* reason) {
  queue_.resetTo(index, UploadState::Failed);
  queue_.job(index).failure = reason;
  jobChanged(index);
}

void UploadWindow::speedUpdate(UploadJob& job, std::uint32_t elapsedMs) {
  if (elapsedMs == 0) elapsedMs = 1;
  const std::uint64_t deltaKB =
      job.sent > job.sentAtTick ? static_cast<std::uint64_t>(job.sent - job.sentAtTick) >> 10 : 0;
  job.sentAtTick = job.sent;
  if (deltaKB == 0) return;
  // The first measure is taken as it is; later ones move the average slowly.
  const std::uint64_t smoothed =
      job.smoothedKB == 0 ? deltaKB : (std::uint64_t{job.smoothedKB} * 49 + deltaKB) / 50;
  job.smoothedKB = static_cast<std::uint32_t>(std::min<std::uint64_t>(smoothed, 0xFFFFFFFFu));
  job.speedMbps = static_cast<double>(job.smoothedKB) * 8.0 / elapsedMs;
  job.percent = transferPercent(job.sent, job.totalSize);
}

// --- tickets ---------------------------------------------------------------

void UploadWindow::onTicket(const UploadTicket& ticket) {
  // The key names the job whatever became of its row; a reply for no job
  // that waits for one (removed, stopped, a key never sent) is dropped.
  const int index = queue_.jobForKey(ticket.uploadRow);
  if (index < 0) return;
  UploadJob& job = queue_.job(index);
  if (!job.ticketPending || job.slot < 0) return;
  job.ticketPending = false;
  const int slot = job.slot;
  const bool fromNothing = ticket.result == UploadTicket::Result::FromNothing;
  if (ticket.result != UploadTicket::Result::Go && !fromNothing) {
    engine(slot).release();
    failJob(index, kUploadRefusedText);
    return;
  }
  std::int64_t from = 0;
  if (!fromNothing) {
    const std::int64_t size = ticket.fileSize;
    const std::int64_t held = ticket.storedBytes;
    if (held < 0 || size < 0 || held > size) {
      // The service claims more than the file it names: no upload can be
      // right against that, and the slot must not wait for nothing.
      engine(slot).release();
      failJob(index, kUploadHeldMismatchText);
      return;
    }
    if (size == job.totalSize && held == job.totalSize) {
      // The service holds this very file whole: complete without a session.
      engine(slot).release();
      job.sent = job.totalSize;
      jobCompleted(index);
      queue_.resetTo(index, UploadState::Completed);
      jobChanged(index);
      return;
    }
    // Bytes held of a file of another size are not this file's: only a
    // file of the same size resumes, any other starts from byte 0.
    if (size == job.totalSize) from = held;
  }
  job.serverFileId = ticket.serverFileId;
  job.sent = from;
  job.sentAtTick = from;
  job.speedTick = now();
  job.state = UploadState::Connecting;  // the row keeps its text
  if (!engine(slot).connect(ticket.storageHost, ticket.storagePort)) {
    failJob(index, kUploadConnectText);
    deps_.dialogs->show(fromNothing ? "스토리지 접속에러." : "스토리지 접속에러.     ", "Error",
                        MessageIcon::Error, DialogOwner::MainWindow);
    return;
  }
  jobChanged(index);
}

// --- UploadQueueHost and UploadEngineHost -----------------------------------

void UploadWindow::stopUpload(int slot) {
  // A session that is up is cancelled on the wire and closed after the
  // grace; one still connecting, or a ticket still awaited, only lets go.
  if (slot >= 0 && slot < UploadQueue::kSlots) engine(slot).stop();
}

char UploadWindow::sharingLetterFor(const std::string& localPath) {
  return uploadSharingLetter(*deps_.config, *deps_.files, localPath);
}

void UploadWindow::jobCompleted(int index) {
  UploadJob& job = queue_.job(index);
  speedUpdate(job, 1000);
  job.percent = 100;
  queue_.recomputeDone();
  showNextAfter(index);
}

void UploadWindow::jobFailed(int index) {
  jobChanged(index);
}

void UploadWindow::slotFreed(int) {
  redrawAll();
}

// --- the member ------------------------------------------------------------

TransferRow UploadWindow::row(int index) const {
  const UploadJob& job = queue_.job(index);
  TransferRow row = transferRow(job.localPath, job.totalSize, job.sent, job.speedMbps,
                                job.shownState, static_cast<int>(job.state));
  // A completed upload shows its 100% even when it is smaller than 1 KB.
  if (job.state == UploadState::Completed) row.progressText = percentText(100);
  return row;
}

std::int32_t UploadWindow::targetFolder() const {
  const std::int32_t folder = deps_.storage != nullptr ? deps_.storage->currentFolderId() : 0;
  return folder > 0 ? folder : 2;
}

std::string UploadWindow::targetFolderText() const {
  const std::string text = deps_.storage != nullptr ? deps_.storage->currentFolderPath() : "";
  return cutText(text, kSubFolderBytes);
}

void UploadWindow::onOwnAction(TransferAction action) {
  switch (action) {
    case TransferAction::AddFiles:
      addFiles();
      break;
    case TransferAction::AddFolder:
      addFolder();
      break;
    case TransferAction::StopSelected:
      // Ctrl+S on the upload list: start, or stop everything while running.
      if (queue_.running) {
        confirmStop();
      } else {
        start();
      }
      break;
    default:
      break;  // the shared actions, and the download window's
  }
}

void UploadWindow::onFilesDropped(const std::vector<std::string>& paths) {
  bool queued = false;
  for (const std::string& path : paths) {
    // Plain, non-empty files only; a dropped folder is ignored.
    const FileInfo info = deps_.files->info(path);
    if (!info.exists || info.isDirectory || info.size <= 0) continue;
    queued = addUpload(path, targetFolder(), targetFolderText()) || queued;
  }
  if (queued && deps_.uploads != nullptr)
    deps_.uploads->noteUploadStarted(UploadLink::kUploadWindowNoticeHeight);
}

void UploadWindow::addFiles() {
  std::vector<std::string> paths;
  const std::string filter(kAllFilesFilter, sizeof kAllFilesFilter - 1);
  if (!deps_.dialogs->pickFiles(DialogOwner::UploadWindow, "", filter, paths)) return;
  for (const std::string& path : paths) addUpload(path, targetFolder(), targetFolderText());
}

void UploadWindow::addFolder() {
  std::string path;
  if (!deps_.dialogs->pickFolder(DialogOwner::UploadWindow, kFolderTitle, path)) return;
  addUploadFolder(path, targetFolder());
}

}  // namespace pom
