// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/virtual_clock.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tavrin {

void VirtualClock::Start(Timer& timer) {
  timers_[&timer] = {now_ + std::int64_t{std::max(1, timer.Interval())} * 1000, nextGeneration_++};
}

void VirtualClock::Stop(Timer& timer) { timers_.erase(&timer); }

namespace {

// The heap keeps the earliest event (the first scheduled among equal times) on top.
constexpr auto kLaterEvent = [](const auto& a, const auto& b) {
  return a.due != b.due ? a.due > b.due : a.order > b.order;
};

}  // namespace

void VirtualClock::ScheduleAtMicros(std::int64_t micros, std::function<void()> action) {
  std::size_t slot = actions_.size();
  if (freeSlots_.empty()) {
    actions_.push_back(std::move(action));
  } else {
    slot = freeSlots_.back();
    freeSlots_.pop_back();
    actions_[slot] = std::move(action);
  }
  events_.push_back({std::max(micros, now_), nextOrder_++, slot});
  std::push_heap(events_.begin(), events_.end(), kLaterEvent);
}

void VirtualClock::Advance(int ms) { AdvanceMicros(std::int64_t{ms} * 1000); }

void VirtualClock::AdvanceMicros(std::int64_t micros) {
  const std::int64_t target = now_ + micros;
  for (;;) {
    // The earliest event and the earliest timer; events win ties (bytes arrive, then a
    // timer reads them).
    // The earliest timer; among timers due together, the one started first (the map is
    // ordered by address, which says nothing about the order of starting).
    Timer* timer = nullptr;
    std::int64_t timerDue = std::numeric_limits<std::int64_t>::max();
    std::uint64_t timerGeneration = 0;
    for (const auto& [t, running] : timers_) {
      if (running.due < timerDue ||
          (running.due == timerDue && running.generation < timerGeneration)) {
        timerDue = running.due;
        timerGeneration = running.generation;
        timer = t;
      }
    }
    const std::int64_t eventDue =
        events_.empty() ? std::numeric_limits<std::int64_t>::max() : events_.front().due;
    if (std::min(eventDue, timerDue) > target) break;
    if (eventDue <= timerDue) {
      now_ = eventDue;
      std::pop_heap(events_.begin(), events_.end(), kLaterEvent);
      const std::size_t slot = events_.back().slot;
      events_.pop_back();
      auto action = std::exchange(actions_[slot], nullptr);
      freeSlots_.push_back(slot);
      action();
      continue;
    }
    now_ = timerDue;
    const std::uint64_t generation = timers_[timer].generation;
    timer->Fire();
    // A periodic timer goes on from its due time unless its tick stopped or restarted it.
    auto still = timers_.find(timer);
    if (still != timers_.end() && still->second.generation == generation) {
      still->second.due += std::int64_t{std::max(1, timer->Interval())} * 1000;
    }
  }
  // An action may have let time pass itself (a box held open while the timers go on): time
  // never runs back.
  now_ = std::max(now_, target);
}

}  // namespace tavrin
