// ServerSpeedHistory: the member's last ten storage-server speeds, kept as
// the registry values "Pv_dl1" .. "Pv_dl10" ("%.1f" Mbps), and the usual
// server speed taken from them once, when the history is loaded.
//
// Loading reads all ten (a missing one is written as "0"); the usual speed is
// the mean of those read, rounded through "%.1f", or 3.0 when none could be
// read or the mean is 0. Each recorded sample overwrites the next value,
// cycling from 1 to 10. The ConfigStore outlives the history. Loop thread
// only.
#pragma once

#include <string>

namespace pom {

class ConfigStore;

inline constexpr double kDefaultUsualSpeed = 3.0;

class ServerSpeedHistory {
 public:
  explicit ServerSpeedHistory(ConfigStore& config);

  double usualSpeed() const { return usual_; }
  void record(double mbps);

 private:
  ConfigStore& config_;
  double usual_ = kDefaultUsualSpeed;
  int next_ = 1;
};

// "%.1f" of a speed (a fixed, locale-free format).
std::string speedValueText(double mbps);

}  // namespace pom
