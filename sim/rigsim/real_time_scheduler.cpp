// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/rigsim/real_time_scheduler.h"

#include <algorithm>

namespace tavrin::rigsim {

RealTimeScheduler::RealTimeScheduler() : start_(std::chrono::steady_clock::now()) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] { RunDue(); });
}

std::int64_t RealTimeScheduler::NowMicros() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               start_)
      .count();
}

void RealTimeScheduler::AtMicros(std::int64_t micros, std::function<void()> action) {
  due_.emplace(std::make_pair(micros, order_++), std::move(action));
  Rearm();
}

void RealTimeScheduler::RunDue() {
  // Actions may schedule more; each pass takes the earliest that has fallen due.
  while (!due_.empty() && due_.begin()->first.first <= NowMicros()) {
    auto action = std::move(due_.begin()->second);
    due_.erase(due_.begin());
    action();
  }
  Rearm();
}

void RealTimeScheduler::Rearm() {
  if (due_.empty()) {
    timer_.stop();
    return;
  }
  const std::int64_t wait = due_.begin()->first.first - NowMicros();
  // Millisecond resolution: round up so that nothing runs early.
  const int ms = static_cast<int>(std::clamp<std::int64_t>((wait + 999) / 1000, 0, 60'000));
  timer_.start(ms);
}

}  // namespace tavrin::rigsim
