// SPDX-License-Identifier: GPL-3.0-or-later
// Bringing the control program up: shared state, configuration, serial port; and the fatal
// error box that takes it down.
#include "app/config_file.h"
#include "app/control_program.h"
#include "app/text_functions.h"
#include "civ/memory_record.h"

namespace tavrin {

namespace {

// A line of a file as a box can show it: control characters as "?", and no more than 40
// characters (a file of garbage or one long line stays readable).
std::string ShownLine(const std::string& line) {
  constexpr std::size_t kShown = 40;
  std::string shown = line.substr(0, kShown);
  for (char& c : shown) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 32 || (code >= 127 && code < 160)) c = '?';
  }
  return line.size() > kShown ? shown + "..." : shown;
}

}  // namespace

void ControlProgram::StartUp() {
  ++startUp_.depth;
  // Creating the memory window runs its own load, and so a whole start-up, inside this one.
  memory.Load();
  memory.Hide();
  if (!station.Ended) {
    splash.Show();
    InitFlags();
    InitFrameStrings();
    ReadConfig();
    // The memory manager build checks the transceiver's identity even when the port did not
    // open: its first reply tick then shows that nothing answers. Not while the setup window
    // asks for the settings of a first start (there is nothing to check yet), nor when the port
    // was found barred to this user (its box has said why nothing can answer).
    if (platform.serial.PortOpen() ||
        (profile.checksRadioWithoutPort && !station.ConfigMissing && !startUp_.portNotAllowed)) {
      synchronisation.Start(false);
    }
  }
  if (startUp_.depth == 1 && !station.Ended) RemoveLeftovers();
  if (--startUp_.depth == 0) startUp_ = {};
}

void ControlProgram::RemoveLeftovers() {
  // A program of the suite killed while it replaced the data file or KESTRA.INI left its
  // temporary file beside them; what no program is writing now goes.
  Files& files = platform.files;
  files.RemoveLeftoverReplacements(files.CompletePath(kConfigFileName));
  const std::string dataFile =
      !station.DataFilePath.empty() ? station.DataFilePath : files.CompletePath(station.DeftFile);
  if (!station.DeftFile.empty() || !station.DataFilePath.empty()) {
    files.RemoveLeftoverReplacements(dataFile);
  }
}

void ControlProgram::InitFlags() {
  memory.Operations().Drop();
  station.AwaitingSquelch = false;
  station.DataFileOpen = false;
}

void ControlProgram::InitFrameStrings() {
  Station& s = station;
  s.SelectChannelField = std::string(2, '\0');
  s.MemChannelText = std::string(2, '\0');
  s.VfoFrequencyField = std::string(5, '\0');
  s.TimeField = std::string(2, '\0');
  s.MemFilterText = std::string(1, '\0');
  s.MemSelectedText = std::string(1, '\0');
  s.DecodedLabel = std::string(civ::kLabelLength, ' ');
  // No channel, no frequency, the 88.5 Hz tone block and a blank label.
  s.MemoryRecordField = civ::MemoryRecord{}.Bytes();
  s.AutoStatusOn = true;
  s.EdgeUpper = false;
  link.Timer2.SetEnabled(false);
}

void ControlProgram::ReadConfig() {
  const ConfigReading reading = ReadConfigFile(*this, !startUp_.configReported);
  if (reading.lastLine == "END") {
    // The port answer given in the first run of this start-up holds for the second.
    if (startUp_.portAsked) station.CommPort = startUp_.commPort;
    OpenCommPortAsking(startUp_.portAsked || startUp_.portReported);
    if (startUp_.dataFileFailed) return;  // said once already
    std::string name = station.DeftFile;
    const bool opened = dataFile.OpenDataFile(name, "Input");
    station.DeftFile = name;
    if (!opened) {
      if (startUp_.depth > 0) startUp_.dataFileFailed = true;
      return;
    }
    memory.Text8 = station.DataFilePath;
    memory.Text8Bold = true;
    memory.Text7 = "Open Process Complete";
    memory.Text6 = "Hello " + station.CallSign;
  } else if (reading.unreadable) {
    // Its box (from OpenConfigFile) has said why; the status line keeps saying it.
    ShowConfigIncomplete("cannot be read");
  } else if (reading.lastLine.empty()) {
    station.ConfigMissing = true;
    setup.Show();
  } else {
    // Cut short, garbage, or a hand edit that lost END: the port stays closed, as the file
    // asks, and the operator is told which file, its last line, and the cure.
    if (!startUp_.configReported) {
      platform.desktop.MessageBox(
          "Incomplete Config File",
          std::string(kConfigFileName) + " does not end in END ... its last line is \"" +
              ShownLine(reading.lastLine) + "\" ... " + kIncompleteConfigAdvice,
          BoxIcon::Critical, BoxButtons::Ok);
    }
    ShowConfigIncomplete("does not end in END");
  }
}

void ControlProgram::ShowConfigIncomplete(const std::string& what) {
  if (startUp_.depth > 0) startUp_.configReported = true;
  const std::string line = "STATUS = PORT CLOSED ... " + std::string(kConfigFileName) + " " + what +
                           " ... run SETUP (menu)";
  radio.Text7 = line;
  memory.Text9 = line;
}

namespace {

// The first words of the box for a transceiver that does not answer.
constexpr const char* kRadioNotReadyText =
    "RADIO NOT READY or COM PORT ERROR! ... Check RADIO or run SETUP (menu) or Edit KESTRA.INI! "
    "... ";

std::string PortErrorText(const PortError& error, const Station& s) {
  return "Error Code " + std::to_string(error.number) + " ... " + error.description + " ... " +
         s.CommPort + " ... " + s.CommBaud;
}

}  // namespace

