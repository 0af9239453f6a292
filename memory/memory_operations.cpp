// SPDX-License-Identifier: GPL-3.0-or-later
// The memory window's buttons and menus. A button only asks its questions, prepares the shared
// sequence state and raises its operation's flag; the window's timers do the work.
#include <algorithm>
#include <cctype>
#include <sstream>

#include "app/control_program.h"
#include "app/text_functions.h"
#include "memory/memory_main.h"

namespace tavrin {

namespace {

bool AskedYes(Desktop& desktop, const std::string& title, const std::string& text) {
  return desktop.MessageBox(title, text, BoxIcon::None, BoxButtons::YesNo) == BoxAnswer::Yes;
}

std::string AskWithDefault(Desktop& desktop, const std::string& title, const std::string& prompt,
                           const std::string& defaultAnswer) {
  std::string answer = desktop.InputBox(title, prompt, defaultAnswer);
  return answer.empty() ? defaultAnswer : answer;
}

// A channel answer is a whole number of up to three digits, blanks around it allowed. Other
// answers (letters, signs, fractions) would make the sequences compare text with channel
// numbers or hand the memory commands a negative channel.
bool IsChannelAnswer(const std::string& answer) {
  const std::size_t first = answer.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const std::size_t last = answer.find_last_not_of(' ');
  const std::string digits = answer.substr(first, last - first + 1);
  return digits.size() <= 3 && std::all_of(digits.begin(), digits.end(), [](char c) {
           return std::isdigit(static_cast<unsigned char>(c)) != 0;
         });
}

int ChannelNumber(const std::string& text) { return static_cast<int>(LeadingNumber(text)); }

std::string NumberText(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

}  // namespace

bool MemoryMain::DataFileChosen(const std::string& title) {
  if (!program_.station.DataFilePath.empty()) return true;
  program_.platform.desktop.MessageBox(
      title, "No data file in use ... Choose one with Change Data File or SETUP", BoxIcon::Critical,
      BoxButtons::Ok);
  return false;
}

bool MemoryMain::AnotherOperationRuns(const std::string& title) {
  const Station& s = program_.station;
  const std::pair<bool, const char*> operations[] = {
      {s.CreateFileActive, "Create File"}, {s.ViewFileActive, "View File"},
      {s.UpdateRigActive, "Update Rig"},   {s.ViewRigActive, "View Rig"},
      {s.BlankRigActive, "Blank Rig"},     {s.ScanRigActive, "Scan Rig"}};
  for (const auto& [running, name] : operations) {
    if (!running) continue;
    program_.platform.desktop.MessageBox(
        title, std::string(name) + " is running ... Wait for it to end or press Clear / Stop",
        BoxIcon::Exclamation, BoxButtons::Ok);
    return true;
  }
  return false;
}

bool MemoryMain::AskChannel(const std::string& title, const std::string& prompt,
                            const std::string& defaultAnswer, std::string& answer) {
  Desktop& desktop = program_.platform.desktop;
  answer = AskWithDefault(desktop, title, prompt, defaultAnswer);
  if (IsChannelAnswer(answer)) return true;
  desktop.MessageBox(title, answer + " ... is not a channel number ... Nothing was started.",
                     BoxIcon::Exclamation, BoxButtons::Ok);
  return false;
}

void MemoryMain::CreateFile() {
  Station& s = program_.station;
  if (AnotherOperationRuns("Create File") || !DataFileChosen("Create File")) return;
  if (!AskedYes(program_.platform.desktop, "Create File", s.DataFileName + " ... Are you sure?"))
    return;
  StartCreateFile();
}

void MemoryMain::ViewFile() {
  Station& s = program_.station;
  if (AnotherOperationRuns("View File") || !DataFileChosen("View File")) return;
  if (!program_.dataFile.ReopenDataFile("Input")) return;
  s.ViewFileActive = true;
}

void MemoryMain::ChangeDataFile() { program_.data.Show(); }

void MemoryMain::ClearStop() {
  Station& s = program_.station;
  const bool backupStopped = s.CreateFileActive;
  s.CreateFileActive = s.ViewFileActive = s.UpdateRigActive = false;
  s.ViewRigActive = s.BlankRigActive = s.ScanRigActive = false;
  Text1.clear();
  Text2.clear();
  Text3.clear();
  Text4.clear();
  Text5.clear();
  Text6.clear();
  Text7.clear();
  program_.CloseDataFile();
  s.SequenceChannel = 0;
  s.SquelchState = 0;
  s.ScanStopRequested = s.ScanSkipRequested = s.AwaitingSquelch = false;
  s.ClearAfterSelect = s.MemorySequenceBusy = false;
  s.AutoStatusOn = true;
  if (!backupStopped) return;
  // The half-made backup was dropped with file 1.
  EndCreateFile();
  program_.platform.desktop.MessageBox(
      "Create File",
      "Create File was stopped ... " + s.DataFileName + " was not changed: the old file was kept",
      BoxIcon::Exclamation, BoxButtons::Ok);
}

void MemoryMain::ViewRig() {
  if (AnotherOperationRuns("View Rig")) return;
  program_.station.SequenceChannel = 0;
  program_.station.ViewRigActive = true;
}

void MemoryMain::UpdateRig() {
  Station& s = program_.station;
  if (AnotherOperationRuns("Update Rig") || !DataFileChosen("Update Rig")) return;
  if (!AskedYes(program_.platform.desktop, "Update Rig", s.DataFileName + " ... Are you sure?"))
    return;
  if (!program_.dataFile.ReopenDataFile("Input")) return;
  StartUpdateRig();
}

void MemoryMain::BlankRig() {
  Station& s = program_.station;
  if (AnotherOperationRuns("Blank Rig")) return;
  if (!AskedYes(program_.platform.desktop, "Blank Rig", "Are you sure?")) return;
  std::string start;
  std::string end;
  if (!AskChannel("Blank Rig Memories", "Enter STARTING Channel Number (1-101)", "1", start))
    return;
  if (!AskChannel("Blank Rig Memories", "Enter ENDING Channel Number (1-101)", "99", end)) return;
  s.RangeStart = LastBlankStart = start;
  s.RangeEnd = LastBlankEnd = end;
  s.SequenceChannel = ChannelNumber(s.RangeStart);
  s.BlankRigActive = true;
}

void MemoryMain::RepeatBlank() {
  Station& s = program_.station;
  if (LastBlankStart.empty() || LastBlankEnd.empty()) return;
  if (AnotherOperationRuns("Blank Rig")) return;
  s.RangeStart = LastBlankStart;
  s.RangeEnd = LastBlankEnd;
  s.SequenceChannel = ChannelNumber(s.RangeStart);
  s.BlankRigActive = true;
}

void MemoryMain::AskStopScan() {
  Station& s = program_.station;
  // The scan holds still while the question is open.
  s.ScanRigActive = false;
  if (AskedYes(program_.platform.desktop, "Scan Rig", "STOP Scan Rig?")) s.ScanStopRequested = true;
  s.ScanRigActive = true;
}

void MemoryMain::StartScan() {
  Station& s = program_.station;
  s.ScanRigActive = true;
  s.ScanStopRequested = s.ScanSkipRequested = false;
  s.ScanDwellCount = 0;
  s.SquelchState = 0;
  s.AutoStatusOn = false;
  program_.radio.Mem();
}

void MemoryMain::ScanRig() {
  Station& s = program_.station;
  FocusedControl = "Command11";
  if (s.ScanRigActive) return AskStopScan();
  if (AnotherOperationRuns("Scan Rig")) return;
  Desktop& desktop = program_.platform.desktop;
  if (!AskedYes(desktop, "Scan Rig", "Are you sure?")) return;
  std::string start;
  std::string end;
  if (!AskChannel("Scan Rig", "STARTING Channel (1-101)", "1", start)) return;
  if (!AskChannel("Scan Rig", "ENDING Channel (1-101)", "99", end)) return;
  s.RangeStart = LastScanStart = start;
  s.RangeEnd = LastScanEnd = end;
  s.SequenceChannel = ChannelNumber(s.RangeStart);
  // A speed without leading digits reads as 0: the scan then asks a busy channel again at
  // every second step.
  s.ScanSpeed = LeadingNumber(AskWithDefault(desktop, "Scan Rig", "Scan SPEED (1-100)", "25"));
  LastScanSpeed = NumberText(s.ScanSpeed);
  s.ScanSelectMode = LastScanSelectMode =
      AskWithDefault(desktop, "Scan Rig", "Scan ONLY Select or SKIP Select (1=Only, 0=Skip)", "0");
  StartScan();
}

void MemoryMain::RepeatScan() {
  Station& s = program_.station;
  FocusedControl = "Command11";
  if (LastScanStart.empty() || LastScanEnd.empty() || LastScanSpeed.empty() ||
      LastScanSelectMode.empty())
    return;
  if (AnotherOperationRuns("Scan Rig")) return;
  s.RangeStart = LastScanStart;
  s.RangeEnd = LastScanEnd;
  s.ScanSpeed = LeadingNumber(LastScanSpeed);
  s.ScanSelectMode = LastScanSelectMode;
  s.SequenceChannel = ChannelNumber(s.RangeStart);
  StartScan();
}

void MemoryMain::Skip() {
  Station& s = program_.station;
  if (!s.ScanRigActive) return;
  if (s.SquelchState == 1) {
    s.ScanSkipRequested = true;
  } else {
    AskStopScan();
  }
}

void MemoryMain::ShowRadioWindow() { program_.radio.Show(); }

void MemoryMain::ShowSetupWindow() { program_.setup.Show(); }

void MemoryMain::Help() {
  program_.platform.desktop.MessageBox("Help", "Help Yourself", BoxIcon::None, BoxButtons::Ok);
}

void MemoryMain::Exit() {
  program_.CloseDataFile();
  program_.EndProgram();
}

void MemoryMain::Click(const std::string& control) {
  ClickControl(control);
  MatchTimersToSequences();
}

void MemoryMain::ClickControl(const std::string& control) {
  if (control == "Text7") {
    if (!PresentButtons.empty()) ClearStop();
    return;
  }
  if (!Has(control)) return;
  if (control == "Command0") return Exit();
  if (control == "Command1") return CreateFile();
  if (control == "Command2") return ViewFile();
  if (control == "Command3") return UpdateRig();
  if (control == "Command4") return ViewRig();
  if (control == "Command5") return BlankRig();
  if (control == "Command6") return ScanRig();
  if (control == "Command7") return ShowRadioWindow();
  if (control == "Command8" || control == "Command10") return ClearStop();
  if (control == "Command9") return ChangeDataFile();
  if (control == "Command11") return Skip();
  if (control == "Command12") return RepeatBlank();
  if (control == "Command13") return RepeatScan();
}

void MemoryMain::ShowEndDisplay() {
  Text1 = "END";
  Text2.clear();
  Text3.clear();
  Text4.clear();
  Text5.clear();
  Text6.clear();
  Text7 = "END";
}

}  // namespace tavrin
