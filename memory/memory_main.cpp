// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/memory_main.h"

#include <algorithm>

#include "app/control_program.h"

namespace tavrin {

const std::vector<MemoryButton>& MemoryButtons() {
  static const std::vector<MemoryButton> buttons = {
      {"Command9", "Change Data File", "File Operations"},
      {"Command2", "View File", "File Operations"},
      {"Command1", "Create File", "File Operations"},
      {"Command8", "Clear / Stop", "File Operations"},
      {"Command4", "View Rig", "Rig Operations"},
      {"Command3", "Update Rig", "Rig Operations"},
      {"Command5", "Blank Rig", "Rig Operations"},
      {"Command6", "Scan Rig", "Rig Operations"},
      {"Command12", "=", "Rig Operations"},
      {"Command13", "=", "Rig Operations"},
      {"Command11", "Skip", "Rig Operations"},
      {"Command10", "S t o p", "Rig Operations"},
      {"Command7", "go to     Radio Window", "Navigation"},
      {"Command0", "Exit", "Navigation"},
  };
  return buttons;
}

namespace {

std::vector<std::string> ButtonsOf(const BuildProfile& profile) {
  std::vector<std::string> names;
  if (!profile.memoryButtons) return names;
  const std::vector<std::string>& leftOut = profile.memoryButtonsLeftOut;
  for (const MemoryButton& button : MemoryButtons()) {
    if (std::find(leftOut.begin(), leftOut.end(), button.name) == leftOut.end())
      names.emplace_back(button.name);
  }
  return names;
}

}  // namespace

MemoryMain::MemoryMain(ControlProgram& program)
    : Caption(program.profile.memoryCaption),
      PresentButtons(ButtonsOf(program.profile)),
      HasMenuBar(program.profile.memoryMenuBar),
      program_(program),
      operations_(program, *this) {}

bool MemoryMain::Has(const std::string& control) const {
  return std::find(PresentButtons.begin(), PresentButtons.end(), control) != PresentButtons.end();
}

void MemoryMain::Load() {
  if (Loaded) return;
  Loaded = true;
  program_.StartUp();
}

void MemoryMain::Show() {
  Load();
  Visible = true;
  ++RaiseCount;
}

void MemoryMain::Hide() {
  Load();
  Visible = false;
}

void MemoryMain::CloseByFrame() {
  if (program_.profile.memoryWindowEndsProgram) return Exit();
  Visible = false;
}

void MemoryMain::CreateFile() { operations_.Click("Command1"); }
void MemoryMain::ViewFile() { operations_.Click("Command2"); }
void MemoryMain::UpdateRig() { operations_.Click("Command3"); }
void MemoryMain::ViewRig() { operations_.Click("Command4"); }
void MemoryMain::BlankRig() { operations_.Click("Command5"); }
void MemoryMain::ScanRig() { operations_.Click("Command6"); }
void MemoryMain::Skip() { operations_.Click("Command11"); }
void MemoryMain::RepeatBlank() { operations_.Click("Command12"); }
void MemoryMain::RepeatScan() { operations_.Click("Command13"); }

void MemoryMain::ChangeDataFile() { program_.data.Show(); }

void MemoryMain::ClearStop() {
  Station& s = program_.station;
  ClearChannelFields();
  Text7.clear();
  program_.CloseDataFile();
  s.SquelchState = 0;
  s.AwaitingSquelch = false;
  s.AutoStatusOn = true;
  operations_.Stop();
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
  if (control == "Text7") {
    if (!PresentButtons.empty()) ClearStop();
    return;
  }
  if (!Has(control)) return;
  if (control == "Command0") return Exit();
  if (control == "Command7") return ShowRadioWindow();
  if (control == "Command8" || control == "Command10") return ClearStop();
  if (control == "Command9") return ChangeDataFile();
  operations_.Click(control);
}

void MemoryMain::ClearChannelFields() {
  for (std::string* field : {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6}) field->clear();
}

void MemoryMain::ShowEndDisplay() {
  ClearChannelFields();
  Text1 = "END";
  Text7 = "END";
}

void MemoryMain::ShowFileLine(const FileLineDisplay& shown) {
  Text1 = shown.Text1;
  Text2 = shown.Text2;
  Text3 = shown.Text3;
  Text4 = shown.Text4;
  Text5 = shown.Text5;
  Text6 = shown.Text6;
  Text7 = shown.Text7;
}

}  // namespace tavrin
