// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as what rigsim receives from a controller. They go onto
// the simulated CI-V bus in pieces (the first byte of each piece says how long it is and how
// long the controller pauses before it), the transceiver carries out every frame it finds,
// and the line hands back echo, answers and front-panel broadcasts.
//
// The controller must get its own bytes back, all and in order; the transceiver answers a frame
// with nothing or one well-formed frame to the one who asked; and it keeps a state it can
// show: a tunable frequency, a known mode and filter, channels with ten-character names.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/virtual_clock.h"
#include "sim/bus.h"
#include "sim/clock_scheduler.h"
#include "sim/frame.h"
#include "sim/transceiver.h"

using namespace tavrin;

namespace {

// Each frame the controller completed, handed to the transceiver alone: its answer is nothing
// or one well-formed frame from the transceiver to the one who asked.
void CheckAnswers(sim::Transceiver& radio, const std::string& sent) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = sent.find(sim::kEndOfMessage, start);
    if (end == std::string::npos) return;
    const std::string_view piece = std::string_view(sent).substr(start, end + 1 - start);
    const std::size_t preamble = piece.rfind("\xFE\xFE");
    if (preamble != std::string_view::npos) {
      const std::string_view frame = piece.substr(preamble);
      const std::string answer = radio.Handle(frame);
      if (!answer.empty()) {
        const auto parsed = sim::ParseFrame(answer);
        fuzz::Check(parsed.has_value() && parsed->from == sim::kRigAddress &&
                    parsed->to == sim::ParseFrame(frame)->from);
      }
    }
    start = end + 1;
  }
}

void CheckState(const sim::Transceiver& radio) {
  if (!radio.OperatingOnBlankChannel()) {
    fuzz::Check(sim::IsTunable(radio.FrequencyHz()));
    fuzz::Check(sim::IsKnownMode(radio.Mode()) && sim::IsKnownFilter(radio.Filter()));
  }
  fuzz::Check(radio.CurrentChannel() >= 1 && radio.CurrentChannel() <= sim::kChannelCount);
  fuzz::Check(radio.Volume() >= 0 && radio.Volume() <= 255);
  fuzz::Check(radio.ClockHours() >= 0 && radio.ClockHours() < 24);
  fuzz::Check(radio.ClockMinutes() >= 0 && radio.ClockMinutes() < 60);
  for (int channel = 1; channel <= sim::kChannelCount; ++channel) {
    const sim::MemoryChannel& memory = radio.Channel(channel);
    fuzz::Check(memory.name.size() == sim::kNameLength && memory.tone.size() == sim::kToneLength);
    if (!memory.blank) fuzz::Check(sim::IsKnownMode(memory.mode));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  VirtualClock clock;
  ClockScheduler scheduler(clock);
  sim::Transceiver radio;
  radio.FillDemoChannels();
  std::string received;
  sim::Bus bus(scheduler, radio, [&received](char byte) { received.push_back(byte); });

  std::string sent;
  std::size_t at = 0;
  while (at < size) {
    const std::uint8_t head = data[at++];
    const std::size_t length = std::min<std::size_t>(1 + (head & 0x1F), size - at);
    const std::string piece(reinterpret_cast<const char*>(data + at), length);
    at += length;
    // A pause of 0 to 7 byte times: short ones keep frames together, long ones let the
    // transceiver answer in between.
    clock.AdvanceMicros(static_cast<std::int64_t>(head >> 5) * bus.ByteMicros());
    bus.ControllerSend(piece);
    sent += piece;
    // The front panel is turned now and then, so that broadcasts share the line.
    if ((head & 0xE0) == 0xE0) radio.TurnDial(100);
  }
  // Long enough for everything on the line: each byte sent is echoed, and answers are shorter
  // than the frames they answer but for a memory read's.
  clock.AdvanceMicros(static_cast<std::int64_t>(4 * sent.size() + 200) * bus.ByteMicros() +
                      200'000);

  // Every byte the controller sent came back to it, in order, between the transceiver's.
  std::size_t echoed = 0;
  for (std::size_t i = 0; i < received.size() && echoed < sent.size(); ++i) {
    if (received[i] == sent[echoed]) ++echoed;
  }
  fuzz::Check(echoed == sent.size());
  CheckState(radio);

  sim::Transceiver alone;
  CheckAnswers(alone, sent);
  CheckState(alone);
  return 0;
}
