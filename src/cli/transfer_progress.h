// TransferProgress: how `pomcli get` and `pomcli put` show their transfers
// on the error stream, and how they wait for them.
//
// On a terminal the jobs under way and a totals line are refreshed in place
// every 800 ms; otherwise one plain line is printed per job whenever its
// texts change. The rows are the transfer window's own (TransferRow), so
// both commands print what the windows would show.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "cli/headless_client.h"
#include "core/transfer/transfer_window_view.h"

namespace pom {

class TransferProgress {
 public:
  // One job as the progress lines need it, besides its row.
  struct Job {
    std::int64_t key = 0;  // stable while the command runs
    std::int64_t done = 0;
    std::int64_t total = 0;
    bool underWay = false;  // shown on the terminal
    bool complete = false;
  };
  // The window as the command sees it at one moment.
  struct Source {
    std::function<std::vector<Job>()> jobs;
    std::function<TransferRow(int)> row;
    std::function<TransferTotalsText()> totals;
  };

  TransferProgress(HeadlessClient& client, std::ostream& progress, bool terminal, Source source);

  // Lets the loop run until finished() holds; every byte or state change
  // restarts the wait, so NoAnswer means nothing moved for the timeout.
  // Prints as it goes, and once more at the end.
  Outcome waitFor(const std::function<bool()>& finished);

 private:
  void maybeReport();
  void report();
  std::string jobLine(const Job& job, int index);

  HeadlessClient& client_;
  std::ostream& progress_;
  bool terminal_;
  Source source_;
  std::uint32_t lastReport_ = 0;
  int linesShown_ = 0;
  std::map<int, std::string> lastLine_;  // plain mode: what was printed per row
  // Per job: bytes and time of the previous report, for the remaining time.
  std::map<std::int64_t, std::pair<std::int64_t, std::uint32_t>> lastSeen_;
  std::map<std::int64_t, double> rate_;  // bytes per ms, smoothed
};

}  // namespace pom
