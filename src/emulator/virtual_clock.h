#pragma once
// Virtual time for tests and the virtual mouse: a pause advances the clock at once and is recorded,
// so a test can assert the exact pauses a protocol took.

#include <cstdint>
#include <mutex>
#include <vector>

#include "device/clock.h"

namespace zelt {

class VirtualClock final : public Clock {
 public:
  std::uint64_t NowMs() override;
  void SleepMs(std::uint32_t ms) override;

  std::vector<std::uint32_t> pauses() const;
  std::uint64_t total_paused_ms() const;
  void ClearPauses();

 private:
  mutable std::mutex mutex_;
  std::uint64_t now_ms_ = 0;
  std::uint64_t total_ms_ = 0;
  std::vector<std::uint32_t> pauses_;
};

// Counts the pauses of a real clock while passing them through: the benchmarks compare the time a
// transfer took with the sum of the pauses the protocol mandates for it.
class CountingClock final : public Clock {
 public:
  explicit CountingClock(Clock& inner) : inner_(inner) {}
  std::uint64_t NowMs() override { return inner_.NowMs(); }
  void SleepMs(std::uint32_t ms) override {
    total_ms_ += ms;
    inner_.SleepMs(ms);
  }
  std::uint64_t total_paused_ms() const { return total_ms_; }
  void Reset() { total_ms_ = 0; }

 private:
  Clock& inner_;
  std::uint64_t total_ms_ = 0;
};

}  // namespace zelt
