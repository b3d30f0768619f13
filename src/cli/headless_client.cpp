#include "cli/headless_client.h"

#include "core/app/client_app.h"
#include "core/session/login_presenter.h"
#include "core/session/session_module.h"
#include "core/storage/folder_listings.h"
#include "core/storage/storage_module.h"
#include "core/storage/web_folder_tree.h"

namespace pom {

HeadlessClient::HeadlessClient(const HeadlessOptions& options, std::ostream& errors)
    : options_(options),
      errors_(errors),
      dialogs_(errors),
      shell_(errors),
      platform_(std::filesystem::absolute(options.workDir), dialogs_, shell_),
      front_(options.id, options.password) {}

HeadlessClient::~HeadlessClient() {
  if (app_ != nullptr) ClientApp::teardown();
}

bool HeadlessClient::start() {
  AppPorts ports = platform_.ports(static_cast<std::uint16_t>(kLoginPortBase + options_.portBase));
  ports.downloadPort = static_cast<std::uint16_t>(kDownloadPort + options_.portBase);
  app_ = ClientApp::createAndInitialise(ports);
  if (app_ == nullptr) {
    for (const std::string& problem : ClientApp::startProblems()) errors_ << problem << "\n";
    return false;
  }
  app_->run(front_);
  return true;
}

StorageModule& HeadlessClient::storage() {
  return app_->module<StorageModule>();
}

bool HeadlessClient::waitUntil(const std::function<bool()>& done) {
  return waitUntil(done, options_.timeoutMs);
}

bool HeadlessClient::waitUntil(const std::function<bool()>& done, std::uint32_t timeoutMs) {
  return platform_.loop.runUntil(done, timeoutMs);
}

void HeadlessClient::settle(std::uint32_t ms) {
  platform_.loop.runFor(ms);
}

Outcome HeadlessClient::login() {
  SessionModule& session = app_->module<SessionModule>();
  if (!session.login().tryLogin()) return Outcome::Failed;
  const std::size_t boxesBefore = dialogs_.shown.size();
  const bool answered = waitUntil([&] {
    return session.loggedIn() || front_.ended ||
           (!session.login().busy() && dialogs_.shown.size() > boxesBefore);
  });
  if (session.loggedIn()) return Outcome::Done;
  if (!answered) {
    errors_ << "no answer from the login server\n";
    return Outcome::NoAnswer;
  }
  return Outcome::Failed;
}

Outcome HeadlessClient::loginAndList() {
  const Outcome loggedIn = login();
  if (loggedIn != Outcome::Done) return loggedIn;
  StorageModule& web = storage();
  if (!waitUntil([&] { return web.tree().built() && !web.listings().pending(); })) {
    errors_ << "no answer to the listing of the web folder\n";
    return Outcome::NoAnswer;
  }
  return Outcome::Done;
}

}  // namespace pom
