// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_clock.h"

#include <algorithm>

namespace tavrin {

namespace {

// Below this interval a timer keeps millisecond accuracy (the reply and poll timers of the
// radio link); longer ones may be coalesced by the system to save wake-ups.
constexpr int kPreciseBelowMs = 1000;

}  // namespace

QtClock::QtClock(ViewHub& hub) : hub_(hub) {}

QtClock::~QtClock() {
  for (auto& [timer, qtimer] : timers_) qtimer->stop();
}

void QtClock::Start(Timer& timer) {
  auto& slot = timers_[&timer];
  if (!slot) {
    slot = std::make_unique<QTimer>();
    Timer* key = &timer;
    QObject::connect(slot.get(), &QTimer::timeout, slot.get(), [this, key] { Tick(key); });
  }
  const int interval = std::max(1, timer.Interval());
  slot->setTimerType(interval < kPreciseBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer);
  slot->start(interval);
}

void QtClock::Stop(Timer& timer) {
  // The QTimer is kept (stopped) rather than deleted: Stop is often called from the timer's
  // own tick, inside the QTimer's signal. A timer that is started again reuses it.
  auto it = timers_.find(&timer);
  if (it != timers_.end()) it->second->stop();
}

int QtClock::RunningCount() const {
  return static_cast<int>(std::count_if(
      timers_.begin(), timers_.end(), [](const auto& entry) { return entry.second->isActive(); }));
}

void QtClock::Tick(Timer* timer) {
  // Timer::Fire runs the tick only while the timer is enabled; a timer destroyed while
  // enabled has stopped its QTimer, so no tick reaches a dead Timer.
  timer->Fire();
  hub_.RefreshAll();
}

}  // namespace tavrin
