// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window timers on Qt's event loop: one QTimer per Timer. After each tick the views are
// redrawn, as after a click.
#include <QTimer>
#include <map>
#include <memory>

#include "platform/clock.h"
#include "platform/qt/view_hub.h"

namespace tavrin {

class QtClock : public Clock {
 public:
  explicit QtClock(ViewHub& hub);
  ~QtClock() override;
  QtClock(const QtClock&) = delete;
  QtClock& operator=(const QtClock&) = delete;

  void Start(Timer& timer) override;
  void Stop(Timer& timer) override;

  // Timers counting now, for tests and diagnostics.
  [[nodiscard]] int RunningCount() const;

 private:
  void Tick(Timer* timer);

  ViewHub& hub_;
  std::map<Timer*, std::unique_ptr<QTimer>> timers_;
};

}  // namespace tavrin
