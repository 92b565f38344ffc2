// Time for the event loop: a monotonic millisecond clock.
//
// The client never reads the system time directly for its own scheduling; it
// asks the loop's Clock. Production uses RealClock. Tests use VirtualClock,
// which only moves when the event loop (or the test) moves it, so periods of
// seconds and minutes run in milliseconds and always in the same order.
#pragma once

#include <cstdint>

namespace tess {

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds since an arbitrary fixed origin; never decreases.
  virtual int64_t NowMs() const = 0;

  // True for a clock that moves only through AdvanceTo.
  virtual bool IsVirtual() const = 0;

  // Moves a virtual clock forward to `ms` (never backwards). A real clock
  // ignores the call: its time passes by itself.
  virtual void AdvanceTo(int64_t ms) = 0;
};

// CLOCK_MONOTONIC, counted from construction.
class RealClock final : public Clock {
 public:
  RealClock();
  int64_t NowMs() const override;
  bool IsVirtual() const override { return false; }
  void AdvanceTo(int64_t) override {}

 private:
  int64_t origin_ms_;
};

// Starts at 0; moved by AdvanceTo or Advance.
class VirtualClock final : public Clock {
 public:
  int64_t NowMs() const override { return now_ms_; }
  bool IsVirtual() const override { return true; }
  void AdvanceTo(int64_t ms) override {
    if (ms > now_ms_) now_ms_ = ms;
  }
  void Advance(int64_t ms) { AdvanceTo(now_ms_ + ms); }

 private:
  int64_t now_ms_ = 0;
};

}  // namespace tess
