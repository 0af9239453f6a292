// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setup_main.h"

#include "app/config_file.h"
#include "app/control_program.h"
#include "app/text_functions.h"

namespace tavrin {

namespace {

constexpr const char* kDefaultDataFile = "KESTRA.TXT";
constexpr const char* kDefaultPort = "COM1";
constexpr const char* kDefaultSettings = "19200,N,8,1";

bool IsPortOption(int option) { return option >= 1 && option <= 3; }
bool IsSpeedOption(int option) { return option >= 4 && option <= 6; }

}  // namespace

SetupMain::SetupMain(ControlProgram& program) : program_(program) {}

std::string SetupMain::OptionValue(int option) {
  switch (option) {
    case 1:
      return "Com1";
    case 2:
      return "Com2";
    case 3:
      return "Com3";
    case 4:
      return "19200,N,8,1";
    case 5:
      return "9600,N,8,1";
    case 6:
      return "4800,N,8,1";
    default:
      return {};
  }
}

void SetupMain::Show() {
  if (!Loaded) Open();
  Visible = true;
  ++RaiseCount;
}

void SetupMain::Open() {
  Loaded = true;
  Text1 = "Call Sign";
  Text2 = kDefaultDataFile;
  OptionMarked.fill(false);
  Station& s = program_.station;
  if (s.DeftFile.empty()) s.DeftFile = kDefaultDataFile;
  if (s.CallSign.empty()) s.CallSign = kDefaultCallSign;
  const std::string shownName = UpperFileName(s.DeftFile);
  if (s.CommPort.empty()) s.CommPort = kDefaultPort;
  if (s.CommBaud.empty()) s.CommBaud = kDefaultSettings;
  // Selecting an option or filling a field does what the user's click or typing does, so
  // the settings come out of Open folded and with their extension.
  for (int option = 1; option <= 3; ++option) {
    if (s.CommPort == FoldedToCapitals(OptionValue(option))) ChoosePort(option);
  }
  for (int option = 4; option <= 6; ++option) {
    if (s.CommBaud == OptionValue(option)) ChooseSpeed(option);
  }
  CallSignChanged(s.CallSign);
  DataFileChanged(shownName);
}

void SetupMain::MarkOption(int option) {
  const int first = IsPortOption(option) ? 1 : 4;
  for (int other = first; other < first + 3; ++other) {
    OptionMarked[static_cast<std::size_t>(other)] = false;
  }
  OptionMarked[static_cast<std::size_t>(option)] = true;
}

void SetupMain::ChoosePort(int option) {
  if (!IsPortOption(option)) return;
  MarkOption(option);
  std::string& port = program_.station.CommPort;
  port = OptionValue(option);
  if (port.empty()) port = kDefaultPort;
  FoldToCapitals(port);
}

void SetupMain::ChooseSpeed(int option) {
  if (!IsSpeedOption(option)) return;
  MarkOption(option);
  std::string& settings = program_.station.CommBaud;
  settings = OptionValue(option);
  if (settings.empty()) settings = kDefaultSettings;
  FoldToCapitals(settings);
}

void SetupMain::CallSignChanged(const std::string& text) {
  Text1 = text;
  program_.station.CallSign = FoldedToCapitals(text);
}

void SetupMain::DataFileChanged(const std::string& text) {
  Text2 = text;
  std::string name = text;
  if (name.empty() || name.front() == ' ') name = kDefaultDataFile;
  program_.station.DeftFile = EnsureTxtExtension(name);
}

void SetupMain::Save() {
  // The settings are written first; when KESTRA.INI cannot be written (its box has been shown)
  // the window stays open with the edits, so that the user can mend the cause and save again.
  if (!WriteConfigFile(program_)) return;
  Station& s = program_.station;
  program_.OpenCommPort();
  if (s.Ended) return;
  std::string name = s.DeftFile;
  program_.dataFile.OpenDataFile(name, "Input");
  s.DeftFile = name;
  if (s.Ended) return;
  MemoryMain& memory = program_.memory;
  memory.Text8 = s.DataFilePath;
  memory.Text8Bold = true;
  memory.Text7 = "Setup Process Complete";
  Close();
  RestartIfConfigMissing();
}

void SetupMain::Quit() {
  Close();
  RestartIfConfigMissing();
}

std::string SetupMain::PortDescription(int option) const {
  if (option < 1 || option > 3) return {};
  const std::string where = program_.platform.serial.DescribePort(option);
  return where.empty() ? std::string() : "COM" + std::to_string(option) + " is " + where;
}

void SetupMain::Help() {
  program_.platform.desktop.MessageBox("Help", "Help Yourself", BoxIcon::None, BoxButtons::Ok);
}

void SetupMain::CloseByFrame() { Close(); }

void SetupMain::Close() {
  Visible = false;
  Loaded = false;
}

void SetupMain::RestartIfConfigMissing() {
  if (!program_.station.ConfigMissing || program_.station.Ended) return;
  program_.platform.desktop.MessageBox("Restart (creating missing file)", "Restart program!",
                                       BoxIcon::Critical, BoxButtons::Ok);
  program_.EndProgram();
}

}  // namespace tavrin
