#include "core/transfer/peer_speed_history.h"

#include <cstdio>
#include <cstdlib>

#include "core/base/config_keys.h"

namespace pom {

std::string speedValueText(double mbps) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.1f", mbps);
  return text;
}

ServerSpeedHistory::ServerSpeedHistory(ConfigStore& config) : config_(config) {
  double sum = 0;
  int count = 0;
  for (int n = 1; n <= kPvDownloadSpeedCount; ++n) {
    bool ok = false;
    const std::string text = config_.pvDownloadSpeed(n, &ok);
    if (!ok) continue;
    sum += std::strtod(text.c_str(), nullptr);
    ++count;
  }
  if (count == 0) return;
  const double mean = std::strtod(speedValueText(sum / count).c_str(), nullptr);
  if (mean != 0) usual_ = mean;
}

void ServerSpeedHistory::record(double mbps) {
  config_.setPvDownloadSpeed(next_, speedValueText(mbps));
  next_ = next_ % kPvDownloadSpeedCount + 1;
}

}  // namespace pom
