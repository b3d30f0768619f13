#include "core/transfer/upload_module.h"

#include "core/hub/main_window_link.h"
#include "core/hub/module_context.h"
#include "core/ports/dialogs.h"
#include "core/ports/shell.h"

namespace pom {

UploadModule::UploadModule(ModuleContext& context) : context_(context) {
  context_.provide<UploadLink>(*this);
}

UploadModule::~UploadModule() {
  context_.withdraw<UploadLink>();
}

bool UploadModule::connect() {
  return context_.require(mainWindow_, name());
}

void UploadModule::create(Stage stage) {
  if (stage != Stage::Connections) return;
  sessions_ = std::make_unique<SessionSlots>(*context_.ports().sockets, kUploadSessionKind,
                                             &context_.fanOut(), FanOutSlot::UploadSessions,
                                             "UploadSession");
  context_.note("+UploadSessions");
  context_.replies().on<UploadTicket>(name(), [this](const UploadTicket& t) { onUploadTicket(t); });
  // A folder made for an upload joins the queue with its local path.
  context_.replies().on<UploadFolderCreated>(name(), [](const UploadFolderCreated&) {});
}

void UploadModule::destroy(Stage stage) {
  if (stage != Stage::Connections || !sessions_) return;
  sessions_.reset();
  context_.note("-UploadSessions");
}

void UploadModule::noteUploadStarted() {
  if (uploadNoticeShown_) return;
  uploadNoticeShown_ = true;
  const ScreenPoint at = mainWindow_->screenPosition();
  context_.ports().shell->openBrowserWindow(
      context_.servers().webBase(Server::WebSite) + "/pop/20080401.asp", at.x + 4, at.y + 30, 460,
      660);
}

bool UploadModule::startSession(int slot, const std::string& host, std::uint16_t port) {
  Connection& session = (*sessions_)[slot];
  if (!session.initialise()) return false;
  // A started connect reports false with would-block; only another error
  // means the attempt failed.
  return session.connectTo(host, port) || session.socket().lastError() == SocketError::WouldBlock;
}

void UploadModule::onUploadTicket(const UploadTicket& ticket) {
  const bool fromNothing = ticket.result == UploadTicket::Result::FromNothing;
  if (ticket.result != UploadTicket::Result::Go && !fromNothing) return;
  const std::optional<int> slot = slotForTicket(ticket);
  if (!slot) return;
  if (!startSession(*slot, ticket.storageHost, ticket.storagePort)) {
    context_.ports().dialogs->show(fromNothing ? "스토리지 접속에러." : "스토리지 접속에러.     ",
                                   "Error", MessageIcon::Error, DialogOwner::MainWindow);
  }
}

}  // namespace pom
