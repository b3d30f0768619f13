#include "core/transfer/download_module.h"

#include "core/hub/local_browser_link.h"
#include "core/hub/main_window_link.h"
#include "core/hub/module_context.h"
#include "core/hub/session_link.h"
#include "core/transfer/download_window.h"
#include "core/transfer/peer_sources.h"
#include "core/transfer/transfer_slot_pool.h"
#include "core/transfer/transfer_views.h"

namespace pom {

DownloadModule::DownloadModule(ModuleContext& context) : context_(context) {
  context_.provide<DownloadLink>(*this);
  context_.provide<PeerSeamLink>(*this);
}

DownloadModule::~DownloadModule() {
  context_.withdraw<PeerSeamLink>();
  context_.withdraw<DownloadLink>();
}

bool DownloadModule::connect() {
  bool ok = context_.require(session_, name());
  ok &= context_.require(mainWindow_, name());
  ok &= context_.require(local_, name());
  return ok;
}

void DownloadModule::create(Stage stage) {
  if (stage == Stage::Connections) {
    sessions_ = std::make_unique<SessionSlots>(*context_.ports().sockets, kDownloadSessionKind,
                                               &context_.fanOut(), FanOutSlot::DownloadSessions,
                                               "DownloadSession");
    context_.note("+DownloadSessions");
    context_.replies().on<DownloadTicket>(name(),
                                          [this](const DownloadTicket& t) { onDownloadTicket(t); });
    return;
  }
  if (stage != Stage::Windows) return;
  const AppPorts& ports = context_.ports();
  pool_ = std::make_unique<TransferSlotPool>();
  peers_ = std::make_unique<StorageServerOnly>();
  DownloadWindow::Deps deps;
  deps.loop = ports.loop;
  deps.clock = ports.clock;
  deps.files = ports.files;
  deps.dialogs = ports.dialogs;
  deps.shell = ports.shell;
  deps.registry = ports.registry;
  deps.config = &context_.config();
  deps.servers = &context_.servers();
  deps.session = session_;
  deps.mainWindow = mainWindow_;
  deps.local = local_;
  deps.sessions = sessions_.get();
  deps.pool = pool_.get();
  deps.peers = peers_.get();
  deps.downloadPort = ports.downloadPort;
  window_ = std::make_unique<DownloadWindow>(std::move(deps));
}

void DownloadModule::attachViews() {
  TransferViews* views = nullptr;
  if (!context_.require(views, name())) return;
  view_ = views->createTransferWindowView(TransferKind::Download, *window_);
  window_->attachView(view_.get());
}

void DownloadModule::destroy(Stage stage) {
  if (stage == Stage::Connections && sessions_) {
    // The engines are the sessions' handlers: they let go first.
    if (window_) window_->detachSessions();
    sessions_.reset();
    context_.note("-DownloadSessions");
    return;
  }
  if (stage != Stage::Windows || !window_) return;
  // The peer manager outlives the window: it lets go of it first.
  if (attached_ != nullptr) attached_->detachHost();
  attached_ = nullptr;
  window_->setPeers(*peers_);
  window_->attachView(nullptr);
  view_.reset();
  window_.reset();
  peers_.reset();
  pool_.reset();
}

PeerTransferHost* DownloadModule::attachPeers(PeerSources* peers) {
  if (!window_) {
    attached_ = nullptr;
    return nullptr;
  }
  attached_ = peers;
  window_->setPeers(peers != nullptr ? *peers : *peers_);
  return window_.get();
}

bool DownloadModule::downloadsPending() const {
  return window_ && window_->pending();
}

void DownloadModule::openWindow() {
  if (window_) window_->open();
}

void DownloadModule::addDownload(std::int32_t fileId, const std::string& name, std::int64_t size) {
  addDownloadInto(fileId, name, size, "");
}

void DownloadModule::addDownloadInto(std::int32_t fileId, const std::string& name,
                                     std::int64_t size, const std::string& subFolder) {
  addDownloadTo(fileId, name, size, "", subFolder);
}

void DownloadModule::addDownloadTo(std::int32_t fileId, const std::string& name, std::int64_t size,
                                   const std::string& folder, const std::string& subFolder) {
  if (!window_) return;
  window_->open();
  window_->add(fileId, name, size, subFolder, folder);
}

void DownloadModule::autoStart() {
  if (window_) window_->autoStart();
}

void DownloadModule::onDownloadTicket(const DownloadTicket& ticket) {
  if (window_) window_->onTicket(ticket);
}

}  // namespace pom
