#include "core/transfer/upload_module.h"

#include "core/hub/main_window_link.h"
#include "core/hub/module_context.h"
#include "core/hub/session_link.h"
#include "core/hub/storage_link.h"
#include "core/ports/shell.h"
#include "core/transfer/transfer_views.h"
#include "core/transfer/upload_window.h"

namespace pom {

UploadModule::UploadModule(ModuleContext& context) : context_(context) {
  context_.provide<UploadLink>(*this);
}

UploadModule::~UploadModule() {
  context_.withdraw<UploadLink>();
}

bool UploadModule::connect() {
  bool ok = context_.require(mainWindow_, name());
  ok &= context_.require(session_, name());
  ok &= context_.require(storage_, name());
  return ok;
}

void UploadModule::create(Stage stage) {
  if (stage == Stage::Connections) {
    sessions_ = std::make_unique<SessionSlots>(*context_.ports().sockets, kUploadSessionKind,
                                               &context_.fanOut(), FanOutSlot::UploadSessions,
                                               "UploadSession");
    context_.note("+UploadSessions");
    context_.replies().on<UploadTicket>(name(), [this](const UploadTicket& t) {
      if (window_) window_->onTicket(t);
    });
    // A folder made for an upload joins the queue with its local files.
    context_.replies().on<UploadFolderCreated>(name(), [this](const UploadFolderCreated& f) {
      if (window_) window_->onFolderCreated(f);
    });
    return;
  }
  if (stage != Stage::Windows) return;
  const AppPorts& ports = context_.ports();
  UploadWindow::Deps deps;
  deps.loop = ports.loop;
  deps.clock = ports.clock;
  deps.files = ports.files;
  deps.md5 = ports.md5;
  deps.dialogs = ports.dialogs;
  deps.shell = ports.shell;
  deps.config = &context_.config();
  deps.servers = &context_.servers();
  deps.session = session_;
  deps.sessions = sessions_.get();
  deps.storage = storage_;
  deps.uploads = this;
  window_ = std::make_unique<UploadWindow>(std::move(deps));
}

void UploadModule::attachViews() {
  TransferViews* views = nullptr;
  if (!context_.require(views, name()) || !window_) return;
  view_ = views->createTransferWindowView(TransferKind::Upload, *window_);
  window_->attachView(view_.get());
}

void UploadModule::destroy(Stage stage) {
  if (stage == Stage::Connections && sessions_) {
    // The engines are the sessions' handlers: they let go first.
    if (window_) window_->detachSessions();
    sessions_.reset();
    context_.note("-UploadSessions");
    return;
  }
  if (stage != Stage::Windows || !window_) return;
  window_->attachView(nullptr);
  view_.reset();
  window_.reset();
}

bool UploadModule::uploadsPending() const {
  return window_ && window_->pending();
}

bool UploadModule::transferring() const {
  return window_ && window_->running();
}

void UploadModule::openWindow() {
  if (window_) window_->open();
}

bool UploadModule::queueFile(const std::string& path) {
  if (!window_) return false;
  const std::int32_t folder = storage_->currentFolderId();
  return window_->addUpload(path, folder > 0 ? folder : 2, storage_->currentFolderPath());
}

void UploadModule::uploadLocalFolder(const std::string& path) {
  if (window_) window_->uploadLocalFolder(path, storage_->currentFolderId());
}

void UploadModule::noteUploadStarted(int pageHeight) {
  if (uploadNoticeShown_) return;
  uploadNoticeShown_ = true;
  const ScreenPoint at = mainWindow_->screenPosition();
  context_.ports().shell->openBrowserWindow(
      context_.servers().webBase(Server::WebSite) + "/pop/20080401.asp", at.x + 4, at.y + 30, 460,
      pageHeight);
}

}  // namespace pom
