// PutCommand: `pomcli put`, uploads through the same queue, scheduler and
// engines the upload window runs, with the window's own timer.
//
// The target web folder is opened in the tree the way a member opens it;
// files are then dropped on the program (into the folder shown), folders go
// through the folder upload, which makes a web folder of each local folder
// and keeps the whole tree below it. The queue is started as the start
// button starts it, the jobs are shown on the error stream
// (TransferProgress), and one summary line per file goes to `out`: local
// path, bytes the service holds, state text, and the reason of a failure,
// tab-separated. Done only when the service confirmed every file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/headless_client.h"

namespace pom {

class UploadWindow;

struct PutOptions {
  std::vector<std::string> paths;  // local files and folders, UTF-8
  std::string to;                  // web folder path as for ls; empty: 내웹폴더
  int parallel = 0;                // 1..3; 0: the member's UpLoadCount
};

class PutCommand {
 public:
  PutCommand(HeadlessClient& client, std::ostream& out, std::ostream& progress,
             bool progressIsTerminal);
  Outcome run(const PutOptions& options);

 private:
  bool finished() const;

  HeadlessClient& client_;
  std::ostream& out_;
  std::ostream& progress_;
  bool terminal_;
  UploadWindow* window_ = nullptr;
};

}  // namespace pom
