#include "service/fault_socket.h"

#include <algorithm>
#include <vector>

namespace pom {
namespace service {

template <typename F>
void FaultSocket::Tracker::feed(std::int64_t at, const std::uint8_t* data, std::size_t n,
                                F onFrame) {
  std::size_t i = 0;
  while (i < n) {
    if (frameEnd < 0) {
      std::int64_t inFrame = at + static_cast<std::int64_t>(i) - frameStart;
      if (inFrame < 8) {
        header[inFrame] = data[i];
        ++headerHave;
        ++i;
      }
      if (headerHave == 8) {
        std::uint32_t total = static_cast<std::uint32_t>(header[4]) |
                              (static_cast<std::uint32_t>(header[5]) << 8) |
                              (static_cast<std::uint32_t>(header[6]) << 16) |
                              (static_cast<std::uint32_t>(header[7]) << 24);
        // The service only sends well-formed frames; guard anyway so a bad
        // length cannot stall the tracker.
        frameEnd = frameStart + std::max<std::int64_t>(total, 12);
        onFrame(frameStart, frameEnd - frameStart);
      }
      continue;
    }
    std::int64_t here = at + static_cast<std::int64_t>(i);
    std::size_t skip = static_cast<std::size_t>(std::min<std::int64_t>(frameEnd - here, n - i));
    i += skip;
    if (at + static_cast<std::int64_t>(i) >= frameEnd) {
      frameStart = frameEnd;
      frameEnd = -1;
      headerHave = 0;
    }
  }
}

void FaultSocket::limitSend(std::int64_t bytes, std::function<void()> onExhausted) {
  budget_ = std::max<std::int64_t>(bytes, 0);
  onExhausted_ = std::move(onExhausted);
}

void FaultSocket::corruptNextPacket(Corruption kind) {
  armed_ = true;
  armedKind_ = kind;
  armedAt_ = offset_;
}

int FaultSocket::send(const void* data, std::size_t length) {
  blocked_ = false;
  if (budget_ == 0) {
    blocked_ = true;
    return -1;
  }
  std::size_t n = length;
  if (budget_ > 0) n = static_cast<std::size_t>(std::min<std::int64_t>(budget_, n));
  const auto* bytes = static_cast<const std::uint8_t*>(data);

  if (armed_) {
    // Look ahead over what is about to leave and decide which bytes to change.
    Tracker lookahead = committed_;
    lookahead.feed(offset_, bytes, length, [&](std::int64_t start, std::int64_t total) {
      if (!armed_ || start < armedAt_) return;
      if (armedKind_ == Corruption::Length) {
        const std::uint8_t bad[4] = {0xF0, 0xFF, 0xFF, 0xFF};
        for (int k = 0; k < 4; ++k) overrides_[start + 4 + k] = bad[k];
      } else {
        overrides_[start + total - 4] = 0xFF;  // FEFEFEFE becomes FEFEFEFF
      }
      armed_ = false;
    });
  }

  int sent;
  auto first = overrides_.lower_bound(offset_);
  if (first != overrides_.end() && first->first < offset_ + static_cast<std::int64_t>(n)) {
    std::vector<std::uint8_t> copy(bytes, bytes + n);
    for (auto it = first;
         it != overrides_.end() && it->first < offset_ + static_cast<std::int64_t>(n); ++it)
      copy[static_cast<std::size_t>(it->first - offset_)] = it->second;
    sent = inner_->send(copy.data(), n);
  } else {
    sent = inner_->send(bytes, n);
  }
  if (sent <= 0) return sent;

  committed_.feed(offset_, bytes, static_cast<std::size_t>(sent),
                  [](std::int64_t, std::int64_t) {});
  offset_ += sent;
  overrides_.erase(overrides_.begin(), overrides_.lower_bound(offset_));
  if (budget_ > 0) {
    budget_ -= sent;
    if (budget_ == 0 && onExhausted_) {
      auto callback = std::move(onExhausted_);
      onExhausted_ = nullptr;
      callback();
    }
  }
  return sent;
}

}  // namespace service
}  // namespace pom
