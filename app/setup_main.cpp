// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setup_main.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/config_file.h"
#include "app/control_program.h"
#include "app/text_functions.h"
#include "platform/port_links.h"

namespace tavrin {

namespace {

constexpr const char* kDefaultDataFile = "KESTRA.TXT";
constexpr const char* kDefaultPort = "COM1";
constexpr const char* kDefaultSettings = "19200,N,8,1";

bool IsPortOption(int option) { return option >= 1 && option <= 3; }
bool IsSpeedOption(int option) { return option >= 4 && option <= 6; }

std::string Join(const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) joined += (joined.empty() ? "" : ", ") + item;
  return joined;
}

std::string Baud(const std::string& settings) { return settings.substr(0, settings.find(',')); }

std::string PortCaption(int port) { return "Com " + std::to_string(port); }

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The box after a search in which no transceiver answered: what was asked, what could not be
// opened and why, and what to check.
std::string NothingFoundText(const TransceiverFinder::Outcome& outcome) {
  if (outcome.asked.empty() && outcome.busy.empty() && outcome.notAllowed.empty() &&
      outcome.failed.empty()) {
    return "No serial device was found ... Plug in the CI-V cable, wait a few seconds and try "
           "again.";
  }
  std::string speeds;
  for (const std::string& settings : TransceiverFinder::Speeds()) {
    speeds += (speeds.empty() ? "" : ", ") + Baud(settings);
  }
  std::string text = outcome.asked.empty() ? "No device could be asked"
                                           : "No transceiver answered on " + Join(outcome.asked) +
                                                 " at " + speeds + " baud";
  if (!outcome.busy.empty()) text += " ... In use by another program: " + Join(outcome.busy);
  if (!outcome.notAllowed.empty()) {
    text += " ... Not open to this user: " + Join(outcome.notAllowed);
    if (!outcome.advice.empty()) text += " ... " + outcome.advice;
  }
  if (!outcome.failed.empty()) text += " ... Could not be opened: " + Join(outcome.failed);
  return text +
         " ... Check that the transceiver is switched on, that its CI-V address is 64 and "
         "its CI-V speed one of these, and that the cable is plugged in.";
}

}  // namespace

SetupMain::SetupMain(ControlProgram& program)
    : DeviceTimer(program.platform.clock, kDeviceRefreshMs,
                  [this] {
                    if (Visible) {
                      RefreshDevices();
                    } else {
                      DeviceTimer.SetEnabled(false);
                    }
                  }),
      program_(program),
      finder_(program.platform.clock,
              [this](const TransceiverFinder::Outcome& outcome) { Found(outcome); }) {}

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
  DeviceTimer.SetEnabled(true);
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
  Text3.clear();
  DeviceStatus.clear();
  chosenPath_.clear();
  RefreshDevices();
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
  StopFinding();
  // The settings are written first; when KESTRA.INI cannot be written (its box has been shown)
  // the window stays open with the edits, so that the user can mend the cause and save again.
  if (!WriteConfigFile(program_)) {
    ReopenOwnPort();
    return;
  }
  reopenOwnPort_ = false;  // opened here with the new settings
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

// --- The device behind each port ------------------------------------------------------------

void SetupMain::RefreshDevices() {
  SerialDevices* devices = program_.platform.devices;
  devices_ = devices != nullptr ? devices->List() : std::vector<SerialDevice>{};
  DeviceList.clear();
  DeviceListIndex = -1;
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    DeviceList.push_back(devices_[i].Line());
    if (!chosenPath_.empty() && devices_[i].path == chosenPath_) {
      DeviceListIndex = static_cast<int>(i);
    }
  }
  for (int port = 1; port <= 3; ++port) {
    PortDevice[static_cast<std::size_t>(port)] = program_.platform.serial.DescribePort(port);
  }
}

std::string SetupMain::StatusLine() const {
  return finder_.Running() ? finder_.Progress() : DeviceStatus;
}

