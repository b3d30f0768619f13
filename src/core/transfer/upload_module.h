// UploadModule: the upload subsystem as one module of the composition root.
//
// Members: the three upload sessions (stage Connections, in the fan-out after
// the login-server connection); the upload window and queue join them. It
// owns the upload-notice flag (the notice page opens on the first upload of
// a run, whichever way it was started), registers the branches of
// UploadFolderCreated and UploadTicket, and offers UploadLink.
//
// Until the upload queue exists nothing is pending or queued, so no ticket
// names a row with work to do. Loop thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/hub/module.h"
#include "core/hub/transfer_links.h"
#include "core/net/messages/replies.h"
#include "core/transfer/session_slots.h"

namespace pom {

class MainWindowLink;
class ModuleContext;

class UploadModule final : public Module, public UploadLink {
 public:
  explicit UploadModule(ModuleContext& context);
  ~UploadModule() override;

  const char* name() const override { return "uploads"; }
  bool connect() override;
  void create(Stage stage) override;
  void destroy(Stage stage) override;

  // UploadLink
  bool uploadsPending() const override { return false; }
  bool transferring() const override { return false; }
  void openWindow() override {}
  bool queueFile(const std::string&) override { return false; }
  void noteUploadStarted() override;

  bool uploadNoticeShown() const { return uploadNoticeShown_; }
  SessionSlots& sessions() { return *sessions_; }

  void onUploadTicket(const UploadTicket& ticket);

 private:
  // The slot that takes a ticket's row, when the queue has work for it.
  std::optional<int> slotForTicket(const UploadTicket& ticket) { return std::nullopt; }
  // Binds the slot's session and starts its connection; false when the
  // attempt could not even start.
  bool startSession(int slot, const std::string& host, std::uint16_t port);

  ModuleContext& context_;
  MainWindowLink* mainWindow_ = nullptr;
  std::unique_ptr<SessionSlots> sessions_;
  bool uploadNoticeShown_ = false;
};

}  // namespace pom
