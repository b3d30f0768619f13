#include "core/transfer/transfer_slot_pool.h"

namespace pom {

int TransferSlotPool::acquire() {
  for (int i = 0; i < kSlots; ++i) {
    if (!busy_[static_cast<unsigned>(i)]) {
      busy_[static_cast<unsigned>(i)] = true;
      return i;
    }
  }
  return -1;
}

bool TransferSlotPool::release(int i) {
  if (i < 0 || i >= kSlots) return false;
  busy_[static_cast<unsigned>(i)] = false;
  return true;
}

bool TransferSlotPool::anyFree() const {
  for (bool b : busy_) {
    if (!b) return true;
  }
  return false;
}

}  // namespace pom
