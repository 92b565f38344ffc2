#include "platform/clock.h"

#include <time.h>

namespace tess {
namespace {

int64_t MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace

RealClock::RealClock() : origin_ms_(MonotonicMs()) {}

int64_t RealClock::NowMs() const { return MonotonicMs() - origin_ms_; }

}  // namespace tess
