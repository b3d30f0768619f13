#include "service/service_app.h"

#include <mutex>

#include "platform/posix/poll_loop.h"
#include "service/control.h"
#include "service/demo_data.h"
#include "service/login_server.h"
#include "service/peer_server.h"
#include "service/storage_server.h"
#include "service/web_site.h"

namespace pom {
namespace service {

// What lives on the loop thread.
struct ServiceApp::LoopParts {
  PollLoop loop;
  std::unique_ptr<LoginServer> login;
  std::unique_ptr<StorageServer> storage;
  std::mutex callsMutex;
  std::vector<std::function<void()>> calls;  // from other threads
  // Set by stop(). PollLoop::run() clears its own stop flag when it begins,
  // so a stop() that comes right after start() (before run() is entered)
  // would be lost; the timer below looks at this flag as well.
  std::atomic<bool> stopping{false};
};

ServiceApp::ServiceApp(ServiceOptions options) : options_(std::move(options)) {}

ServiceApp::~ServiceApp() {
  stop();
}

bool ServiceApp::start(std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    stop();
    return false;
  };
  if (running()) return true;
  std::string why;
  if (!options_.ports.valid(&why)) return fail(why);
  for (const auto& argument : options_.faults) {
    if (!faults_.setFromArgument(argument, &why)) return fail("--fault " + argument + ": " + why);
  }
  store_ = Store::open(options_.dataDir, &why);
  if (!store_) return fail(why);
  if (options_.seed && !seedDemoData(*store_, options_.ports, &why)) return fail(why);
  if (options_.bulkFolder > 0 &&
      !ensureBulkFolder(*store_, demo::kMember1, demo::kBulkFolder, options_.bulkFolder, &why))
    return fail(why);
  const auto& peerHosts = options_.ports.peerHosts;
  if (options_.hugeFile > 0 && !ensureHugeFile(*store_, peerHosts, options_.hugeFile, &why))
    return fail(why);
  if (options_.benchFile > 0 && !ensureBenchFile(*store_, peerHosts, options_.benchFile, &why))
    return fail(why);
  if (options_.smallFiles > 0 && !ensureSmallFiles(*store_, options_.smallFiles, &why))
    return fail(why);
  if (!requestLog_.open(options_.dataDir, &why)) return fail(why);

  std::promise<std::string> ready;
  auto readyResult = ready.get_future();
  loopThread_ =
      std::thread([this, promise = std::move(ready)]() mutable { runLoop(std::move(promise)); });
  why = readyResult.get();
  if (!why.empty()) return fail(why);

  control_ = std::make_unique<ControlServer>(faults_);
  if (!control_->start(options_.ports.controlHost, options_.ports.controlPort, &why))
    return fail(why);
  if (options_.web) {
    WebSiteConfig webConfig = WebSiteConfig::fromPorts(options_.ports);
    webConfig.requests = &requestLog_;
    web_ = startWebSite(webConfig, *store_, faults_, &why);
    if (!web_) return fail(why);
    PeerServerConfig peerConfig = PeerServerConfig::fromPorts(options_.ports);
    peerConfig.requests = &requestLog_;
    peers_ = startPeerServer(peerConfig, *store_, faults_, &why);
    if (!peers_) return fail(why);
  }
  return true;
}

void ServiceApp::runLoop(std::promise<std::string> ready) {
  LoopParts parts;
  parts.login =
      std::make_unique<LoginServer>(parts.loop, *store_, faults_, requestLog_, options_.ports);
  parts.storage =
      std::make_unique<StorageServer>(parts.loop, *store_, faults_, options_.ports, &requestLog_);
  LoginServer& login = *parts.login;
  parts.storage->setSessionCheck([&login](std::uint16_t number, const std::string& memberId) {
    return login.sessionBelongsTo(number, memberId);
  });
  std::string why;
  if (!parts.login->start(&why) || !parts.storage->start(&why)) {
    parts.login.reset();
    parts.storage.reset();
    ready.set_value(why);
    return;
  }
  // A short repeating timer bounds how long stop() and cross-thread calls wait.
  parts.loop.startTimer(20, [&parts] {
    if (parts.stopping) parts.loop.stop();
    std::vector<std::function<void()>> calls;
    {
      std::lock_guard<std::mutex> lock(parts.callsMutex);
      calls.swap(parts.calls);
    }
    for (auto& call : calls) call();
  });
  parts_ = &parts;
  ready.set_value(std::string());
  parts.loop.run();
  parts_ = nullptr;
  {
    // Calls that arrive while stopping still run, so no caller waits forever.
    std::lock_guard<std::mutex> lock(parts.callsMutex);
    for (auto& call : parts.calls) call();
    parts.calls.clear();
  }
  parts.login.reset();
  parts.storage.reset();
}

void ServiceApp::runOnLoop(const std::function<void()>& fn) {
  LoopParts* parts = parts_.load();
  if (!parts) return;
  std::promise<void> done;
  auto finished = done.get_future();
  {
    std::lock_guard<std::mutex> lock(parts->callsMutex);
    parts->calls.push_back([&] {
      fn();
      done.set_value();
    });
  }
  finished.wait();
}

std::size_t ServiceApp::loginSessions() {
  std::size_t count = 0;
  runOnLoop([&] { count = parts_.load()->login->sessionCount(); });
  return count;
}

std::size_t ServiceApp::storageSessions() {
  std::size_t count = 0;
  runOnLoop([&] { count = parts_.load()->storage->sessionCount(); });
  return count;
}

void ServiceApp::stop() {
  if (loopThread_.joinable()) {
    if (LoopParts* parts = parts_.load()) {
      parts->stopping = true;
      parts->loop.stop();
    }
    loopThread_.join();
  }
  if (control_) control_->stop();
  control_.reset();
  peers_.reset();
  web_.reset();
  requestLog_.close();
  store_.reset();
}

}  // namespace service
}  // namespace pom
