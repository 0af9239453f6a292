// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as what the transceiver's port delivers. They go to the
// reply decoder (twice, so that toggles such as the band edge run on), to the start-up
// synchronisation or belmarq's identity exchange, and to the transceive handling, which cuts
// them into frames for DecodeTransceive. The first byte picks the program's state. They are
// also searched for the answer to a memory read, as a backup and the check of an upload do.
//
// Whatever comes, the program must not crash nor end: a missing identity answer at the end of
// the synchronisation shows the "RADIO NOT READY" box and the program runs on. The answer to a
// memory read is the first well-formed answer for the channel asked that stands whole among
// the bytes, never a frame for another channel nor bytes of two frames.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/control_program.h"
#include "civ/frame.h"
#include "fuzz/silent_serial.h"
#include "memory/memory_answer.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"

namespace {

using namespace tavrin;

void Check(bool condition) {
  if (!condition) std::abort();
}

// The fields a decoder writes keep their forms: a frequency is eight characters, a memory name
// ten; a field is blank, empty or untouched otherwise.
void CheckDisplays(const ControlProgram& program) {
  const Station& s = program.station;
  Check(s.FrequencyText.empty() || s.FrequencyText.size() == 8);
  Check(s.DecodedLabel.size() == 10);
  const std::size_t text1 = program.radio.Text1.size();
  Check(text1 <= 1 || text1 == 8);
}

// What the answer to a read of `channel` must be, found a plainer way: every place where the
// bytes of a well-formed answer for it stand whole (nothing in them that would end or begin a
// frame), the first one taken.
MemoryAnswer ExpectedMemoryAnswer(const std::string& bytes, int channel) {
  const std::string head = civ::AnswerHead() + '\x1A' + '\x00' + civ::MemoryChannelCode(channel);
  const auto whole = [&bytes](std::size_t from, std::size_t length) {
    for (std::size_t i = from; i < from + length; ++i) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      if (byte == 0xFE || byte == 0xFD) return false;
    }
    return true;
  };
  for (std::size_t at = bytes.find(head); at != std::string::npos; at = bytes.find(head, at + 1)) {
    const std::size_t after = at + head.size();
    if (bytes.size() >= after + 2 && bytes.compare(after, 2, "\xFF\xFD") == 0)
      return {MemoryAnswer::Kind::Blank, {}};
    const std::size_t recordAt = after - 2;
    const std::size_t end = recordAt + civ::kMemoryRecordLength;
    if (end >= bytes.size() || bytes[end] != '\xFD' || !whole(recordAt, civ::kMemoryRecordLength))
      continue;
    const auto record =
        civ::MemoryRecord::FromBytes(std::string_view(bytes).substr(recordAt, end - recordAt));
    if (record && record->WellFormed()) return {MemoryAnswer::Kind::Filled, *record};
  }
  const bool spoke = bytes.find(civ::AnswerHead()) != std::string::npos;
  return {spoke ? MemoryAnswer::Kind::Malformed : MemoryAnswer::Kind::Silent, {}};
}

// The channel the first answer to a memory read in the bytes names, else 7.
int ChannelAsked(const std::string& bytes) {
  const std::string head = civ::AnswerHead() + '\x1A' + '\x00';
  const std::size_t at = bytes.find(head);
  if (at == std::string::npos || at + head.size() + 2 > bytes.size()) return 7;
  return civ::ChannelOfCode(std::string_view(bytes).substr(at + head.size(), 2)).value_or(7);
}

void CheckMemoryAnswer(const std::string& bytes) {
  const int channel = ChannelAsked(bytes);
  const MemoryAnswer found = FindMemoryAnswer(bytes, channel);
  const MemoryAnswer expected = ExpectedMemoryAnswer(bytes, channel);
  Check(found.kind == expected.kind);
  Check(found.kind != MemoryAnswer::Kind::Filled || found.record == expected.record);
  // The channel the found record names is the one asked.
  Check(found.kind != MemoryAnswer::Kind::Filled ||
        civ::ChannelOfCode(found.record.channel) == channel);
}

Build BuildOf(std::uint8_t choice) {
  switch (choice & 3) {
    case 1:
      return Build::Korvid;
    case 2:
      return Build::Belmarq;
    default:
      return Build::Tavrin;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t state = data[0];
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  CheckMemoryAnswer(bytes);

  VirtualClock clock;
  FakeDesktop desktop;
  Files files("/nonexistent");
  SilentSerial serial;
  Platform platform{desktop, clock, serial, files};
  ControlProgram program(platform, BuildOf(static_cast<std::uint8_t>(state >> 6)));
  program.InitFrameStrings();
  Station& s = program.station;
  s.PortOpened = 1;
  s.SyncStep = state & 7;
  s.EdgeUpper = (state & 8) != 0;
  s.AwaitingSquelch = (state & 16) != 0;
  s.AutoStatusOn = (state & 32) != 0;
  s.MemChannelText = "7";

  program.decoder.DecodeReply(bytes);
  program.decoder.DecodeReply(bytes);
  Check(!desktop.ended);
  CheckDisplays(program);

  const int step = s.SyncStep;
  const bool belmarq = program.build == Build::Belmarq;
  program.synchronisation.Step(bytes);
  const bool notReady = bytes.size() < 15 && step == (belmarq ? 2 : 6);
  Check(!desktop.ended);
  Check(desktop.boxes.size() == (notReady ? 1U : 0U));

  program.link.HandleUnsolicited(bytes);
  program.decoder.DecodeTransceive(bytes);
  Check(!desktop.ended);
  CheckDisplays(program);

  // Whatever was sent meanwhile is answered by silence.
  clock.Advance(60);
  Check(!desktop.ended);
  return 0;
}
