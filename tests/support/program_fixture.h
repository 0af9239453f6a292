// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A control program on test doubles: virtual clock, scripted desktop, a temporary working
// directory, and the in-process simulated transceiver on the serial line.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/control_program.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"
#include "sim/sim_serial.h"
#include "sim/sim_serial_devices.h"
#include "sim/transceiver.h"

namespace tavrin::testing {

// Bytes from a list of values: Bytes({0xFE, 0xFE}).
std::string Bytes(std::initializer_list<int> values);
// A frame as the controller sends it: FE FE 64 E0, the command bytes, FD.
std::string Frame(std::initializer_list<int> command);

// The four station settings together, to set, compare and write them at once.
struct Settings {
  std::string deftFile, callSign, commPort, commBaud;
  bool operator==(const Settings&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Settings& s);
Settings SettingsOf(const Station& station);
void Apply(const Settings& settings, Station& station);
// KESTRA.INI as the writer lays it out: title, blank, the four key lines, blank, END.
std::string IniText(const Settings& settings);
// Every box shown so far as "title: text", for exact comparisons in one line.
std::vector<std::string> BoxTexts(const FakeDesktop& desktop);
// The serial port as "COM1 19200,N,8,1" while it is open, else "closed".
std::string PortState(const SerialControl& serial);

class ProgramFixture : public ::testing::Test {
 protected:
  ProgramFixture();
  ~ProgramFixture() override;

  // KESTRA.INI in the working directory with these settings and END.
  void WriteConfig(const std::string& deftFile = "KESTRA.TXT",
                   const std::string& callSign = "K1ABC", const std::string& commPort = "COM1",
                   const std::string& commBaud = "19200,N,8,1");
  void WriteFile(const std::string& name, const std::string& contents);
  [[nodiscard]] std::string ReadFile(const std::string& name) const;
  [[nodiscard]] std::string PathOf(const std::string& name) const;

  // Creates the program (on first call) and runs its start-up: the splash shows the main
  // window at once, then `settleMs` pass so that the start-up synchronisation finishes.
  ControlProgram& Start(Build build = Build::Tavrin, int settleMs = 400);
  // The program without start-up (its windows not loaded).
  ControlProgram& Program(Build build = Build::Tavrin);

  void Advance(int ms) { clock.Advance(ms); }
  // Frames the controller sent since the last ClearSent, in order.
  [[nodiscard]] std::vector<std::string> Sent() const;
  void ClearSent();

  std::filesystem::path directory;
  VirtualClock clock;
  FakeDesktop desktop;
  Files files;
  sim::Transceiver rig;
  SimSerial serial;
  // The machine's serial devices, read from machine/dev and machine/sys in the working
  // directory (nothing there until a test puts it there).
  SimSerialDevices devices;
  Platform platform;
  std::unique_ptr<ControlProgram> program;
};

}  // namespace tavrin::testing
