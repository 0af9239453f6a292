// SPDX-License-Identifier: GPL-3.0-or-later
// Bringing the control program up: shared state, configuration, serial port; and the fatal
// error box that takes it down.
#include "app/config_file.h"
#include "app/control_program.h"
#include "app/text_functions.h"
#include "civ/memory_record.h"

namespace tavrin {

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
    // open: its first reply tick then shows that nothing answers.
    if (platform.serial.PortOpen() || profile.checksRadioWithoutPort) synchronisation.Start(false);
  }
  if (--startUp_.depth == 0) startUp_ = {};
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
  const ConfigReading reading = ReadConfigFile(*this);
  if (reading.lastLine == "END") {
    // The port answer given in the first run of this start-up holds for the second.
    if (startUp_.portAsked) station.CommPort = startUp_.commPort;
    OpenCommPortAsking(startUp_.portAsked);
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
  } else if (reading.lastLine.empty()) {
    station.ConfigMissing = true;
    setup.Show();
  }
}

namespace {

std::string PortErrorText(const PortError& error, const Station& s) {
  return "Error Code " + std::to_string(error.number) + " ... " + error.description + " ... " +
         s.CommPort + " ... " + s.CommBaud;
}

}  // namespace

int PortNumberOf(const std::string& commPort) {
  // Only the fourth character counts: "COM1" is port 1, "COM12" is port 1 too.
  if (commPort.size() < 4) return 0;
  const char digit = commPort[3];
  return digit >= '0' && digit <= '9' ? digit - '0' : 0;
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
    if (quiet) return;
    const char* title = error.number == kErrorPortAlreadyOpen
                            ? "Comm Port Error - Port Already Open"
                            : "Open Comm Port - Unexpected Error";
    desktop.MessageBox(title, PortErrorText(error, station), BoxIcon::Critical, BoxButtons::Ok);
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
                                "RADIO NOT READY or COM PORT ERROR! ... "
                                "Check RADIO or run SETUP (menu) or Edit KESTRA.INI! ... "
                                "Restart Program now!",
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
    ShowErrorBox();
  }
  recovery.RadioSilent();
}

}  // namespace tavrin
