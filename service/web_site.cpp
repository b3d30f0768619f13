#include "service/web_site.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>

#include "service/web_pages.h"
#include "service/web_search.h"

namespace pom {
namespace service {

namespace {

// Requests are tiny (a natural search body holds one keyword); anything
// larger is refused before it is read.
constexpr std::size_t kMaxPayload = 64 * 1024;

void addEndpoint(std::vector<HttpEndpoint>& endpoints, const std::string& host,
                 std::uint16_t port) {
  for (const HttpEndpoint& endpoint : endpoints) {
    if (endpoint.host == host && endpoint.port == port) return;
  }
  endpoints.push_back({host, port});
}

// Sleeps ms in small steps; false when the site is stopping meanwhile.
bool pause(const std::atomic<bool>& stopping, long long ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (stopping) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return !stopping;
}

// The switch http_fault (faults.h): spoils the answer the route made.
void spoilAnswer(const httplib::Request& req, httplib::Response& res, Faults& faults,
                 const std::shared_ptr<std::atomic<bool>>& stopping) {
  const std::optional<std::string> mode = faults.consumeForPath("http_fault", req.path);
  if (!mode) return;
  if (*mode == "404" || *mode == "500") {
    res.status = *mode == "404" ? 404 : 500;
    res.headers.erase("Content-Type");
    res.set_content(*mode == "404" ? notFoundPage(req.path) : std::string("internal error"),
                    "text/html; charset=euc-kr");
    return;
  }
  if (*mode == "stall") {
    pause(*stopping, faults.peekInt("http_stall_ms").value_or(10000));
    return;
  }
  const std::string type = res.get_header_value("Content-Type");
  res.headers.erase("Content-Type");
  auto body = std::make_shared<const std::string>(res.body);
  res.body.clear();  // a body in place would be sent instead of the provider's bytes
  if (*mode == "cut") {
    res.set_content_provider(body->size(), type,
                             [body](std::size_t, std::size_t, httplib::DataSink& sink) {
                               sink.write(body->data(), body->size() / 2);
                               return false;  // closes before Content-Length
                             });
  } else if (*mode == "long") {
    res.set_content_provider(body->size(), type,
                             [body](std::size_t, std::size_t, httplib::DataSink& sink) {
                               const std::string more = *body + "MORE BYTES THAN ANNOUNCED\r\n";
                               return sink.write(more.data(), more.size());
                             });
  } else if (*mode == "dribble") {
    const long long gap = faults.peekInt("http_dribble_ms").value_or(500);
    res.set_content_provider(
        body->size(), type,
        [body, stopping, gap](std::size_t offset, std::size_t, httplib::DataSink& sink) {
          if (offset > 0 && !pause(*stopping, gap)) return false;
          return sink.write(body->data() + offset, 1);
        });
  }
}

std::unique_ptr<httplib::Server> makeServer(const WebSiteConfig& config, Store& store,
                                            Faults& faults,
                                            const std::shared_ptr<std::atomic<bool>>& stopping) {
  auto server = std::make_unique<httplib::Server>();
  const int workers = std::max(1, config.workerThreads);
  server->new_task_queue = [workers] { return new httplib::ThreadPool(workers); };
  server->set_read_timeout(3, 0);
  server->set_write_timeout(5, 0);
  server->set_keep_alive_timeout(2);
  server->set_payload_max_length(kMaxPayload);
  // Address reuse only: the library's default also shares the port with any
  // other process that asks (SO_REUSEPORT), so a second service on the same
  // port would start without error and take part of the requests.
  server->set_socket_options([](socket_t sock) {
    const int on = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  });

  addUpdateRoutes(*server, config.updateFiles, faults);
  addSearchRoutes(*server, store, faults, config.updateFiles.bannedWords, config.hangingPeer,
                  config.requests);
  addWebPages(*server, store);

  server->set_error_handler([](const httplib::Request& req, httplib::Response& res) {
    if (res.status == 404) {
      res.set_content(notFoundPage(req.path), "text/html; charset=euc-kr");
    }
  });
  server->set_post_routing_handler(
      [&faults, stopping](const httplib::Request& req, httplib::Response& res) {
        spoilAnswer(req, res, faults, stopping);
      });
  // A handler that throws (a store failure) answers 500; the server goes on.
  server->set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        res.status = 500;
        res.set_content("internal error", "text/plain");
      });
  return server;
}

}  // namespace

WebSiteConfig WebSiteConfig::fromPorts(const ServicePorts& ports) {
  WebSiteConfig config;
  addEndpoint(config.endpoints, ports.webHost, ports.webPort);
  for (const std::string& host : ports.searchHosts)
    addEndpoint(config.endpoints, host, ports.webPort);
  addEndpoint(config.endpoints, ports.naturalSearchHost, ports.webPort);
  addEndpoint(config.endpoints, ports.peerListHost, ports.webPort);
  config.hangingPeer = ports.hangingPeerHost;
  config.updateFiles.bannedWords = defaultBannedWords();
  std::string site = "http://" + ports.webHost;
  if (ports.webPort != 80) site += ":" + std::to_string(ports.webPort);
  config.updateFiles.adLink = site + "/help_desk/";
  return config;
}

WebSite::~WebSite() {
  stop();
}

void WebSite::stop() {
  *stopping_ = true;  // ends stalled and dribbled answers
  for (auto& server : servers_) server->stop();
  for (auto& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
  threads_.clear();
  servers_.clear();
}

std::unique_ptr<WebSite> startWebSite(const WebSiteConfig& config, Store& store, Faults& faults,
                                      std::string* error) {
  std::unique_ptr<WebSite> site(new WebSite());
  for (const HttpEndpoint& endpoint : config.endpoints) {
    auto server = makeServer(config, store, faults, site->stopping_);
    int port = endpoint.port;
    if (port == 0) {
      port = server->bind_to_any_port(endpoint.host);
    } else if (!server->bind_to_port(endpoint.host, port)) {
      port = -1;
    }
    if (port <= 0) {
      if (error) {
        *error = "cannot listen on " + endpoint.host + ":" + std::to_string(endpoint.port);
      }
      return nullptr;  // the destructor stops what already runs
    }
    site->bound_.push_back({endpoint.host, static_cast<std::uint16_t>(port)});
    httplib::Server* raw = server.get();
    site->servers_.push_back(std::move(server));
    site->threads_.emplace_back([raw] { raw->listen_after_bind(); });
    // stop() only reaches a server that already runs its accept loop, so wait
    // for that (bounded) before handing out the handle.
    for (int i = 0; i < 2000 && !raw->is_running(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  return site;
}

}  // namespace service
}  // namespace pom
