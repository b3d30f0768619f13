// DownloadWindow: the presenter of the download window, owner of the
// download queue and of the three download engines.
//
// It runs the window's timers (800 ms display, 500 ms peer watchdog, 400 ms
// start), answers the member's buttons, keys, menu entries and check boxes,
// takes the download tickets, paces TransferEnded after every ended
// transfer, and runs the completion actions. The view may be null: the
// headless front end downloads through the same presenter without a window
// (open() then only starts the timers). What it does as the upload window
// does (the list actions, the menu, the close question, the stop
// confirmation, the completion actions, the display) is TransferWindowBase's.
//
// "The window exists" is a state of its own: open() creates it (reading the
// concurrency and the close-when-done choice) and destroyWindow() discards
// the queue, as closing the real window does.
//
// Owned by the download module; every dependency outlives it. Loop thread
// only; message boxes may pump messages, so every handler re-finds its job
// by slot or file id after one.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/net/messages/replies.h"
#include "core/ports/event_loop.h"
#include "core/transfer/download_engine.h"
#include "core/transfer/download_queue.h"
#include "core/transfer/peer_sources.h"
#include "core/transfer/transfer_window_base.h"

namespace pom {

class FileSystem;
class LocalBrowserLink;
class MainWindowLink;
class Registry;
class SessionLink;
class SessionSlots;

inline constexpr std::uint32_t kDisplayTimerMs = 800;
inline constexpr std::uint32_t kWatchdogTimerMs = 500;
inline constexpr std::uint32_t kStartTimerMs = 400;
inline constexpr std::uint32_t kTransferEndedDelayMs = 50;
// A dropped data connection is retried this often without progress, each
// after this pause.
inline constexpr int kAutoRetries = 2;
inline constexpr std::uint32_t kRetryDelayMs = 1000;

class DownloadWindow final : public TransferWindowBase<DownloadQueue>,
                             private DownloadQueueHost,
                             private DownloadEngineHost,
                             public PeerTransferHost {
 public:
  struct Deps {
    EventLoop* loop = nullptr;
    Clock* clock = nullptr;
    FileSystem* files = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    Registry* registry = nullptr;
    ConfigStore* config = nullptr;
    const Servers* servers = nullptr;
    SessionLink* session = nullptr;
    MainWindowLink* mainWindow = nullptr;
    LocalBrowserLink* local = nullptr;  // optional
    SessionSlots* sessions = nullptr;
    TransferSlotPool* pool = nullptr;
    PeerSources* peers = nullptr;
    std::uint16_t downloadPort = 7201;
  };

  explicit DownloadWindow(Deps deps);
  ~DownloadWindow() override;
  DownloadWindow(const DownloadWindow&) = delete;
  DownloadWindow& operator=(const DownloadWindow&) = delete;

  // Kills the timers, ends every open transfer, empties the queue.
  void destroyWindow() override;
  // The program ends: the sessions are about to go.
  void detachSessions();

  // Queues a file (the window must exist); false for a duplicate.
  bool add(std::int32_t fileId, const std::string& name, std::int64_t size,
           const std::string& subFolder, const std::string& folder = std::string());
  // With "AotoDownLoad" set and not running: the download folder is made
  // sure of and the queue runs.
  void autoStart();
  // The start button: the download folder is made sure of and the queue runs.
  void start() override;
  // A TransferEnded still waits for its pause (a headless caller lets the
  // loop run until none does before it ends the program).
  bool transfersEnding() const { return endsPending_ > 0; }
  // A dropped transfer waits for its automatic retry.
  bool retrying() const { return retriesPending_ > 0; }

  // The download folder for jobs bound from now on in this run (the headless
  // --into); empty: the member's folder.
  void setDownloadFolder(const std::string& folder) { folderOverride_ = folder; }

  // The branch of the DownloadTicket reply.
  void onTicket(const DownloadTicket& ticket);

  const std::vector<TransferJob>& jobs() const { return queue_.jobs(); }
  DownloadQueue& queue() override { return queue_; }
  DownloadEngine& engine(int slot) { return *engines_[static_cast<std::size_t>(slot)]; }
  // The local path of the job (download folder, sub-folder, name); empty
  // when the name cannot be one.
  std::string localPathOf(const TransferJob& job);

  // The start timer's body (public for tests that drive it without the
  // loop; the display timer's is refreshDisplay).
  void startTick();

  // TransferWindowInput
  TransferRow row(int index) const override;
  void onRowDoubleClick(int index) override;
  void onFilesDropped(const std::vector<std::string>&) override {}

  // PeerTransferHost
  bool openJobFile(int slot) override;
  WriteOutcome writeBytes(int slot, const std::uint8_t* data, std::size_t size) override;
  void fallBackToServer(int slot, const std::string& storageHost) override;
  std::int64_t jobReceived(int slot) override;
  void releaseJobFile(int slot) override;
  // The peer sources the engines ask from now on (the peer manager, made
  // after the window, or back to the ones the window was made with).
  void setPeers(PeerSources& peers) { deps_.peers = &peers; }

 private:
  // DownloadQueueHost
  std::string downloadFolder() override;
  void ticketWanted(const TransferJob& job) override;
  void stopTransfer(int slot, std::int32_t fileId, bool dropSource) override;
  void dropSource(std::int32_t fileId) override;
  void completedOnDisk(int index) override;
  void jobFailed(int index) override;

  // DownloadEngineHost
  SessionLink& session() override { return *deps_.session; }
  Dialogs& dialogs() override { return *deps_.dialogs; }
  FileSystem& files() override { return *deps_.files; }
  std::uint32_t now() override;
  void jobChanged(int index) override { redrawRow(index); }
  void jobCompleted(int index) override;
  void transferEnded() override;
  void connectionDropped(int index) override;
  void holdJob(int index) override;
  void stopAll() override { stopAllJobs(); }

  // TransferWindowBase
  void create() override;
  void onOwnAction(TransferAction action) override;
  void speedUpdate(TransferJob& job, std::uint32_t elapsedMs) override;

  void stopTimers();
  void after(std::uint32_t delayMs, EventLoop::Callback callback);
  int requestingJob(std::int32_t fileId) const;
  void openSelected(int index);
  void chooseFolder();

  Deps deps_;
  std::array<std::unique_ptr<DownloadEngine>, TransferSlotPool::kSlots> engines_;
  std::string folderOverride_;
  std::array<EventLoop::TimerId, 3> timers_{};
  std::set<EventLoop::TimerId> delayed_;
  int endsPending_ = 0;
  int retriesPending_ = 0;
};

}  // namespace pom
