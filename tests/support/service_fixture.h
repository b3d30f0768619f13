// ServiceFixture: the local service running in-process for integration tests.
//
// start() seeds a fresh temporary data directory with the demo data and picks
// a port base at random (retrying when a port is taken), so test processes
// running side by side do not clash. ports() tells where everything listens:
// login hosts 127.0.0.1/127.0.0.2 on loginPorts, storage 127.0.0.3 on
// downloadPort/uploadPort, control, web and peers. faults() and store() reach
// the running service directly; restart() stops it and starts it again on
// the same data directory and ports. requests() reads the service's request
// log (every request the login server decoded, support/request_log.h).
// setBulkFolder(count) before start() gives demo1 the bulk folder
// (service::demo::kBulkFolder) of that many files; setHugeFile(bytes),
// setBenchFile(bytes) and setSmallFiles(count) add the huge file, the
// benchmark file and the folder of small files (service/demo_data.h).
// storageRequests() and peerHeaders() read what the storage servers and the
// peers logged.
//
// Header-only: only test binaries that link pom_service include it.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "service/service_app.h"
#include "support/request_log.h"

namespace pom {
namespace testing_support {

class ServiceFixture {
 public:
  explicit ServiceFixture(bool web = true) : web_(web) {
    char pattern[] = "/tmp/pomservice-XXXXXX";
    if (char* made = ::mkdtemp(pattern)) dataDir_ = made;
  }
  ~ServiceFixture() {
    stop();
    std::error_code ignored;
    if (!dataDir_.empty()) std::filesystem::remove_all(dataDir_, ignored);
  }
  ServiceFixture(const ServiceFixture&) = delete;
  ServiceFixture& operator=(const ServiceFixture&) = delete;

  // Starts with a random port base; tries a few bases before giving up.
  bool start(std::string* error = nullptr) {
    std::random_device seed;
    std::mt19937 random(seed() ^ static_cast<unsigned>(::getpid()));
    std::string why;
    for (int attempt = 0; attempt < 20; ++attempt) {
      // Bases keep every port below the usual ephemeral range (32768 up).
      int base = 10000 + 10 * static_cast<int>(random() % 1400);
      if (startAt(base, &why)) return true;
    }
    if (error) *error = why;
    return false;
  }

  bool startAt(int portBase, std::string* error = nullptr) {
    service::ServiceOptions options;
    options.dataDir = dataDir_;
    options.ports = service::ServicePorts::withBase(portBase, false);
    options.web = web_;
    options.bulkFolder = bulkFolder_;
    options.hugeFile = hugeFile_;
    options.benchFile = benchFile_;
    options.smallFiles = smallFiles_;
    app_ = std::make_unique<service::ServiceApp>(options);
    if (app_->start(error)) return true;
    app_.reset();
    return false;
  }

  void stop() {
    if (app_) app_->stop();
  }
  // Stops and starts again on the same data directory and ports.
  bool restart(std::string* error = nullptr) {
    if (!app_) return false;
    app_->stop();
    return app_->start(error);
  }

  service::ServiceApp& app() { return *app_; }
  const service::ServicePorts& ports() const { return app_->ports(); }
  service::Faults& faults() { return app_->faults(); }
  service::Store& store() { return app_->store(); }
  const std::string& dataDir() const { return dataDir_; }

  void setBulkFolder(int count) { bulkFolder_ = count; }
  void setHugeFile(std::int64_t bytes) { hugeFile_ = bytes; }
  void setBenchFile(std::int64_t bytes) { benchFile_ = bytes; }
  void setSmallFiles(int count) { smallFiles_ = count; }

  std::string requestLogPath() const { return dataDir_ + "/" + service::RequestLog::kFileName; }
  // The logged requests, all or of one type, oldest first.
  std::vector<LoggedRequest> requests() const { return readRequestLog(requestLogPath()); }
  std::vector<LoggedRequest> requests(RequestType type) const {
    return readRequestLog(requestLogPath(), type);
  }
  // DownloadRequests the storage servers got, and headers the peers got.
  std::vector<LoggedRequest> storageRequests() const {
    return readServerLog(requestLogPath(), kStorageServer);
  }
  std::vector<LoggedRequest> peerHeaders() const {
    return readServerLog(requestLogPath(), kPeerServer);
  }

 private:
  bool web_;
  int bulkFolder_ = 0;
  std::int64_t hugeFile_ = 0;
  std::int64_t benchFile_ = 0;
  int smallFiles_ = 0;
  std::string dataDir_;
  std::unique_ptr<service::ServiceApp> app_;
};

}  // namespace testing_support
}  // namespace pom
