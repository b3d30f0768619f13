#include "core/transfer/transfer_window_common.h"

#include "core/base/servers.h"
#include "core/base/text_utils.h"
#include "core/transfer/transfer_texts.h"

namespace pom {

std::string playerPageUrl(const Servers& servers) {
  return servers.webBase(Server::WebSite) + "/player/download.asp";
}

void TransferDisplay::reset(std::uint32_t now) {
  lastMeasure_ = now;
  elapsedMs_ = 0;
  averageKBps_ = 0;
  totals_ = TransferTotalsText();
  bar_ = 0;
}

bool TransferDisplay::refresh(std::uint32_t tick, std::int64_t progressKB, std::int64_t queuedBytes,
                              std::int64_t doneBytes) {
  const std::uint32_t interval = tick - lastMeasure_;
  bool measured = false;
  if (interval > 999 && progressKB > 1) {
    // Times in real milliseconds: a measurement happens at most every
    // second refresh, so counting one second per measurement would lag.
    elapsedMs_ += interval;
    const std::int64_t rate = progressKB * 1000 / interval;
    averageKBps_ = (rate + averageKBps_) / 2;
    const std::int64_t queuedKB = queuedBytes / 1024;
    const std::int64_t doneKB = doneBytes / 1024;
    if (queuedKB != doneKB && averageKBps_ > 0) {
      const std::int64_t remaining = (queuedKB - doneKB) / averageKBps_;
      if (remaining != 0) totals_.remaining = clockText(remaining);
    }
    totals_.amounts = amountsText(doneBytes, queuedBytes);
    totals_.elapsed = clockText(elapsedMs_ / 1000);
    lastMeasure_ = tick;
    measured = true;
  }
  const int bar = barPixels(doneBytes, queuedBytes);
  if (bar != 0) bar_ = bar;
  return measured;
}

TransferRow transferRow(const std::string& name, std::int64_t total, std::int64_t done,
                        double speedMbps, const std::string& stateText, int state) {
  TransferRow row;
  row.name = baseName(name);
  row.sizeText = formatSize(total);
  if (done >= 1024) row.progressText = percentText(transferPercent(done, total));
  if (speedMbps >= 0) row.speedText = speedText(speedMbps);
  row.stateText = stateText;
  row.state = state;
  row.done = done;
  row.total = total;
  return row;
}

}  // namespace pom
