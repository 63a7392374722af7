#include "vask_ui/clock.h"

#include <cassert>

namespace vask_ui::ui_clock {
namespace {

const ManualClock* g_manual = nullptr;

}  // namespace

TimePoint now() {
  return g_manual != nullptr ? g_manual->now() : Clock::now();
}

ManualClock::ManualClock(TimePoint start) : now_(start) {
  assert(g_manual == nullptr && "only one manual clock at a time");
  g_manual = this;
}

ManualClock::~ManualClock() {
  g_manual = nullptr;
}

}  // namespace vask_ui::ui_clock
