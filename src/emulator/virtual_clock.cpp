#include "emulator/virtual_clock.h"

namespace zelt {

std::uint64_t VirtualClock::NowMs() {
  std::lock_guard lock(mutex_);
  return now_ms_;
}

void VirtualClock::SleepMs(std::uint32_t ms) {
  std::lock_guard lock(mutex_);
  now_ms_ += ms;
  total_ms_ += ms;
  pauses_.push_back(ms);
}

std::vector<std::uint32_t> VirtualClock::pauses() const {
  std::lock_guard lock(mutex_);
  return pauses_;
}

std::uint64_t VirtualClock::total_paused_ms() const {
  std::lock_guard lock(mutex_);
  return total_ms_;
}

void VirtualClock::ClearPauses() {
  std::lock_guard lock(mutex_);
  pauses_.clear();
  total_ms_ = 0;
}

}  // namespace zelt
