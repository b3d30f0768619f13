// UploadWindow: the presenter of the upload window, owner of the upload
// queue and of the three upload engines (one per slot, each on one of the
// module's three upload sessions).
//
// Its one 800 ms timer starts the next upload on every free slot below the
// limit while the queue runs (the sample digest, then the ticket request
// keyed by the job's ticket key) and refreshes the display; a start attempt
// that starts nothing while no job is active runs the completion actions.
// It takes the upload tickets and the folders made for a folder upload,
// answers the member's buttons, keys, menu entries, check boxes and drops,
// and is the engines' host: they report progress, completion, failure and a
// freed slot here. What it does as the download window does (the list
// actions, the menu, the close question, the stop confirmation, the
// completion actions, the display) is TransferWindowBase's.
//
// The view may be null: the headless front end uploads through the same
// presenter without a window (open() then only starts the timer). "The
// window exists" is a state of its own: open() creates it (reading the
// concurrency and the close-when-done choice), destroyWindow() ends every
// transfer and discards the queue, as closing the real window does.
//
// Owned by the upload module; every dependency outlives it. Loop thread
// only; message boxes may pump messages, so handlers re-find their job by
// ticket key or slot after one.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/net/messages/replies.h"
#include "core/ports/event_loop.h"
#include "core/transfer/transfer_window_base.h"
#include "core/transfer/upload_engine.h"
#include "core/transfer/upload_queue.h"

namespace pom {

class FileSystem;
class Md5;
class SessionLink;
class SessionSlots;
class StorageLink;
class UploadLink;

inline constexpr std::uint32_t kUploadTimerMs = 800;

// Why a job failed, as the member reads it beside "실패".
inline constexpr char kUploadUnreadableText[] = "파일을 읽을 수 없습니다";
inline constexpr char kUploadRefusedText[] = "업로드가 거절되었습니다";
inline constexpr char kUploadHeldMismatchText[] = "서버의 파일 정보가 올바르지 않습니다";
inline constexpr char kUploadConnectText[] = "스토리지 접속에러.";

class UploadWindow final : public TransferWindowBase<UploadQueue>,
                           private UploadQueueHost,
                           private UploadEngineHost {
 public:
  struct Deps {
    EventLoop* loop = nullptr;
    Clock* clock = nullptr;
    FileSystem* files = nullptr;
    Md5* md5 = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    ConfigStore* config = nullptr;
    const Servers* servers = nullptr;
    SessionLink* session = nullptr;
    SessionSlots* sessions = nullptr;
    StorageLink* storage = nullptr;  // optional: the target of picked and dropped files
    UploadLink* uploads = nullptr;   // optional: the upload notice after a drop
  };

  explicit UploadWindow(Deps deps);
  ~UploadWindow() override;
  UploadWindow(const UploadWindow&) = delete;
  UploadWindow& operator=(const UploadWindow&) = delete;

  // Stops the timer, ends every open session, empties the queue.
  void destroyWindow() override;
  // The program ends: the sessions are about to go.
  void detachSessions();

  // Queues a local file for the web folder folderId with the folder text
  // subFolder; the window opens (and with "AotoUpLoad" the queue runs).
  // False when the file was not queued (missing, empty, a folder).
  bool addUpload(const std::string& localPath, std::int32_t folderId, const std::string& subFolder);
  // Queues the plain files directly inside folderPath (no sub-folders; the
  // files are only read) with the folder's name as their folder text; the
  // number queued.
  int addUploadFolder(const std::string& folderPath, std::int32_t folderId);
  // Asks the service for a web folder named like localFolder below
  // parentFolderId; its files are queued when the folder is made. With
  // descend each sub-folder follows the same way below the new folder.
  void uploadLocalFolder(const std::string& localFolder, std::int32_t parentFolderId,
                         bool descend = false);
  // Folders asked for and not yet answered.
  int foldersPending() const { return queue_.foldersPending(); }

  // The start button.
  void start() override;
  // No engine is busy: no session is bound, connected or closing (a
  // headless caller waits for this before it ends the program).
  bool settled() const;

  // The branches of the UploadTicket and UploadFolderCreated replies.
  void onTicket(const UploadTicket& ticket);
  void onFolderCreated(const UploadFolderCreated& reply);

  const std::vector<UploadJob>& jobs() const { return queue_.jobs(); }
  UploadQueue& queue() { return queue_; }
  UploadEngine& engine(int slot) { return *engines_[static_cast<std::size_t>(slot)]; }
  const UploadEngine& engine(int slot) const { return *engines_[static_cast<std::size_t>(slot)]; }

  // The timer's body (public for tests that drive it without the loop; the
  // display refresh is refreshDisplay).
  void tick();

  // TransferWindowInput
  TransferRow row(int index) const override;
  void onRowDoubleClick(int) override {}
  void onFilesDropped(const std::vector<std::string>& paths) override;

 private:
  // UploadQueueHost
  void stopUpload(int slot) override;

  // UploadEngineHost
  int jobOnSlot(int slot) override { return queue_.jobOnSlot(slot); }
  UploadJob& job(int index) override { return queue_.job(index); }
  SessionLink& session() override { return *deps_.session; }
  FileSystem& files() override { return *deps_.files; }
  EventLoop& loop() override { return *deps_.loop; }
  std::uint32_t now() override;
  char sharingLetterFor(const std::string& localPath) override;
  void jobChanged(int index) override { redrawRow(index); }
  void jobCompleted(int index) override;
  void jobFailed(int index) override;
  void slotFreed(int slot) override;

  // TransferWindowBase
  void create() override;
  void onOwnAction(TransferAction action) override;
  void speedUpdate(UploadJob& job, std::uint32_t elapsedMs) override;

  bool startOn(int slot);
  void failJob(int index, const char* reason);
  void addFiles();
  void addFolder();
  // The own list's folder for picked and dropped files (2 when none) and
  // its path text.
  std::int32_t targetFolder() const;
  std::string targetFolderText() const;

  Deps deps_;
  std::array<std::unique_ptr<UploadEngine>, UploadQueue::kSlots> engines_;
  EventLoop::TimerId timer_ = 0;
};

}  // namespace pom
