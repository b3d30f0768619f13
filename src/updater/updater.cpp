#include "updater/updater.h"

#include "core/base/config_keys.h"
#include "core/ports/file_system.h"
#include "core/update/pe_image.h"
#include "core/update/update_fetch.h"
#include "core/update/version_check.h"

namespace pom {
namespace {

constexpr int kReplaceStepMs = 200;

const char* fetchProblem(FetchResult result) {
  switch (result) {
    case FetchResult::Unreachable:
      return "no answer from the update server";
    case FetchResult::Refused:
      return "the answer was not the whole file (status, length or program check)";
    default:
      return "the file could not be written";
  }
}

}  // namespace

UpdateOutcome updateClient(HttpClient& http, FileSystem& files, ConfigStore& config,
                           const std::string& folder, const std::string& updateServer,
                           void (*waitStep)(int ms)) {
  UpdateOutcome outcome;
  FetchRequest versionRequest;
  versionRequest.host = updateServer;
  versionRequest.path = std::string("/UpdateFiles/") + kClientVersionFile;
  versionRequest.timeoutMs = kVersionFileTimeoutMs;
  versionRequest.maxBytes = kVersionFileMaxBytes;
  std::string versionBody;
  FetchResult result = fetchBody(http, versionRequest, versionBody);
  if (result != FetchResult::Replaced) {
    outcome.message = std::string("failed: ") + kClientVersionFile + ": " + fetchProblem(result);
    return outcome;
  }
  const std::string version = versionText(versionBody);

  FetchRequest programRequest;
  programRequest.host = updateServer;
  programRequest.path = std::string("/UpdateFiles/") + kClientProgram;
  programRequest.timeoutMs = kClientFetchTimeoutMs;
  programRequest.maxBytes = kProgramFileMaxBytes;
  programRequest.accept = [](std::string_view bytes) {
    return isPeProgramFor(bytes, kProgramMachine);
  };
  std::string program;
  result = fetchBody(http, programRequest, program);
  if (result != FetchResult::Replaced) {
    outcome.message = std::string("failed: ") + kClientProgram + ": " + fetchProblem(result);
    return outcome;
  }

  // The old client may still be ending: its file cannot be replaced until
  // it has, so the move is tried again for a while.
  const std::string target = joinPath(folder, kClientProgram, '\\');
  bool moved = false;
  for (int waited = 0; !moved && waited <= kReplaceWaitMs; waited += kReplaceStepMs) {
    moved = replaceFile(files, target, program, false);
    if (!moved) waitStep(kReplaceStepMs);
  }
  if (!moved) {
    outcome.message = std::string("failed: ") + kClientProgram + " could not be replaced";
    return outcome;
  }
  if (!config.setCver(version)) {
    outcome.message = std::string("replaced ") + kClientProgram + " (" +
                      std::to_string(program.size()) + " bytes) but could not write cver " +
                      version;
    outcome.replaced = true;
    return outcome;
  }
  outcome.replaced = true;
  outcome.version = version;
  outcome.message = std::string("updated ") + kClientProgram + " to " + version + " (" +
                    std::to_string(program.size()) + " bytes)";
  return outcome;
}

}  // namespace pom
