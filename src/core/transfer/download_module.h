// DownloadModule: the download subsystem as one module of the composition
// root.
//
// Members: the three download sessions (stage Connections, in the fan-out
// after the upload sessions), then (stage Windows) the slot pool, the peer
// sources the engines ask (the storage server only, until the peer manager
// attaches through PeerSeamLink) and the download window with its queue and
// engines. It registers the branch of DownloadTicket, asks the front end for
// the download window's view (which may be null: the window's presenter
// then runs headless) and offers DownloadLink. Adding a download creates
// the window first (it reads its settings then), as the real window does.
//
// Teardown: the engines let go of the sessions before the sessions are
// deleted (stage Connections); the window goes with the windows. Loop
// thread only.
#pragma once

#include <memory>

#include "core/hub/module.h"
#include "core/hub/transfer_links.h"
#include "core/net/messages/replies.h"
#include "core/transfer/peer_sources.h"
#include "core/transfer/session_slots.h"

namespace pom {

class DownloadWindow;
class LocalBrowserLink;
class MainWindowLink;
class ModuleContext;
class SessionLink;
class TransferSlotPool;
class TransferWindowView;

class DownloadModule final : public Module, public DownloadLink, public PeerSeamLink {
 public:
  explicit DownloadModule(ModuleContext& context);
  ~DownloadModule() override;

  const char* name() const override { return "downloads"; }
  bool connect() override;
  void create(Stage stage) override;
  void attachViews() override;
  void destroy(Stage stage) override;

  // DownloadLink
  bool downloadsPending() const override;
  void addDownload(std::int32_t fileId, const std::string& name, std::int64_t size) override;
  void addDownloadInto(std::int32_t fileId, const std::string& name, std::int64_t size,
                       const std::string& subFolder) override;
  void addDownloadTo(std::int32_t fileId, const std::string& name, std::int64_t size,
                     const std::string& folder, const std::string& subFolder) override;
  void autoStart() override;
  void openWindow() override;

  // PeerSeamLink
  PeerTransferHost* attachPeers(PeerSources* peers) override;

  SessionSlots& sessions() { return *sessions_; }
  // The presenter (from stage Windows on): the headless front end queues,
  // starts and watches downloads through it.
  DownloadWindow& window() { return *window_; }

  void onDownloadTicket(const DownloadTicket& ticket);

 private:
  ModuleContext& context_;
  SessionLink* session_ = nullptr;
  MainWindowLink* mainWindow_ = nullptr;
  LocalBrowserLink* local_ = nullptr;
  std::unique_ptr<SessionSlots> sessions_;
  std::unique_ptr<TransferSlotPool> pool_;
  std::unique_ptr<PeerSources> peers_;  // the window's own: the storage server only
  PeerSources* attached_ = nullptr;     // the peer manager, once it attached
  std::unique_ptr<DownloadWindow> window_;
  std::unique_ptr<TransferWindowView> view_;
};

}  // namespace pom
