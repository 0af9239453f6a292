// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bus's time in rigsim: the monotonic clock, and actions run from the Qt event loop when
// they fall due (in time order; equal times in the order they were scheduled).
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "sim/bus.h"

namespace tavrin::rigsim {

class RealTimeScheduler : public QObject, public sim::Scheduler {
  Q_OBJECT

 public:
  RealTimeScheduler();
  [[nodiscard]] std::int64_t NowMicros() const override;
  void AtMicros(std::int64_t micros, std::function<void()> action) override;

 private:
  void RunDue();
  void Rearm();

  std::chrono::steady_clock::time_point start_;
  std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> due_;
  std::uint64_t order_ = 0;
  QTimer timer_;
};

}  // namespace tavrin::rigsim
