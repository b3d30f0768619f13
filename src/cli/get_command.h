// GetCommand: `pomcli get`, downloads through the same queue, scheduler and
// engines the download window runs, with the window's own timers.
//
// The paths are queued the way a member queues them (WebCommands), search
// hits by their file ids from the result list (double click), then
// the queue is started as the start button starts it. While it runs, the
// jobs go to the error stream (TransferProgress). At the end one summary line per file
// goes to `out`: name, bytes on disk, state text, tab-separated. Done only
// when every file is complete; NoAnswer when nothing moved for the timeout.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "cli/headless_client.h"

namespace pom {

class DownloadWindow;

struct GetOptions {
  std::vector<std::string> paths;  // UTF-8, as for ls
  // Hits of a normal search for `search` (UTF-8), queued from the result
  // list by their file ids (as the search command prints them).
  std::vector<std::int32_t> fileIds;
  std::string search;
  std::string into;  // the download folder for this run; empty: BasicFolder
  int parallel = 0;  // 1..3; 0: the member's DownLoadCount
};

class GetCommand {
 public:
  GetCommand(HeadlessClient& client, std::ostream& out, std::ostream& progress,
             bool progressIsTerminal);
  Outcome run(const GetOptions& options);

 private:
  bool finished() const;

  HeadlessClient& client_;
  std::ostream& out_;
  std::ostream& progress_;
  bool terminal_;
  DownloadWindow* window_ = nullptr;
};

}  // namespace pom
