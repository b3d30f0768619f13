// The service's HTTP side: one server per host:port, each on its own thread
// with a small worker pool, all answering the same routes (update files and
// advertisement line, both searches, the peer list, the web pages).
//
// startWebSite binds every endpoint before it returns, so a client may connect
// at once; it fails as a whole (nothing left running) when one bind fails.
// Port 0 binds a free port, reported by endpoints(). stop() (also run by the
// destructor) closes the listeners and joins the threads; requests already
// being answered finish first, idle connections are dropped within a few
// seconds. The Store and Faults must outlive the handle. The switch
// http_fault (faults.h) spoils the answer of any route.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "service/faults.h"
#include "service/ports.h"
#include "service/store.h"
#include "service/update_files.h"

namespace httplib {
class Server;
}

namespace pom {
namespace service {

class RequestLog;

struct HttpEndpoint {
  std::string host;
  std::uint16_t port = 0;
};

struct WebSiteConfig {
  std::vector<HttpEndpoint> endpoints;
  UpdateFiles updateFiles;
  int workerThreads = 4;  // per endpoint
  // The address "peer_list hang" puts into the list (see peer_server.h).
  std::string hangingPeer;
  // Where the searches are logged (none when null).
  RequestLog* requests = nullptr;

  // Web, search, natural-search and peer-list hosts on webPort (each once),
  // the default banned words, and an advertisement link to the help desk.
  static WebSiteConfig fromPorts(const ServicePorts& ports);
};

class WebSite {
 public:
  ~WebSite();
  WebSite(const WebSite&) = delete;
  WebSite& operator=(const WebSite&) = delete;

  void stop();
  // The endpoints as bound (free ports filled in).
  const std::vector<HttpEndpoint>& endpoints() const { return bound_; }

 private:
  friend std::unique_ptr<WebSite> startWebSite(const WebSiteConfig&, Store&, Faults&, std::string*);
  WebSite() = default;

  std::vector<std::unique_ptr<httplib::Server>> servers_;
  std::vector<std::thread> threads_;
  std::vector<HttpEndpoint> bound_;
  // Set by stop(): answers held back by http_fault stall or dribble end.
  std::shared_ptr<std::atomic<bool>> stopping_ = std::make_shared<std::atomic<bool>>(false);
};

// nullptr (with a reason in *error) when an endpoint cannot be bound.
std::unique_ptr<WebSite> startWebSite(const WebSiteConfig& config, Store& store, Faults& faults,
                                      std::string* error = nullptr);

}  // namespace service
}  // namespace pom
