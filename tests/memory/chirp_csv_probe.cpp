// SPDX-License-Identifier: GPL-3.0-or-later
// The memory window's "Create File" and "Update Rig" on a CHIRP CSV data file, with the control
// program on the in-process simulated transceiver, as a small program for the test that hands
// the files to CHIRP's own code and back.
//
//   chirp_csv_probe create DIR FILE   the transceiver gets the channels of standard input, one a
//                                     line, fields separated by tabs: channel, frequency in Hz,
//                                     mode as the memory window shows it, filter (1 to 3),
//                                     selected (1 or 0), name; every other channel is blank.
//                                     Then "Create File" writes DIR/FILE, answered Yes
//   chirp_csv_probe update DIR FILE   the transceiver blank, "Update Rig" loads DIR/FILE,
//                                     answered Yes; then every channel it holds, one a line in
//                                     the form above (the name without its padding blanks)
//
// Both print every box shown, one a line: "box", its title and its text, separated by tabs.
// The program runs in DIR with FILE as its data file. Texts are the program's single-byte
// letters (Latin-1).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/control_program.h"
#include "civ/mode_table.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"
#include "sim/sim_serial.h"
#include "sim/transceiver.h"

namespace {

using namespace tavrin;

constexpr int kStartUpMs = 400;
constexpr int kStepMs = 100;
constexpr int kLongestMs = 120'000;

std::vector<std::string> TabFields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (const char c : line) {
    if (c == '\t') {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  return fields;
}

// The control program on the simulated transceiver, started in `directory` with `dataFile`
// as its data file.
class ProgramOnSim {
 public:
  ProgramOnSim(const std::string& directory, const std::string& dataFile)
      : files_(directory), serial_(clock_, rig_), platform_{desktop_, clock_, serial_, files_} {
    std::ofstream ini(std::filesystem::path(directory) / "KESTRA.INI",
                      std::ios::binary | std::ios::trunc);
    ini << "KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] " << dataFile
        << "\r\n[CallSign] K1ABC\r\n[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n \r\nEND\r\n";
    ini.close();
    const std::filesystem::path data = std::filesystem::path(directory) / dataFile;
    if (!std::filesystem::exists(data)) std::ofstream(data, std::ios::binary);
    for (int n = 1; n <= sim::kChannelCount; ++n) rig_.SetChannel(n, sim::MemoryChannel{});
    program_ = std::make_unique<ControlProgram>(platform_);
    program_->Begin();
    program_->splash.Continue();
    clock_.Advance(kStartUpMs);
    desktop_.boxes.clear();
  }

  sim::Transceiver& Rig() { return rig_; }

  // A memory window button answered Yes, then the clock until the operation has ended.
  void RunOperation(const std::string& button) {
    desktop_.AnswerYes();
    program_->memory.Click(button);
    for (int ms = 0; ms < kLongestMs && program_->memory.Operations().Running() != nullptr;
         ms += kStepMs)
      clock_.Advance(kStepMs);
  }

  void PrintBoxes() const {
    for (const RecordedBox& box : desktop_.boxes)
      std::cout << "box\t" << box.title << "\t" << box.text << "\n";
  }

 private:
  VirtualClock clock_;
  FakeDesktop desktop_;
  Files files_;
  sim::Transceiver rig_;
  SimSerial serial_;
  Platform platform_;
  std::unique_ptr<ControlProgram> program_;
};

int Create(const std::string& directory, const std::string& dataFile) {
  ProgramOnSim station(directory, dataFile);
  std::string line;
  while (std::getline(std::cin, line)) {
    const std::vector<std::string> f = TabFields(line);
    const civ::Mode* mode = f.size() == 6 ? civ::ModeShownAs(f[2]) : nullptr;
    if (mode == nullptr) {
      std::cerr << "a channel needs six fields and a mode: " << line << "\n";
      return 2;
    }
    station.Rig().SetChannel(
        std::stoi(f[0]),
        sim::MemoryChannel::Filled(std::stoll(f[1]), mode->code,
                                   static_cast<std::uint8_t>(std::stoi(f[3])), f[5], f[4] == "1"));
  }
  station.RunOperation("Command1");
  station.PrintBoxes();
  return 0;
}

int Update(const std::string& directory, const std::string& dataFile) {
  ProgramOnSim station(directory, dataFile);
  station.RunOperation("Command3");
  station.PrintBoxes();
  for (int n = 1; n <= sim::kChannelCount; ++n) {
    const sim::MemoryChannel& c = station.Rig().Channel(n);
    if (c.blank) continue;
    const civ::Mode* mode = civ::ModeOfCode(c.mode);
    std::string name = c.name;
    name.erase(name.find_last_not_of(' ') + 1);
    std::cout << n << "\t" << c.frequencyHz << "\t" << (mode != nullptr ? mode->shown : "?") << "\t"
              << static_cast<int>(c.filter) << "\t" << (c.selected ? 1 : 0) << "\t" << name << "\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "create") return Create(args[1], args[2]);
  if (args.size() == 3 && args[0] == "update") return Update(args[1], args[2]);
  std::cerr << "usage: chirp_csv_probe create|update DIR FILE\n";
  return 2;
}
