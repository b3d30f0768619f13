// The local service as the transfer benchmarks run it: in the benchmark's
// own process, on its own port base, unseeded, with one flat-rate member
// "bench"; and the options of a headless client that logs in as it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/headless_client.h"
#include "service/service_app.h"

namespace pom {
namespace bench {

// Null (with the reason on standard error) when the service cannot start.
inline std::unique_ptr<service::ServiceApp> startBenchService(const std::string& dir,
                                                              int portBase) {
  service::ServiceOptions options;
  options.dataDir = dir + "/data";
  options.ports = service::ServicePorts::withBase(portBase, false);
  options.web = false;
  options.seed = false;
  auto app = std::make_unique<service::ServiceApp>(options);
  std::string error;
  if (!app->start(&error)) {
    std::fprintf(stderr, "cannot start the service: %s\n", error.c_str());
    return nullptr;
  }
  service::Member member;
  member.id = "bench";
  member.password = "bench";
  member.flatRate = 1;
  app->store().addMember(member);
  return app;
}

inline HeadlessOptions benchClientOptions(int portBase, const std::string& workDir) {
  HeadlessOptions options;
  options.id = "bench";
  options.password = "bench";
  options.portBase = portBase;
  options.workDir = workDir;
  options.timeoutMs = 60000;
  return options;
}

}  // namespace bench
}  // namespace pom
