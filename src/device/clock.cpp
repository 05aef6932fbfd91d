#include "device/clock.h"

#include <ctime>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace zelt {
namespace {

timespec Now() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now;
}

}  // namespace

SteadyClock::SteadyClock() {
#ifdef __linux__
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

std::uint64_t SteadyClock::NowMs() {
  timespec now = Now();
  return static_cast<std::uint64_t>(now.tv_sec) * 1000 +
         static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
}

void SteadyClock::SleepMs(std::uint32_t ms) {
  // An absolute deadline is immune to interruption by signals: the loop resumes the same sleep.
  timespec deadline = Now();
  deadline.tv_sec += ms / 1000;
  deadline.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
  if (deadline.tv_nsec >= 1000000000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1000000000L;
  }
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) != 0) {
  }
}

}  // namespace zelt