int SetupMain::PortToChoose() {
  for (int option = 1; option <= 3; ++option) {
    if (OptionMarked[static_cast<std::size_t>(option)]) return option;
  }
  ChoosePort(1);
  return 1;
}

bool SetupMain::LinkPort(int port, const std::string& path) {
  std::string error;
  if (!PortLinks(program_.platform.files).PointAt(port, path, error)) {
    program_.platform.desktop.MessageBox(
        "Set Comm Port Error", PortCaption(port) + " cannot lead to " + path + " ... " + error,
        BoxIcon::Critical, BoxButtons::Ok);
    return false;
  }
  chosenPath_ = path;
  Text3 = path;
  RefreshDevices();
  DeviceStatus = PortCaption(port) + " now leads to " + path + ". Save to use it.";
  return true;
}

void SetupMain::ChooseDevice(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= devices_.size()) return;
  const std::string path = devices_[static_cast<std::size_t>(index)].path;
  LinkPort(PortToChoose(), path);
}

void SetupMain::DevicePathChanged(const std::string& text) { Text3 = text; }

void SetupMain::UsePath() {
  const std::string path = Trimmed(Text3);
  if (path.empty()) {
    DeviceStatus = "Type the device first, for example /dev/ttyUSB0.";
    return;
  }
  const int port = PortToChoose();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    const BoxAnswer answer = program_.platform.desktop.MessageBox(
        "Device Path",
        path + " is not there now ... Let " + PortCaption(port) + " lead to it all the same?",
        BoxIcon::Question, BoxButtons::YesNo);
    if (answer != BoxAnswer::Yes) return;
  }
  LinkPort(port, path);
}

void SetupMain::FindTransceiver() {
  if (finder_.Running()) return;
  RefreshDevices();
  DeviceStatus.clear();
  // The program's own port is let go meanwhile, so that its device can be asked too.
  SerialControl& own = program_.platform.serial;
  if (own.PortOpen()) {
    own.Close();
    reopenOwnPort_ = true;
  }
  finder_.Start(program_.platform.devices, devices_);
}

void SetupMain::Found(const TransceiverFinder::Outcome& outcome) {
  Desktop& desktop = program_.platform.desktop;
  if (!outcome.found) {
    DeviceStatus = "No transceiver answered.";
    desktop.MessageBox("Find Transceiver", NothingFoundText(outcome), BoxIcon::Exclamation,
                       BoxButtons::Ok);
    ReopenOwnPort();
    return;
  }
  const int port = PortToChoose();
  if (!LinkPort(port, outcome.device.path)) {
    ReopenOwnPort();
    return;
  }
  for (int option = 4; option <= 6; ++option) {
    if (OptionValue(option) == outcome.settings) ChooseSpeed(option);
  }
  const std::string where = outcome.device.path + " at " + Baud(outcome.settings) + " baud";
  DeviceStatus = "Found on " + where + ".";
  const BoxAnswer answer = desktop.MessageBox(
      "Find Transceiver",
      "The transceiver answered on " + where + " ... " + PortCaption(port) +
          " now leads to it and " + outcome.settings + " is marked ... Save the settings now?",
      BoxIcon::Question, BoxButtons::YesNo);
  if (answer == BoxAnswer::Yes && Visible) {
    Save();
    return;
  }
  ReopenOwnPort();
}

void SetupMain::StopFinding() { finder_.Stop(); }

void SetupMain::ReopenOwnPort() {
  if (!reopenOwnPort_) return;
  reopenOwnPort_ = false;
  if (!program_.station.Ended) program_.ReopenCommPortQuietly();
}

void SetupMain::Help() {
  program_.platform.desktop.MessageBox("Help", "Help Yourself", BoxIcon::None, BoxButtons::Ok);
}

void SetupMain::CloseByFrame() { Close(); }

void SetupMain::Close() {
  StopFinding();
  ReopenOwnPort();
  DeviceTimer.SetEnabled(false);
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
