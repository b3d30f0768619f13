// UploadModule: the upload subsystem as one module of the composition root.
//
// Members: the three upload sessions (stage Connections, in the fan-out after
// the login-server connection), then (stage Windows) the upload window with
// its queue and its three engines, one on each session. It owns the
// upload-notice flag (the notice page opens on the first upload of a run,
// whichever way it was started), registers the branches of UploadTicket
// and UploadFolderCreated, asks the front end for the upload window's view
// (which may be null: the presenter then runs headless) and offers
// UploadLink. Files queued through the link go to the web folder the own
// file list shows, with its path as the web tree shows it (StorageLink).
//
// Teardown: the engines let go of the sessions before the sessions are
// deleted (stage Connections); the window goes with the windows. Loop
// thread only.
#pragma once

#include <memory>
#include <string>

#include "core/hub/module.h"
#include "core/hub/transfer_links.h"
#include "core/net/messages/replies.h"
#include "core/transfer/session_slots.h"

namespace pom {

class MainWindowLink;
class ModuleContext;
class SessionLink;
class StorageLink;
class TransferWindowView;
class UploadWindow;

class UploadModule final : public Module, public UploadLink {
 public:
  explicit UploadModule(ModuleContext& context);
  ~UploadModule() override;

  const char* name() const override { return "uploads"; }
  bool connect() override;
  void create(Stage stage) override;
  void attachViews() override;
  void destroy(Stage stage) override;

  // UploadLink
  bool uploadsPending() const override;
  bool transferring() const override;
  void openWindow() override;
  bool queueFile(const std::string& path) override;
  void uploadLocalFolder(const std::string& path) override;
  void noteUploadStarted(int pageHeight) override;

  bool uploadNoticeShown() const { return uploadNoticeShown_; }
  SessionSlots& sessions() { return *sessions_; }
  // The presenter (from stage Windows on): the headless front end queues,
  // starts and watches uploads through it.
  UploadWindow& window() { return *window_; }

 private:
  ModuleContext& context_;
  MainWindowLink* mainWindow_ = nullptr;
  SessionLink* session_ = nullptr;
  StorageLink* storage_ = nullptr;
  std::unique_ptr<SessionSlots> sessions_;
  std::unique_ptr<UploadWindow> window_;
  std::unique_ptr<TransferWindowView> view_;
  bool uploadNoticeShown_ = false;
};

}  // namespace pom