int PortNumberOf(const std::string& commPort) {
  // The whole name: "COM" in any case and a number from 1 to 255, blanks around it allowed.
  // "COM12" is port 12, never port 1.
  const std::size_t first = commPort.find_first_not_of(' ');
  if (first == std::string::npos) return 0;
  const std::string name = commPort.substr(first, commPort.find_last_not_of(' ') - first + 1);
  if (name.size() < 4 || name.size() > 6) return 0;
  for (std::size_t i = 0; i < 3; ++i) {
    if ((name[i] & ~0x20) != "COM"[i]) return 0;
  }
  int number = 0;
  for (std::size_t i = 3; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    number = number * 10 + (name[i] - '0');
  }
  return number <= 255 ? number : 0;
}

void ControlProgram::OpenCommPort() { OpenCommPortAsking(false); }

bool ControlProgram::ReopenCommPortQuietly() {
  OpenCommPortAsking(true);
  return platform.serial.PortOpen();
}

void ControlProgram::OpenCommPortAsking(bool quiet) {
  SerialControl& port = platform.serial;
  Desktop& desktop = platform.desktop;
  if (port.PortOpen()) port.Close();
  // An invalid port is asked for again, three times at most; then the port stays closed, so that
  // a station without any serial port is not caught in the dialog for ever.
  constexpr int kPortQuestions = 3;
  for (int asked = 0;; ++asked) {
    port.SetCommPort(PortNumberOf(station.CommPort));
    port.SetSettings(station.CommBaud);
    port.SetInputLen(0);
    const PortError error = port.Open();
    if (!error.Failed()) break;
    if (error.number == kErrorInvalidPort) {
      if (quiet) return recovery.DeviceMissing();
      desktop.MessageBox("Open Comm Port Error", PortErrorText(error, station), BoxIcon::Critical,
                         BoxButtons::Ok);
      if (asked == kPortQuestions) {
        // The port stays closed; it opens by itself when its device turns up.
        recovery.DeviceMissing();
        return;
      }
      const std::string current = station.CommPort.empty() ? "COM1" : station.CommPort;
      std::string answer =
          desktop.InputBox("Set Comm Port", "Enter Radio Interface COMM PORT (ie..com1)", current);
      if (answer.empty()) answer = "COM1";
      FoldToCapitals(answer);
      station.CommPort = answer;
      if (startUp_.depth > 0) {
        startUp_.portAsked = true;
        startUp_.commPort = answer;
      }
      desktop.MessageBox(
          "Setup Comm Port",
          station.CommPort + " Temporarily Enabled. Run SETUP (menu) to Re-Configure.",
          BoxIcon::None, BoxButtons::Ok);
      continue;  // retry with the new port
    }
    if (error.number == kErrorPermissionDenied) {
      // The device is there but this user may not open it (yet): said once, with the cure,
      // and then looked for once a second as a pulled cable is, so that the port opens as soon
      // as the permission is given.
      if (!quiet) {
        desktop.MessageBox("Comm Port Error - Permission Denied",
                           PortErrorText(error, station) +
                               (error.advice.empty() ? "" : " ... " + error.advice) +
                               " ... The program keeps trying and opens the port as soon as "
                               "it may.",
                           BoxIcon::Critical, BoxButtons::Ok);
        if (startUp_.depth > 0) startUp_.portReported = true;
      }
      if (startUp_.depth > 0) startUp_.portNotAllowed = true;
      recovery.DeviceMissing();
      return;
    }
    if (quiet) return;
    const char* title = error.number == kErrorPortAlreadyOpen
                            ? "Comm Port Error - Port Already Open"
                            : "Open Comm Port - Unexpected Error";
    desktop.MessageBox(title, PortErrorText(error, station), BoxIcon::Critical, BoxButtons::Ok);
    // Said once per start: the second start-up run of this start opens the port quietly.
    if (startUp_.depth > 0) startUp_.portReported = true;
    return;
  }
  if (port.PortOpen()) {
    station.PortOpened = 1;
    recovery.PortOpened();
  }
  for (int i = 0; i < 99; ++i) port.Input();
}

void ControlProgram::ReportError(int number, const std::string& description) {
  station.ErrorNumber = number;
  station.ErrorDescription = description;
  ReportError();
}

void ControlProgram::ReportError() {
  if (station.Ended) return;
  ShowErrorBox();
  EndProgram();
}

void ControlProgram::ShowErrorBox() {
  if (station.ErrorNumber == 99) {
    platform.desktop.MessageBox("Unexpected Radio Condition",
                                std::string(kRadioNotReadyText) + "Restart Program now!",
                                BoxIcon::Critical, BoxButtons::Ok);
  } else {
    platform.desktop.MessageBox(
        "Unexpected Trap Condition",
        "Error Code " + std::to_string(station.ErrorNumber) + " ... " + station.ErrorDescription,
        BoxIcon::Critical, BoxButtons::Ok);
  }
}

void ControlProgram::RadioNotReady(bool quiet) {
  if (station.Ended) return;
  if (!quiet) {
    station.ErrorNumber = 99;
    station.ErrorDescription = "Radio not ready";
    // The program runs on and asks the transceiver about once a second, so the box says that
    // instead of asking for a restart.
    platform.desktop.MessageBox("Unexpected Radio Condition",
                                std::string(kRadioNotReadyText) +
                                    "The program keeps asking the transceiver and synchronises by "
                                    "itself as soon as it answers.",
                                BoxIcon::Critical, BoxButtons::Ok);
  }
  recovery.RadioSilent();
}

}  // namespace tavrin
