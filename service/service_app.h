// ServiceApp: the whole local service in one object — store, fault switches,
// login and storage servers on a poll-loop thread, the control endpoint, and
// the web side (HTTP and peers) when enabled.
//
// start() opens (and on first use seeds) the data directory, adds the bulk
// folder and the large files when asked, opens the request log (request_log.h), binds every
// listener and returns once all of them accept connections; it fails as a
// whole, leaving nothing running. stop() (also the destructor) stops the
// loop thread, the control endpoint and the web side, in that order, and
// closes the store. start() may be called again after stop() on the same
// data directory (a restart).
//
// Used by pomservice (main.cpp) and in-process by tests (ServiceFixture).
// store() and faults() are safe to use from any thread while running.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "service/faults.h"
#include "service/ports.h"
#include "service/request_log.h"
#include "service/store.h"

namespace pom {
namespace service {

class ControlServer;
class WebSite;
class PeerServer;

struct ServiceOptions {
  std::string dataDir;
  ServicePorts ports;
  bool web = true;   // HTTP servers and peers
  bool seed = true;  // demo data on first start
  // When above 0: demo1 gets the folder demo::kBulkFolder with this many
  // generated files (only when it has no such folder yet). For benchmarks.
  int bulkFolder = 0;
  // When above 0: demo1's huge file, benchmark file and folder of small
  // files of that size or count (demo_data.h: ensureHugeFile and the rest).
  std::int64_t hugeFile = 0;
  std::int64_t benchFile = 0;
  int smallFiles = 0;
  // Switches set before anything listens ("key=value" or "key=value*count").
  std::vector<std::string> faults;
};

class ServiceApp {
 public:
  explicit ServiceApp(ServiceOptions options);
  ~ServiceApp();
  ServiceApp(const ServiceApp&) = delete;
  ServiceApp& operator=(const ServiceApp&) = delete;

  bool start(std::string* error = nullptr);
  void stop();
  bool running() const { return loopThread_.joinable(); }

  Store& store() { return *store_; }
  Faults& faults() { return faults_; }
  const ServicePorts& ports() const { return options_.ports; }
  const ServiceOptions& options() const { return options_; }
  // dataDir/requests.jsonl: every request the login server decoded.
  std::string requestLogPath() const { return options_.dataDir + "/" + RequestLog::kFileName; }

  // Runs fn on the loop thread and waits for it (tests inspect the servers).
  void runOnLoop(const std::function<void()>& fn);
  // Sessions of the login and storage servers (read on the loop thread).
  std::size_t loginSessions();
  std::size_t storageSessions();

 private:
  struct LoopParts;
  void runLoop(std::promise<std::string> ready);

  ServiceOptions options_;
  Faults faults_;
  RequestLog requestLog_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<ControlServer> control_;
  std::unique_ptr<WebSite> web_;
  std::unique_ptr<PeerServer> peers_;
  std::thread loopThread_;
  std::atomic<LoopParts*> parts_{nullptr};
};

}  // namespace service
}  // namespace pom
