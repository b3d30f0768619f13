#include "core/update/version_check.h"

#include <cstring>

#include "core/base/config_keys.h"
#include "core/ports/file_system.h"
#include "core/update/update_fetch.h"

namespace pom {
namespace {

constexpr char kUpdatePath[] = "/UpdateFiles/";
constexpr std::size_t kComparedBytes = 10;

}  // namespace

std::string versionText(const std::string& fileBytes) {
  const std::string head = fileBytes.substr(0, kComparedBytes);
  return head.substr(0, std::strlen(head.c_str()));
}

VersionCheck::VersionCheck(HttpClient& http, FileSystem& files, ConfigStore& config,
                           VersionCheckSettings settings)
    : http_(http), files_(files), config_(config), settings_(std::move(settings)) {}

std::string VersionCheck::updaterPath() const {
  const std::string& dir =
      settings_.programDir.empty() ? settings_.workingDir : settings_.programDir;
  return joinPath(dir, kUpdaterProgram, '\\');
}

VersionCheck::Local VersionCheck::fetchVersionFile(const char* name,
                                                   bool (ConfigStore::*reset)(const std::string&)) {
  const std::string local = joinPath(settings_.workingDir, name, '/');
  if (!files_.info(local).exists) (config_.*reset)(kDefaultVersion);
  FetchRequest request;
  request.host = settings_.updateServer;
  request.path = std::string(kUpdatePath) + name;
  request.localPath = local;
  request.timeoutMs = settings_.fileTimeoutMs;
  request.maxBytes = kVersionFileMaxBytes;
  request.hidden = true;
  switch (fetchToFile(http_, files_, request)) {
    case FetchResult::Replaced:
      return Local::Fetched;
    case FetchResult::Unreachable:
      return Local::Unreachable;
    default:
      return Local::Kept;
  }
}

std::string VersionCheck::localVersion(const char* name, bool* opened) {
  std::string bytes;
  const bool read = readWholeFile(files_, joinPath(settings_.workingDir, name, '/'), bytes);
  if (opened != nullptr) *opened = read;
  return read ? versionText(bytes) : std::string();
}

bool VersionCheck::fetchUpdater() {
  FetchRequest request;
  request.host = settings_.updateServer;
  request.path = std::string(kUpdatePath) + kUpdaterProgram;
  request.localPath = updaterPath();
  request.timeoutMs = settings_.programTimeoutMs;
  request.maxBytes = kProgramFileMaxBytes;
  const PeMachine machine = settings_.machine;
  request.accept = [machine](std::string_view bytes) { return isPeProgramFor(bytes, machine); };
  return fetchToFile(http_, files_, request) == FetchResult::Replaced;
}

VersionCheckResult VersionCheck::run() {
  VersionCheckResult result;

  // The updater's version.
  const Local updaterFile = fetchVersionFile(kUpdaterVersionFile, &ConfigStore::setUver);
  result.updaterVersion = config_.uver();
  if (updaterFile == Local::Unreachable) {
    result.serverReachable = false;
    result.clientVersion = config_.cver();
    return result;
  }
  if (updaterFile == Local::Fetched) {
    const std::string server = localVersion(kUpdaterVersionFile, nullptr);
    // "uver" is written only once the new updater is in place.
    if (server != result.updaterVersion && fetchUpdater()) {
      config_.setUver(server);
      result.updaterReplaced = true;
    }
  }

  // The client's version.
  const Local clientFile = fetchVersionFile(kClientVersionFile, &ConfigStore::setCver);
  result.clientVersion = config_.cver();
  if (clientFile == Local::Unreachable) {
    result.serverReachable = false;
    return result;
  }
  if (clientFile == Local::Fetched) {
    bool opened = false;
    const std::string server = localVersion(kClientVersionFile, &opened);
    if (opened && server != result.clientVersion) result.updateNeeded = true;
  }
  return result;
}

}  // namespace pom
