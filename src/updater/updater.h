// The updater's one job, as a function of its folder: fetch the new client
// and its version text from the update server, check the program, replace
// "Pomvale.exe" in the folder in one replacing move (retried while the old
// client may still be ending), write "cver" only after the replacement, and
// tell what happened in one log line. Whatever fails, the old client is left
// as it was.
//
// Blocking; every request is bounded by its timeout.
#pragma once

#include <string>

namespace pom {

class ConfigStore;
class FileSystem;
class HttpClient;

inline constexpr char kClientProgram[] = "Pomvale.exe";
inline constexpr char kUpdaterLog[] = "PomUpdater.log";
inline constexpr int kClientFetchTimeoutMs = 60000;
// How long the old client may take to end before the replacement gives up.
inline constexpr int kReplaceWaitMs = 10000;

struct UpdateOutcome {
  bool replaced = false;
  std::string version;  // the new "cver" when replaced
  std::string message;  // the log line's text (without the time)
};

// folder: the updater's own folder (no trailing separator); updateServer:
// "host:port". waitStep is called between replacement attempts (a sleep).
UpdateOutcome updateClient(HttpClient& http, FileSystem& files, ConfigStore& config,
                           const std::string& folder, const std::string& updateServer,
                           void (*waitStep)(int ms));

}  // namespace pom
