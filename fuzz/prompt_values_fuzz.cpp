// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the values an operator types into the prompts of the radio and memory
// windows: the audio level, call sign, time and manual command, a memory channel to select,
// read or write (with its frequency, mode, filter, mark and label), the VFO frequency and
// mode, and the scan's range, speed and choice. The first byte picks the action, the rest is
// the typed answers, one a line; the program runs on the in-process transceiver as on the
// desktop, through the windows' own actions, so the parsing behind them may change freely.
//
// Whatever is typed: the program does not end; a refused value sends nothing; every frame
// sent (but a manual command's) is one well-formed CI-V frame to the transceiver, with none of
// the link's own codes in its data; a value the program accepts for the call sign, time or
// mode is accepted by the transceiver; and a scan moves only through channels 1 to 101.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/control_program.h"
#include "civ/command_bytes.h"
#include "fuzz/fuzz_support.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"
#include "radio/command_input.h"
#include "sim/channel_code.h"
#include "sim/frame.h"
#include "sim/sim_serial.h"
#include "sim/transceiver.h"

using namespace tavrin;

namespace {

enum class Action { SetVol, SetCall, SetTime, Manual, Msel, Mrd, Mset, SetFq, SetMd, Scan };
constexpr int kActions = 10;

// The transceiver's refusal, as it arrives behind the echo.
const std::string kRefusal = "\xFE\xFE\xE0\x64\xFA\xFD";

// One frame to the transceiver, none of the link's own codes (FA to FE) in its data.
void CheckFrameForm(const std::string& frame) {
  const auto parsed = sim::ParseFrame(frame);
  fuzz::Check(parsed.has_value() && parsed->to == sim::kRigAddress &&
              parsed->from == sim::kControllerAddress);
  for (const char byte : parsed->data)
    fuzz::Check(!civ::IsLinkCode(static_cast<unsigned char>(byte)));
}

// The channel a memory select (08 c1 c2) asks for, 0 for other frames.
int SelectedChannel(const std::string& frame) {
  const auto parsed = sim::ParseFrame(frame);
  if (!parsed || parsed->command != 0x08 || parsed->data.size() != 2) return 0;
  return sim::ParseChannelCode(parsed->data, false).value_or(-1);
}

void RunScan(ControlProgram& program, VirtualClock& clock, SimSerial& serial) {
  program.memory.ScanRig();
  for (int step = 0; step < 12 && program.memory.Runs("Scan Rig"); ++step) clock.Advance(100);
  for (const std::string& frame : serial.SentFrameBytes()) {
    const int channel = SelectedChannel(frame);
    fuzz::Check(channel == 0 || (channel >= 1 && channel <= sim::kChannelCount));
  }
}

void Run(Action action, ControlProgram& program) {
  RadioMain& radio = program.radio;
  switch (action) {
    case Action::SetVol:
      return radio.SetVol();
    case Action::SetCall:
      return radio.SetCall();
    case Action::SetTime:
      return radio.SetTime();
    case Action::Manual:
      return radio.ManualCommands();
    case Action::Msel:
      return radio.Msel();
    case Action::Mrd:
      return radio.Mrd();
    case Action::Mset:
      return radio.Mset();
    case Action::SetFq:
      return radio.SetFq();
    case Action::SetMd:
      return radio.SetMd();
    case Action::Scan:
      return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto action = static_cast<Action>(data[0] % kActions);
  VirtualClock clock;
  FakeDesktop desktop;
  static Files files("/nonexistent");
  sim::Transceiver rig;
  rig.FillDemoChannels();
  SimSerial serial(clock, rig);
  Platform platform{desktop, clock, serial, files};
  ControlProgram program(platform);
  program.InitFlags();
  program.InitFrameStrings();
  program.station.CallSign = "K1ABC";
  program.station.CommBaud = "19200,N,8,1";
  serial.SetSettings(program.station.CommBaud);
  if (serial.Open().Failed()) __builtin_trap();
  program.station.PortOpened = 1;

  if (action == Action::Scan) desktop.AnswerYes();  // "Are you sure?"
  for (const std::string& answer : fuzz::Lines(data + 1, size - 1)) desktop.Type(answer);

  if (action == Action::Scan) {
    RunScan(program, clock, serial);
    fuzz::Check(!desktop.ended);
    return 0;
  }
  Run(action, program);
  clock.Advance(60);
  // A chained command (a read after a select, the call sign read back) has its turn too.
  clock.Advance(60);
  fuzz::Check(!desktop.ended && !program.station.Ended);

  const std::vector<std::string> sent = serial.SentFrameBytes();
  if (!program.radio.LastRefusal.empty()) fuzz::Check(sent.empty());
  if (action != Action::Manual) {
    for (const std::string& frame : sent) CheckFrameForm(frame);
  }
  // (An audio level of 100 to 179 has a byte form and goes to the transceiver, which says
  // whether it takes it.)
  const bool checkedByRig =
      action == Action::SetCall || action == Action::SetTime || action == Action::SetMd;
  if (checkedByRig && program.radio.LastRefusal.empty()) {
    fuzz::Check(program.link.LastReply().find(kRefusal) == std::string::npos);
  }
  return 0;
}
