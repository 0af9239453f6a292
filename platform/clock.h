// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window timers. A Timer holds its interval, its enabled flag and its tick action; a Clock
// (QTimer-backed in platform/qt, virtual time in virtual_clock.h) makes it fire.
#include <functional>

namespace tavrin {

class Timer;

class Clock {
 public:
  virtual ~Clock() = default;
  // Starts counting the timer's interval from now; the timer then fires every interval
  // until stopped.
  virtual void Start(Timer& timer) = 0;
  virtual void Stop(Timer& timer) = 0;
};

class Timer {
 public:
  Timer(Clock& clock, int intervalMs, std::function<void()> tick);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Enabling a disabled timer starts its interval from now; enabling an enabled timer
  // leaves its running interval alone.
  void SetEnabled(bool on);
  [[nodiscard]] bool Enabled() const { return enabled_; }
  [[nodiscard]] int Interval() const { return intervalMs_; }
  void SetInterval(int ms);
  // Called by the clock when the interval has run out.
  void Fire();

 private:
  Clock& clock_;
  int intervalMs_;
  bool enabled_ = false;
  std::function<void()> tick_;
};

}  // namespace tavrin
