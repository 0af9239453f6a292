// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulated bus's sense of time taken from the tests' virtual clock, so that the
// transceiver's byte times and the program's timers run on one clock.
#include <cstdint>
#include <functional>
#include <utility>

#include "platform/virtual_clock.h"
#include "sim/bus.h"

namespace tavrin {

class ClockScheduler : public sim::Scheduler {
 public:
  explicit ClockScheduler(VirtualClock& clock) : clock_(clock) {}
  [[nodiscard]] std::int64_t NowMicros() const override { return clock_.NowMicros(); }
  void AtMicros(std::int64_t micros, std::function<void()> action) override {
    clock_.ScheduleAtMicros(micros, std::move(action));
  }

 private:
  VirtualClock& clock_;
};

}  // namespace tavrin
