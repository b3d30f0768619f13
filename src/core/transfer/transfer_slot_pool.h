// TransferSlotPool: the three transfer slots of the process. Slot i selects
// the i-th download session and the i-th peer connection. Loop thread only.
#pragma once

#include <array>

namespace pom {

class TransferSlotPool {
 public:
  static constexpr int kSlots = 3;
  // The lowest free slot, now busy; -1 when all are busy.
  int acquire();
  // Frees slot i; false when there is no such slot.
  bool release(int i);
  bool anyFree() const;
  bool busy(int i) const { return i >= 0 && i < kSlots && busy_[static_cast<unsigned>(i)]; }
  void reset() { busy_ = {}; }

 private:
  std::array<bool, kSlots> busy_{};
};

}  // namespace pom
