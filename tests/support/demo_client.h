// The options of a headless client that logs in as demo1 to a running
// ServiceFixture, its settings in workDir. Header-only: for test binaries
// that link pom_service and pom_cli.
#pragma once

#include <cstdint>
#include <filesystem>

#include "cli/headless_client.h"
#include "core/base/servers.h"
#include "support/service_fixture.h"

namespace pom {
namespace testing_support {

inline HeadlessOptions demoClientOptions(ServiceFixture& service,
                                         const std::filesystem::path& workDir,
                                         std::uint32_t timeoutMs) {
  HeadlessOptions options;
  options.id = "demo1";
  options.password = "demo1234";
  options.portBase = service.ports().loginPorts[0] - kLoginPortBase;
  options.workDir = workDir;
  options.timeoutMs = timeoutMs;
  return options;
}

}  // namespace testing_support
}  // namespace pom
