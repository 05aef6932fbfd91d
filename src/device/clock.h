#pragma once
// Time as the device protocol sees it: every mandated pause goes through a Clock, so tests and the
// virtual mouse can run in virtual time and check the pauses taken.

#include <cstdint>

namespace zelt {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary fixed point.
  virtual std::uint64_t NowMs() = 0;
  // Pauses for at least `ms` milliseconds.
  virtual void SleepMs(std::uint32_t ms) = 0;
};

// Wall time: a monotonic clock and real sleeps with minimal timer slack, so a pause overshoots
// by microseconds rather than the kernel's default 50.
class SteadyClock final : public Clock {
 public:
  SteadyClock();
  std::uint64_t NowMs() override;
  void SleepMs(std::uint32_t ms) override;
};

}  // namespace zelt
