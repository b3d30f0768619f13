// VersionCheck: the start-up check against the update server.
//
// In this order: the updater's version ("UverChk.dat" against registry
// "uver"; a different text fetches "PomUpdater.exe" into the program's
// folder and then writes "uver"), then the client's version ("CverChk.dat"
// against "cver"; a different text asks for the hand-over to the updater).
// The version files live in the working directory, hidden.
//
// Every fetch is safe (update_fetch.h): a failed, cut or refused answer keeps
// the old file and skips that comparison, so an unreachable or broken server
// never damages "PomUpdater.exe" and never causes a hand-over. A server that
// does not answer at all stops the check at that request, so it costs one
// timeout; serverReachable then tells the banned-word load to skip its
// request too. The client never writes "cver" except for the "0.9" default.
//
// Blocking, on the loop thread, before anything else of the program exists.
// Also usable on its own (benchmarks time run() against a local service).
#pragma once

#include <string>

#include "core/update/pe_image.h"

namespace pom {

class ConfigStore;
class FileSystem;
class HttpClient;

// Small files answer within milliseconds on any working line; three seconds
// bound what a dead server costs the start. The updater program is larger.
inline constexpr int kVersionFileTimeoutMs = 3000;
inline constexpr int kProgramFileTimeoutMs = 30000;
inline constexpr std::size_t kVersionFileMaxBytes = 64 * 1024;
inline constexpr std::size_t kProgramFileMaxBytes = 64 * 1024 * 1024;

inline constexpr char kUpdaterProgram[] = "PomUpdater.exe";
// Set by the updater in the environment of the old client it starts after a
// failed update: that client skips the check once, or the two programs would
// hand over to each other for as long as the server offers a client it
// cannot deliver.
inline constexpr char kUpdateFailedVariable[] = "POMVALE_UPDATE_FAILED";
inline constexpr char kUpdaterVersionFile[] = "UverChk.dat";
inline constexpr char kClientVersionFile[] = "CverChk.dat";

struct VersionCheckSettings {
  std::string updateServer;  // "host:port"
  std::string workingDir;    // the version files
  std::string programDir;    // "PomUpdater.exe"
  PeMachine machine = kProgramMachine;
  int fileTimeoutMs = kVersionFileTimeoutMs;
  int programTimeoutMs = kProgramFileTimeoutMs;
};

struct VersionCheckResult {
  bool serverReachable = true;
  bool updateNeeded = false;
  bool updaterReplaced = false;
  // The versions as the client keeps them for this run: "uver" as it was
  // before any new updater was fetched, and "cver".
  std::string updaterVersion;
  std::string clientVersion;
};

class VersionCheck {
 public:
  VersionCheck(HttpClient& http, FileSystem& files, ConfigStore& config,
               VersionCheckSettings settings);

  VersionCheckResult run();

  // Full path of "PomUpdater.exe" in the program's folder.
  std::string updaterPath() const;

 private:
  enum class Local { Fetched, Kept, Unreachable };
  // Resets the registry value when the local copy is missing, then fetches.
  Local fetchVersionFile(const char* name, bool (ConfigStore::*reset)(const std::string&));
  std::string localVersion(const char* name, bool* opened);
  bool fetchUpdater();

  HttpClient& http_;
  FileSystem& files_;
  ConfigStore& config_;
  VersionCheckSettings settings_;
};

// The first 10 bytes of a version file, as compared with the registry text
// (a zero byte ends the text, as in a zero-filled buffer).
std::string versionText(const std::string& fileBytes);

}  // namespace pom
