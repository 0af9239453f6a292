// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as KESTRA.INI, and the settings string it carries. The
// program reads the file as at start-up (the settings, then the serial port opened with them),
// on the in-process transceiver; the real port's reader of the settings string reads the same
// string.
//
// Whatever the file holds: the program does not end, asks the port question at most three
// times, keeps each setting within its length, and opens the port only with a settings string
// of the form speed,parity,data bits,stop bits. What it would write back reads back the same.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "app/config_file.h"
#include "app/control_program.h"
#include "fuzz/fuzz_support.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/serial_settings.h"
#include "platform/virtual_clock.h"
#include "sim/sim_serial.h"
#include "sim/transceiver.h"

using namespace tavrin;

namespace {

struct Settings {
  std::string deftFile, callSign, commPort, commBaud;
  bool operator==(const Settings&) const = default;
};

Settings SettingsOf(const Station& s) { return {s.DeftFile, s.CallSign, s.CommPort, s.CommBaud}; }

void CheckSettingsString(const std::string& text) {
  const auto settings = ParseSerialSettings(text);
  if (!settings) return;
  fuzz::Check(settings->baud > 0 && settings->baud < 10'000'000);
  fuzz::Check(std::string("NEOMS").find(settings->parity) != std::string::npos);
  fuzz::Check(settings->dataBits >= 5 && settings->dataBits <= 8);
  fuzz::Check(settings->stopHalves >= 2 && settings->stopHalves <= 4);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchDirectory scratch("config-file-fuzz");
  const std::filesystem::path& directory = scratch.Path();
  const std::filesystem::path ini = directory / kConfigFileName;
  {
    std::ofstream out(ini, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  VirtualClock clock;
  FakeDesktop desktop;
  Files files(directory.string());
  sim::Transceiver radio;
  SimSerial serial(clock, radio);
  Platform platform{desktop, clock, serial, files};
  ControlProgram program(platform);
  program.InitFlags();
  program.InitFrameStrings();
  // Read as at start-up, and the port opened from what was read; the data file it names is
  // the data-file target's business.
  const ConfigReading first = ReadConfigFile(program);
  if (first.lastLine == "END") program.OpenCommPort();

  const Station& s = program.station;
  fuzz::Check(!desktop.ended && !s.Ended);
  fuzz::Check(s.DeftFile.size() <= 12 && s.CallSign.size() <= 10 && s.CommBaud.size() <= 11);
  std::size_t portQuestions = 0;
  for (const RecordedBox& box : desktop.boxes) {
    if (box.kind == RecordedBox::Kind::Input) ++portQuestions;
  }
  fuzz::Check(portQuestions <= 3);
  CheckSettingsString(s.CommBaud);
  if (serial.PortOpen()) fuzz::Check(ParseSerialSettings(s.CommBaud).has_value());

  // Written back (with the defaults for what was missing) and read again: the same settings.
  if (!WriteConfigFile(program)) return 0;
  const Settings written = SettingsOf(s);
  ControlProgram again(platform);
  const ConfigReading reading = ReadConfigFile(again);
  fuzz::Check(reading.lastLine == "END");
  const Settings read = SettingsOf(again.station);
  // A setting longer than its place is cut when read; what fits must come back as written.
  fuzz::Check(read.callSign == written.callSign.substr(0, 10));
  fuzz::Check(read.commPort == written.commPort.substr(0, 4));
  fuzz::Check(read.commBaud == written.commBaud.substr(0, 11));
  fuzz::Check(read.deftFile == written.deftFile.substr(0, 12));
  return 0;
}
