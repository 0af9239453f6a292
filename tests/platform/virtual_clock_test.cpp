// SPDX-License-Identifier: GPL-3.0-or-later
// Virtual time: events and timers fire in time order, ties in the order they were scheduled or
// started, periodic timers keep their rhythm, and one-shot timers can re-arm themselves.
#include "platform/virtual_clock.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace tavrin {
namespace {

TEST(VirtualClock, EventsFireInTimeOrderAndTiesInScheduleOrder) {
  VirtualClock clock;
  std::vector<std::string> fired;
  clock.ScheduleAtMicros(300, [&] { fired.push_back("c@300"); });
  clock.ScheduleAtMicros(100, [&] { fired.push_back("a@100"); });
  clock.ScheduleAtMicros(300, [&] { fired.push_back("d@300"); });
  clock.ScheduleAtMicros(200, [&] {
    fired.push_back("b@200");
    // Scheduled from inside an event for the same moment: still runs in this advance.
    clock.ScheduleAtMicros(200, [&] { fired.push_back("b2@200"); });
  });
  clock.AdvanceMicros(299);
  EXPECT_EQ(fired, (std::vector<std::string>{"a@100", "b@200", "b2@200"}));
  EXPECT_EQ(clock.NowMicros(), 299);
  clock.AdvanceMicros(1);
  EXPECT_EQ(fired, (std::vector<std::string>{"a@100", "b@200", "b2@200", "c@300", "d@300"}));
}

TEST(VirtualClock, PastEventsRunAtTheNextAdvance) {
  VirtualClock clock;
  clock.Advance(5);
  std::int64_t ranAt = -1;
  clock.ScheduleAtMicros(1000, [&] { ranAt = clock.NowMicros(); });
  EXPECT_EQ(ranAt, -1);
  clock.AdvanceMicros(0);
  EXPECT_EQ(ranAt, 5000);
}

TEST(VirtualClock, TimersDueTogetherFireInTheOrderTheyWereStarted) {
  VirtualClock clock;
  std::vector<int> fired;
  // Started in the opposite order of their addresses.
  std::array<std::unique_ptr<Timer>, 3> timers;
  for (int i = 0; i < 3; ++i) {
    timers[static_cast<std::size_t>(i)] =
        std::make_unique<Timer>(clock, 10, [&fired, i] { fired.push_back(i); });
  }
  timers[2]->SetEnabled(true);
  timers[0]->SetEnabled(true);
  timers[1]->SetEnabled(true);
  clock.Advance(20);
  EXPECT_EQ(fired, (std::vector<int>{2, 0, 1, 2, 0, 1}));
}

TEST(VirtualClock, EventsBeforeTimersAtTheSameMoment) {
  VirtualClock clock;
  std::vector<std::string> fired;
  Timer timer(clock, 1, [&] { fired.push_back("timer"); });
  timer.SetEnabled(true);
  clock.ScheduleAtMicros(1000, [&] { fired.push_back("bytes"); });
  clock.Advance(1);
  EXPECT_EQ(fired, (std::vector<std::string>{"bytes", "timer"}));
}

TEST(VirtualClock, PeriodicTimerKeepsItsRhythm) {
  VirtualClock clock;
  std::vector<double> at;
  Timer timer(clock, 10, [&] { at.push_back(clock.NowMs()); });
  clock.Advance(3);
  timer.SetEnabled(true);  // counts from 3 ms
  clock.Advance(35);
  EXPECT_EQ(at, (std::vector<double>{13, 23, 33}));
  timer.SetEnabled(true);  // already on: the interval runs on
  clock.Advance(5);
  EXPECT_EQ(at.back(), 43);
  timer.SetInterval(4);  // restarts from now (43)
  clock.Advance(5);
  EXPECT_EQ(at.back(), 47);
  timer.SetEnabled(false);
  clock.Advance(100);
  EXPECT_EQ(at.size(), 5u);
}

TEST(VirtualClock, OneShotTimersAndReArming) {
  VirtualClock clock;
  std::vector<double> oneShot;
  Timer* self = nullptr;
  Timer reply(clock, 50, [&] {
    oneShot.push_back(clock.NowMs());
    self->SetEnabled(false);
  });
  self = &reply;
  reply.SetEnabled(true);
  clock.Advance(200);
  EXPECT_EQ(oneShot, (std::vector<double>{50}));

  std::vector<double> rearmed;
  int count = 0;
  Timer* again = nullptr;
  Timer step(clock, 30, [&] {
    rearmed.push_back(clock.NowMs());
    again->SetEnabled(false);
    if (++count < 3) again->SetEnabled(true);  // re-armed: the next interval starts now
  });
  again = &step;
  step.SetEnabled(true);
  clock.Advance(200);
  EXPECT_EQ(rearmed, (std::vector<double>{230, 260, 290}));
}

TEST(VirtualClock, DestroyedTimerNeverFires) {
  VirtualClock clock;
  int ticks = 0;
  {
    Timer timer(clock, 5, [&] { ++ticks; });
    timer.SetEnabled(true);
  }
  clock.Advance(20);
  EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace tavrin
