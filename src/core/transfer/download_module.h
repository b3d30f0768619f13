// DownloadModule: the download subsystem as one module of the composition
// root.
//
// Members: the three download sessions (stage Connections, in the fan-out
// after the upload sessions); the download window, queue and engines join
// them. It registers the branch of DownloadTicket and offers DownloadLink.
//
// Until the download queue exists nothing is pending and no ticket belongs
// to a job: a payment demand still opens the payment page and resets the
// sessions, an unexpected result still shows its message. Loop thread only.
#pragma once

#include <memory>

#include "core/hub/module.h"
#include "core/hub/transfer_links.h"
#include "core/net/messages/replies.h"
#include "core/transfer/session_slots.h"

namespace pom {

class ModuleContext;
class SessionLink;

class DownloadModule final : public Module, public DownloadLink {
 public:
  explicit DownloadModule(ModuleContext& context);
  ~DownloadModule() override;

  const char* name() const override { return "downloads"; }
  bool connect() override;
  void create(Stage stage) override;
  void destroy(Stage stage) override;

  // DownloadLink. Until the download queue exists, nothing is queued.
  bool downloadsPending() const override { return false; }
  void addDownload(std::int32_t, const std::string&, std::int64_t) override {}
  void addDownloadInto(std::int32_t, const std::string&, std::int64_t,
                       const std::string&) override {}
  void autoStart() override {}

  SessionSlots& sessions() { return *sessions_; }

  void onDownloadTicket(const DownloadTicket& ticket);

 private:
  ModuleContext& context_;
  SessionLink* session_ = nullptr;
  std::unique_ptr<SessionSlots> sessions_;
};

}  // namespace pom
