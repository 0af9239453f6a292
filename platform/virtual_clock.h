// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test double of the clock: virtual milliseconds that pass only when a test advances them.
// Timers and scheduled events fire in time order; equal times fire in the order they were
// scheduled. Time is kept in microseconds so that byte times on a simulated serial line
// (about 521 us at 19200 baud) are exact enough.
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/clock.h"

namespace tavrin {

class VirtualClock : public Clock {
 public:
  void Start(Timer& timer) override;
  void Stop(Timer& timer) override;

  // Runs an action once at an absolute time (in microseconds), used by simulated devices.
  void ScheduleAtMicros(std::int64_t micros, std::function<void()> action);

  // Lets `ms` milliseconds pass, firing everything that falls due in order.
  void Advance(int ms);
  void AdvanceMicros(std::int64_t micros);
  [[nodiscard]] std::int64_t NowMicros() const { return now_; }
  [[nodiscard]] double NowMs() const { return static_cast<double>(now_) / 1000.0; }

 private:
  struct Running {
    std::int64_t due;
    std::uint64_t generation;
  };
  // The heap holds small entries; the actions wait in slots of their own, so that keeping
  // the heap in order moves no closures (a simulated line schedules one event a byte).
  struct Event {
    std::int64_t due;
    std::uint64_t order;
    std::size_t slot;  // in actions_
  };
  std::int64_t now_ = 0;
  std::uint64_t nextGeneration_ = 1;
  std::uint64_t nextOrder_ = 1;
  std::map<Timer*, Running> timers_;
  std::vector<Event> events_;  // a heap, earliest on top
  std::vector<std::function<void()>> actions_;
  std::vector<std::size_t> freeSlots_;
};

}  // namespace tavrin
