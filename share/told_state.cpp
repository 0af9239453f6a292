// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/told_state.h"

#include <string_view>
#include <vector>

#include "civ/bcd.h"
#include "civ/command_bytes.h"
#include "civ/frame.h"
#include "civ/mode_table.h"

namespace tavrin::share {

namespace {

bool Same(std::int64_t a, std::int64_t b) { return a == b; }
bool Same(const ToldState::Mode& a, const ToldState::Mode& b) {
  return a.mode == b.mode && a.filter == b.filter;
}

std::optional<ToldState::Mode> ModeOf(std::string_view data) {
  if (data.size() != 2 || civ::ModeOfCode(static_cast<unsigned char>(data[0])) == nullptr ||
      civ::FilterOfCode(static_cast<unsigned char>(data[1])) == nullptr)
    return std::nullopt;
  return ToldState::Mode{static_cast<unsigned char>(data[0]), static_cast<unsigned char>(data[1])};
}

// Commands after which the frequency and the mode are what they were: reads and settings of
// other things.
bool ChangesNeither(const civ::Frame& sent) {
  switch (sent.command) {
    case civ::kReadBandEdges:
    case civ::kSplit:
    case civ::kAntenna:
    case civ::kVoice:
    case civ::kLevel:
    case civ::kMeter:
    case civ::kIdentity:
    case civ::kRxTx:
      return true;
    case civ::kMemoryContents:  // the clock and the call sign, not the channels
      return !sent.data.empty() && static_cast<unsigned char>(sent.data[0]) == civ::kSettings;
    default:
      return false;
  }
}

}  // namespace

ToldState::ToldState(Clock& clock)
    : frequency_{std::nullopt, false, Timer(clock, kFreshMs, [this] { Stale(frequency_); })},
      mode_{std::nullopt, false, Timer(clock, kFreshMs, [this] { Stale(mode_); })} {}

template <typename Value>
void ToldState::Tell(Told<Value>& told, const Value& value, bool surprising) {
  // A read that finds the transceiver elsewhere than it last told: a broadcast did not come.
  if (surprising && told.value && !Same(*told.value, value)) broadcastsHeard_ = false;
  told.value = value;
  told.fresh = true;
  told.freshness.SetEnabled(false);
  told.freshness.SetEnabled(true);
}

template <typename Value>
void ToldState::Stale(Told<Value>& told) {
  told.fresh = false;
  told.freshness.SetEnabled(false);
}

void ToldState::Doubt() {
  Stale(frequency_);
  Stale(mode_);
  frequency_.value.reset();
  mode_.value.reset();
  unheard_ = false;
}

void ToldState::DoubtWhatCameUnheard() {
  if (unheard_) Doubt();
}

std::optional<std::int64_t> ToldState::Frequency() const {
  if (!broadcastsHeard_ || unheard_ || !frequency_.fresh) return std::nullopt;
  return frequency_.value;
}

std::optional<ToldState::Mode> ToldState::OperatingMode() const {
  if (!broadcastsHeard_ || unheard_ || !mode_.fresh) return std::nullopt;
  return mode_.value;
}

void ToldState::Answered(const std::string& reply) {
  DoubtWhatCameUnheard();
  // The reply begins with the echo of what was sent; the transceiver answers its last frame.
  const std::vector<std::string_view> pieces = civ::SplitFrames(reply);
  const auto sent = pieces.empty() ? std::nullopt : civ::ParseFrame(pieces.front());
  const auto answer = civ::FindAnswer(reply);
  const auto answered = answer ? civ::ParseFrame(*answer) : std::nullopt;
  if (!sent || sent->to != civ::kRigAddress || !answered) return Doubt();
  // A broadcast that came inside the reply is not read from it: what it told is unknown.
  for (const std::string_view piece : pieces) {
    const auto frame = civ::ParseFrame(piece);
    if (frame && frame->to == civ::kBroadcastAddress) return Doubt();
  }
  if (ChangesNeither(*sent)) return;
  // A read alone, or a setting with the read that follows it.
  const bool read = pieces.size() >= 2 && civ::ParseFrame(pieces[1]) &&
                    civ::ParseFrame(pieces[1])->to == civ::kControllerAddress;
  if (sent->command == civ::kReadFrequency && read && answered->command == civ::kReadFrequency) {
    if (const auto hz = civ::FrequencyFromBcd(answered->data)) return Tell(frequency_, *hz, true);
  }
  if (sent->command == civ::kReadMode && read && answered->command == civ::kReadMode) {
    if (const auto mode = ModeOf(answered->data)) return Tell(mode_, *mode, true);
  }
  const bool setWithRead = pieces.size() >= 2 && civ::ParseFrame(pieces[1]) &&
                           civ::ParseFrame(pieces[1])->to == civ::kRigAddress;
  if (sent->command == civ::kSetFrequency && setWithRead &&
      answered->command == civ::kReadFrequency) {
    if (const auto hz = civ::FrequencyFromBcd(answered->data)) return Tell(frequency_, *hz, false);
  }
  if (sent->command == civ::kSetMode && setWithRead && answered->command == civ::kReadMode) {
    if (const auto mode = ModeOf(answered->data)) return Tell(mode_, *mode, false);
  }
  // Mode settings alone (the panel's mode and filter options), taken: the last one with its
  // filter is the mode now.
  if (answered->command == civ::kAccepted) {
    std::optional<civ::Frame> last;
    for (const std::string_view piece : pieces) {
      const auto frame = civ::ParseFrame(piece);
      if (!frame || frame->to != civ::kRigAddress) break;
      if (frame->command != civ::kSetMode) return Doubt();
      last = frame;
    }
    if (last) {
      if (const auto mode = ModeOf(last->data)) return Tell(mode_, *mode, false);
    }
  }
  Doubt();
}

void ToldState::Unsolicited(const std::string& /*bytes*/) {
  // The broadcasts read from them follow; bytes that yield none (noise, the head of a
  // broadcast whose rest is still on the line) may hold news, until a broadcast or a read.
  unheard_ = true;
}

void ToldState::Broadcast(const std::string& frame) {
  unheard_ = false;
  const auto told = civ::ParseFrame(frame);
  if (told && told->to == civ::kBroadcastAddress && told->command == civ::kFrequencyBroadcast) {
    if (const auto hz = civ::FrequencyFromBcd(told->data)) {
      broadcastsHeard_ = true;
      return Tell(frequency_, *hz, false);
    }
  }
  if (told && told->to == civ::kBroadcastAddress && told->command == civ::kModeBroadcast) {
    if (const auto mode = ModeOf(told->data)) {
      broadcastsHeard_ = true;
      return Tell(mode_, *mode, false);
    }
  }
  Doubt();
}

void ToldState::Gone(Absence /*why*/) { Doubt(); }

bool ToldState::Back(Presence /*what*/) {
  Doubt();
  return true;
}

}  // namespace tavrin::share
