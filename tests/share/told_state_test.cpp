// SPDX-License-Identifier: GPL-3.0-or-later
// What the transceiver told, followed from the link's reports: which replies and broadcasts
// keep the frequency and mode, and which leave them in doubt.
#include "share/told_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "civ/bcd.h"
#include "civ/command_bytes.h"
#include "civ/frame.h"
#include "platform/virtual_clock.h"

namespace tavrin::share {
namespace {

using civ::Bytes;

std::string Sent(std::initializer_list<unsigned char> command, const std::string& data = {}) {
  return civ::ControllerFrame(Bytes(command) + data);
}
std::string Answer(std::initializer_list<unsigned char> command, const std::string& data = {}) {
  return civ::BuildFrame(civ::kControllerAddress, civ::kRigAddress, Bytes(command) + data);
}
std::string Broadcast(unsigned char command, const std::string& data) {
  return civ::BuildFrame(civ::kBroadcastAddress, civ::kRigAddress, Bytes({command}) + data);
}
std::string Hz(std::int64_t hz) { return civ::FrequencyToBcd(hz); }

TEST(ToldStateTest, WhatKeepsTheFrequencyAndModeAndWhatLeavesThemInDoubt) {
  const std::string read = Sent({civ::kReadFrequency});
  const std::string told = read + Answer({civ::kReadFrequency}, Hz(14'195'000));
  const std::string toldMode = Sent({civ::kReadMode}) + Answer({civ::kReadMode}, Bytes({0x01, 0x02}));
  using Step = std::function<void(ToldState&, VirtualClock&)>;
  const auto answered = [](std::string reply) -> Step {
    return [reply](ToldState& state, VirtualClock&) { state.Answered(reply); };
  };
  const auto broadcast = [](std::string frame) -> Step {
    return [frame](ToldState& state, VirtualClock&) {
      state.Unsolicited(frame);
      state.Broadcast(frame);
    };
  };
  const auto wait = [](int ms) -> Step {
    return [ms](ToldState&, VirtualClock& clock) { clock.Advance(ms); };
  };
  const struct {
    const char* what;
    std::vector<Step> steps;
    std::optional<std::int64_t> frequency;
    bool modeKnown;
  } cases[] = {
      {"nothing told yet", {}, std::nullopt, false},
      {"a read", {answered(told), answered(toldMode)}, 14'195'000, true},
      {"a read, fresh a little less than two seconds",
       {answered(told), wait(ToldState::kFreshMs - 1)}, 14'195'000, false},
      {"a read two seconds ago", {answered(told), wait(ToldState::kFreshMs)}, std::nullopt, false},
      {"a broadcast", {broadcast(Broadcast(civ::kFrequencyBroadcast, Hz(7'074'000)))}, 7'074'000,
       false},
      {"a mode broadcast", {broadcast(Broadcast(civ::kModeBroadcast, Bytes({0x03, 0x01})))},
       std::nullopt, true},
      {"a setting with its read-back",
       {answered(Sent({civ::kSetFrequency}, Hz(7'050'000)) + read +
                 Answer({civ::kReadFrequency}, Hz(7'050'000)))},
       7'050'000, false},
      {"the panel's mode options, taken",
       {answered(Sent({civ::kSetMode}, Bytes({0x03})) + Sent({civ::kSetMode}, Bytes({0x03, 0x03})) +
                 Answer({civ::kAccepted}))},
       std::nullopt, true},
      {"the panel's mode option, refused",
       {answered(toldMode), answered(Sent({civ::kSetMode}, Bytes({0x03})) + Answer({civ::kRefused}))},
       std::nullopt, false},
      {"a PTT read changes neither",
       {answered(told), answered(Sent({civ::kRxTx, 0x00}) + Answer({civ::kRxTx, 0x00, 0x00}))},
       14'195'000, false},
      {"the sub receiver selected",
       {answered(told), answered(Sent({civ::kSelectVfo, civ::kSubReceiver}) + Answer({civ::kAccepted}))},
       std::nullopt, false},
      {"a memory channel read",
       {answered(told), answered(Sent({civ::kMemoryContents, 0x00, 0x00, 0x01}) +
                                 Answer({civ::kMemoryContents, 0x00, 0x00, 0x01, civ::kNoData}))},
       std::nullopt, false},
      {"a read unanswered", {answered(told), answered(read)}, std::nullopt, false},
      {"a broadcast inside a reply",
       {answered(told), answered(Sent({civ::kRxTx, 0x00}) +
                                 Broadcast(civ::kFrequencyBroadcast, Hz(14'196'000)) +
                                 Answer({civ::kRxTx, 0x00, 0x00}))},
       std::nullopt, false},
      {"a cut broadcast",
       {answered(told), broadcast(Broadcast(civ::kFrequencyBroadcast, Hz(7'074'000)).substr(0, 8))},
       std::nullopt, false},
      {"noise without a broadcast",
       {answered(told), [](ToldState& state, VirtualClock&) { state.Unsolicited("\xFE\x13"); }},
       std::nullopt, false},
      {"noise, then a broadcast",
       {answered(told), [](ToldState& state, VirtualClock&) { state.Unsolicited("\xFE\x13"); },
        broadcast(Broadcast(civ::kFrequencyBroadcast, Hz(14'196'000)))},
       14'196'000, false},
      {"the device gone", {answered(told), [](ToldState& state, VirtualClock&) {
                             state.Gone(LinkOwner::Absence::DeviceGone);
                           }},
       std::nullopt, false},
      {"the transceiver back", {answered(told), [](ToldState& state, VirtualClock&) {
                                  state.Back(LinkOwner::Presence::Radio);
                                }},
       std::nullopt, false},
      // The dial moved without a broadcast: its broadcasts do not come.
      {"a read elsewhere than told",
       {answered(told), wait(ToldState::kFreshMs),
        answered(read + Answer({civ::kReadFrequency}, Hz(14'195'500)))},
       std::nullopt, false},
      {"a read elsewhere than told, then a broadcast",
       {answered(told), wait(ToldState::kFreshMs),
        answered(read + Answer({civ::kReadFrequency}, Hz(14'195'500))),
        broadcast(Broadcast(civ::kFrequencyBroadcast, Hz(14'196'000)))},
       14'196'000, false},
  };
  for (const auto& c : cases) {
    VirtualClock clock;
    ToldState state(clock);
    for (const Step& step : c.steps) step(state, clock);
    EXPECT_EQ(state.Frequency(), c.frequency) << c.what;
    EXPECT_EQ(state.OperatingMode().has_value(), c.modeKnown) << c.what;
  }
}

}  // namespace
}  // namespace tavrin::share
