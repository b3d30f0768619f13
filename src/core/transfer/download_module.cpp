#include "core/transfer/download_module.h"

#include "core/base/web_addresses.h"
#include "core/hub/module_context.h"
#include "core/hub/session_link.h"
#include "core/ports/dialogs.h"
#include "core/ports/shell.h"

namespace pom {

DownloadModule::DownloadModule(ModuleContext& context) : context_(context) {
  context_.provide<DownloadLink>(*this);
}

DownloadModule::~DownloadModule() {
  context_.withdraw<DownloadLink>();
}

bool DownloadModule::connect() {
  return context_.require(session_, name());
}

void DownloadModule::create(Stage stage) {
  if (stage != Stage::Connections) return;
  sessions_ = std::make_unique<SessionSlots>(*context_.ports().sockets, kDownloadSessionKind,
                                             &context_.fanOut(), FanOutSlot::DownloadSessions,
                                             "DownloadSession");
  context_.note("+DownloadSessions");
  context_.replies().on<DownloadTicket>(name(),
                                        [this](const DownloadTicket& t) { onDownloadTicket(t); });
}

void DownloadModule::destroy(Stage stage) {
  if (stage != Stage::Connections || !sessions_) return;
  sessions_.reset();
  context_.note("-DownloadSessions");
}

void DownloadModule::onDownloadTicket(const DownloadTicket& ticket) {
  switch (ticket.result) {
    case DownloadTicket::Result::Go:
    case DownloadTicket::Result::Unavailable:
      // The job named by the file id starts (or is marked unavailable) in the
      // download queue; no job waits for a ticket yet.
      break;
    case DownloadTicket::Result::PaymentNeeded: {
      const SessionState& member = session_->state();
      context_.ports().shell->execute(
          "open", "IEXPLORE.EXE",
          paymentUrl(context_.servers(), member.memberId, session_->webToken()),
          ShowMode::Maximized);
      sessions_->resetAll();
      break;
    }
    default:
      context_.ports().dialogs->show("예상치 못한 오류 고객센터에 문의해주세요!     ", "Error",
                                     MessageIcon::Error, DialogOwner::DownloadWindow);
      break;
  }
}

}  // namespace pom
