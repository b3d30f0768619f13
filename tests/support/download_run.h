// DownloadRun: `pomcli get` in-process against a running ServiceFixture, for
// integration tests of downloads: a fresh headless client logs in as demo1,
// downloads the given paths into a folder and reports the outcome, the
// summary lines, the error output and the message boxes; plus the id of a
// demo file and a check that a local file holds exactly the service's body.
//
// Header-only: only test binaries that link pom_service and pom_cli include it.
#pragma once

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/get_command.h"
#include "cli/headless_client.h"
#include "core/base/servers.h"
#include "core/ports/text_codec.h"
#include "service/file_bodies.h"
#include "support/demo_client.h"
#include "support/service_fixture.h"

namespace pom {
namespace testing_support {

struct GetRun {
  Outcome outcome = Outcome::Failed;
  std::string out;     // the summary lines
  std::string errors;  // message boxes, shell calls, progress
  std::vector<MessageBoxRequest> shown;
};

// Paths are CP949 (converted to the command line's UTF-8 here); workDir holds
// the client's PomConfig.ini and registry file.
inline GetRun runGet(ServiceFixture& service, const std::filesystem::path& workDir,
                     const std::string& into, const std::vector<std::string>& cp949Paths,
                     std::uint32_t timeoutMs, int parallel = 0) {
  const HeadlessOptions options = demoClientOptions(service, workDir, timeoutMs);
  std::ostringstream errors, out;
  GetRun run;
  {
    HeadlessClient client(options, errors);
    if (!client.start()) return run;
    if (client.loginAndList() != Outcome::Done) return run;
    GetOptions get;
    for (const std::string& path : cp949Paths) get.paths.push_back(cp949ToUtf8(path));
    get.into = into;
    get.parallel = parallel;
    run.outcome = GetCommand(client, out, errors, false).run(get);
    run.shown = client.dialogs().shown;
  }
  run.out = out.str();
  run.errors = errors.str();
  return run;
}

// Points the client whose work folder is workDir at the service's own peer
// list (its web port) and peers (its shifted peer port), so that a large
// file never asks whatever else may listen on the default address.
inline void writePeerServers(const ServiceFixture& service, const std::filesystem::path& workDir) {
  std::ofstream ini(workDir / "PomConfig.ini", std::ios::binary | std::ios::app);
  ini << "[Servers]\r\nPeerList=127.0.0.1:" << service.ports().webPort
      << "\r\nPeerPort=" << service.ports().peerPort << "\r\n";
}

// The id of demo1's file at "folder/name" (CP949; top level without folder).
inline std::int32_t demoFileId(ServiceFixture& service, const std::string& folder,
                               const std::string& name) {
  std::int32_t parent = 0;
  if (!folder.empty()) parent = service.store().findByName("demo1", 0, folder).at(0).id;
  return service.store().findByName("demo1", parent, name).at(0).id;
}

// True when the local file holds exactly the service's body of file id.
inline ::testing::AssertionResult matchesServiceBody(ServiceFixture& service,
                                                     const std::string& localPath,
                                                     std::int32_t id) {
  const auto item = service.store().item(id);
  std::ifstream in(localPath, std::ios::binary);
  if (!in) return ::testing::AssertionFailure() << localPath << " is missing";
  std::vector<std::uint8_t> got(1 << 16), want(1 << 16);
  std::int64_t at = 0;
  for (;;) {
    in.read(reinterpret_cast<char*>(got.data()), static_cast<std::streamsize>(got.size()));
    const auto n = static_cast<std::size_t>(in.gcount());
    if (n == 0) break;
    service::fillGenerated(static_cast<std::uint64_t>(id), at, want.data(), n);
    if (std::memcmp(got.data(), want.data(), n) != 0)
      return ::testing::AssertionFailure() << localPath << " differs near byte " << at;
    at += static_cast<std::int64_t>(n);
  }
  if (at != item->size)
    return ::testing::AssertionFailure() << localPath << " has " << at << " of " << item->size;
  return ::testing::AssertionSuccess();
}

}  // namespace testing_support
}  // namespace pom
