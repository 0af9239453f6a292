// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <utility>

namespace tavrin {

Timer::Timer(Clock& clock, int intervalMs, std::function<void()> tick)
    : clock_(clock), intervalMs_(intervalMs), tick_(std::move(tick)) {}

Timer::~Timer() {
  if (enabled_) clock_.Stop(*this);
}

void Timer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (on) {
    clock_.Start(*this);
  } else {
    clock_.Stop(*this);
  }
}

void Timer::SetInterval(int ms) {
  intervalMs_ = ms;
  if (enabled_) clock_.Start(*this);
}

void Timer::Fire() {
  if (enabled_ && tick_) tick_();
}

}  // namespace tavrin
