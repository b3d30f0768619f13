// UploadRun: `pomcli put` in-process against a running ServiceFixture, for
// integration tests of uploads: a fresh headless client logs in as demo1,
// uploads the given local paths into a web folder and reports the outcome,
// the summary lines, the error output and the message boxes; plus local
// files of known content and a check that the service stored exactly them.
//
// Header-only: only test binaries that link pom_service and pom_cli include it.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/headless_client.h"
#include "cli/put_command.h"
#include "core/base/servers.h"
#include "core/ports/text_codec.h"
#include "support/demo_client.h"
#include "support/service_fixture.h"

namespace pom {
namespace testing_support {

struct PutRun {
  Outcome outcome = Outcome::Failed;
  std::string out;     // the summary lines
  std::string errors;  // message boxes, shell calls, progress
  std::vector<MessageBoxRequest> shown;
};

// Local paths are UTF-8; `to` is a web folder path as for ls (UTF-8).
inline PutRun runPut(ServiceFixture& service, const std::filesystem::path& workDir,
                     const std::vector<std::string>& paths, const std::string& to,
                     std::uint32_t timeoutMs, int parallel = 0) {
  const HeadlessOptions options = demoClientOptions(service, workDir, timeoutMs);
  std::ostringstream errors, out;
  PutRun run;
  {
    HeadlessClient client(options, errors);
    if (!client.start()) return run;
    if (client.loginAndList() != Outcome::Done) return run;
    PutOptions put;
    put.paths = paths;
    put.to = to;
    put.parallel = parallel;
    run.outcome = PutCommand(client, out, errors, false).run(put);
    run.shown = client.dialogs().shown;
  }
  run.out = out.str();
  run.errors = errors.str();
  return run;
}

// Writes size pseudo-random bytes (from seed) to path, making its folders.
inline void writeRandomFile(const std::filesystem::path& path, std::int64_t size,
                            std::uint32_t seed) {
  std::filesystem::create_directories(path.parent_path());
  std::mt19937 random(seed);
  std::ofstream out(path, std::ios::binary);
  std::vector<char> block(1 << 16);
  for (std::int64_t left = size; left > 0;) {
    for (char& c : block) c = static_cast<char>(random());
    const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, block.size()));
    out.write(block.data(), static_cast<std::streamsize>(n));
    left -= static_cast<std::int64_t>(n);
  }
}

inline std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The item of demo1 at a "/"-separated CP949 path ("a/b/c.txt"); 0 when a
// name is missing.
inline std::int32_t demoItemAt(ServiceFixture& service, const std::string& cp949Path) {
  std::int32_t at = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = cp949Path.find('/', start);
    const std::string name = cp949Path.substr(start, slash - start);
    const auto found = service.store().findByName("demo1", at, name);
    if (found.empty()) return 0;
    at = found.front().id;
    if (slash == std::string::npos) return at;
    start = slash + 1;
  }
}

// True when the service holds the whole file at the web path with exactly
// the bytes of the local file.
inline ::testing::AssertionResult storedExactly(ServiceFixture& service,
                                                const std::string& cp949WebPath,
                                                const std::filesystem::path& local) {
  const std::int32_t id = demoItemAt(service, cp949WebPath);
  if (id == 0) return ::testing::AssertionFailure() << cp949ToUtf8(cp949WebPath) << " is missing";
  const auto item = service.store().item(id);
  const std::string want = fileBytes(local);
  if (item->size != static_cast<std::int64_t>(want.size()) || !item->complete())
    return ::testing::AssertionFailure()
           << cp949ToUtf8(cp949WebPath) << " holds " << item->stored << " of " << item->size
           << ", the local file " << want.size();
  if (fileBytes(service.store().bodyPath(id)) != want)
    return ::testing::AssertionFailure() << cp949ToUtf8(cp949WebPath) << " differs";
  return ::testing::AssertionSuccess();
}

}  // namespace testing_support
}  // namespace pom
