// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as what the transceiver's port delivers. They go to the
// reply decoder (twice, so that toggles such as the band edge run on), to the start-up
// synchronisation or belmarq's identity exchange, and to the transceive handling, which cuts
// them into frames for DecodeTransceive. The first byte picks the program's state.
//
// Whatever comes, the program must not crash nor end: a missing identity answer at the end of
// the synchronisation shows the "RADIO NOT READY" box and the program runs on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/control_program.h"
#include "fuzz/silent_serial.h"
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
