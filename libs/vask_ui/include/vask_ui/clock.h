#pragma once

#include <chrono>

/// The toolkit's idea of "now" for input gestures and timers that events do not carry (click
/// counting, caret blinking). Tests install a ManualClock so that time only moves when they
/// say so.
namespace vask_ui::ui_clock {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;

/// The current instant: the installed manual clock's, else the steady clock's.
TimePoint now();

/// While alive, `now()` answers this clock's time. Not nestable; UI thread only.
class ManualClock {
 public:
  explicit ManualClock(TimePoint start = TimePoint{} + std::chrono::hours(1));
  ~ManualClock();
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  TimePoint now() const { return now_; }
  void advance(Clock::duration by) { now_ += by; }

 private:
  TimePoint now_;
};

}  // namespace vask_ui::ui_clock
