// What the download and the upload window share: the measurement of the
// overall progress behind the three texts (elapsed, remaining, amounts) and
// the overall bar (TransferDisplay), the per-row texts of the list, and the
// texts and page both windows show.
//
// The window keeps its queue's totals; on every refresh it hands this the
// progress taken before it recomputed its done bytes, and the new totals.
// Times are real milliseconds of the Clock port, so the texts never depend
// on how often the timer fires. Owned by a transfer window; loop thread only.
#pragma once

#include <cstdint>
#include <string>

#include "core/transfer/transfer_window_view.h"

namespace pom {

class Servers;

// The stop question, the same in both windows.
inline constexpr char kTransferStopText[] =
    "현재 파일이 전송중입니다.\r\n\r\n전송을 중지 하시겠습니까?     ";

// The external player's download page (button 0 of both windows).
std::string playerPageUrl(const Servers& servers);

class TransferDisplay {
 public:
  // The window was created: the clock starts at now, the texts are empty.
  void reset(std::uint32_t now);

  // One refresh at tick: progressKB is (done bytes before the recomputation
  // - done bytes at the last measurement) / 1024. When more than 999 ms have
  // passed since the last measurement and more than 1 KB moved, the texts
  // are measured anew and true is returned: the window then takes its new
  // done bytes as the value at this measurement. The bar follows the totals
  // whenever it would not be 0.
  bool refresh(std::uint32_t tick, std::int64_t progressKB, std::int64_t queuedBytes,
               std::int64_t doneBytes);

  const TransferTotalsText& totals() const { return totals_; }
  int bar() const { return bar_; }

 private:
  std::uint32_t lastMeasure_ = 0;
  std::int64_t elapsedMs_ = 0;
  std::int64_t averageKBps_ = 0;
  TransferTotalsText totals_;
  int bar_ = 0;
};

// A row of either list: the base name, the size, the percentage once at
// least 1 KB is done, the speed once one was measured (speedMbps >= 0), the
// state text as last set, and the numbers of the per-row bar.
TransferRow transferRow(const std::string& name, std::int64_t total, std::int64_t done,
                        double speedMbps, const std::string& stateText, int state);

}  // namespace pom
