// GetCommand: `pomcli get`, downloads through the same queue, scheduler and
// engines the download window runs, with the window's own timers.
//
// The paths are queued the way a member queues them (WebCommands), then
// the queue is started as the start button starts it. While it runs, the
// state of every job goes to the error stream: refreshed in place on a
// terminal (the jobs under way and a totals line), otherwise one plain line
// per job whenever its texts change. At the end one summary line per file
// goes to `out`: name, bytes on disk, state text, tab-separated. Done only
// when every file is complete; NoAnswer when nothing moved for the timeout.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "cli/headless_client.h"

namespace pom {

class DownloadWindow;

struct GetOptions {
  std::vector<std::string> paths;  // UTF-8, as for ls
  std::string into;                // the download folder for this run; empty: BasicFolder
  int parallel = 0;                // 1..3; 0: the member's DownLoadCount
};

class GetCommand {
 public:
  GetCommand(HeadlessClient& client, std::ostream& out, std::ostream& progress,
             bool progressIsTerminal);
  Outcome run(const GetOptions& options);

 private:
  bool finished() const;
  // Called after every turn of the loop: prints when 800 ms have passed.
  void maybeReport();
  void report();
  std::string jobLine(int index);

  HeadlessClient& client_;
  std::ostream& out_;
  std::ostream& progress_;
  bool terminal_;
  DownloadWindow* window_ = nullptr;
  std::uint32_t lastReport_ = 0;
  int linesShown_ = 0;
  std::map<int, std::string> lastLine_;  // plain mode: what was printed per job
  // Per job: bytes and time of the previous report, for the remaining time.
  std::map<std::int32_t, std::pair<std::int64_t, std::uint32_t>> lastSeen_;
  std::map<std::int32_t, double> rate_;  // bytes per ms, smoothed
};

}  // namespace pom
