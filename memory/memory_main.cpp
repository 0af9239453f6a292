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

std::vector<std::string> ButtonsOfBuild(Build build) {
  std::vector<std::string> names;
  if (build == Build::Korvid) return names;
  for (const MemoryButton& button : MemoryButtons()) {
    const std::string name = button.name;
    const bool scanOrRadio =
        name == "Command6" || name == "Command13" || name == "Command11" || name == "Command7";
    if (build == Build::Belmarq && scanOrRadio) continue;
    names.push_back(name);
  }
  return names;
}

}  // namespace

MemoryMain::MemoryMain(ControlProgram& program)
    : PresentButtons(ButtonsOfBuild(program.build)),
      HasMenuBar(program.build == Build::Tavrin),
      Timer1(program.platform.clock, 200, [this] { CreateFileStep(); }),
      Timer2(program.platform.clock, 500, [this] { ViewFileStep(); }),
      Timer3(program.platform.clock, 200, [this] { UpdateRigStep(); }),
      Timer4(program.platform.clock, 500, [this] { ViewRigStep(); }),
      Timer5(program.platform.clock, 200, [this] { BlankRigStep(); }),
      Timer6(program.platform.clock, 100, [this] { ScanRigStep(); }),
      program_(program) {
  if (program.build == Build::Belmarq) Caption = "Memory Operations";
}

bool MemoryMain::Has(const std::string& control) const {
  return std::find(PresentButtons.begin(), PresentButtons.end(), control) != PresentButtons.end();
}

void MemoryMain::Load() {
  if (Loaded) return;
  Loaded = true;
  program_.StartUp();
  MatchTimersToSequences();
}

// A timer runs only while its sequence does: an idle window wakes the program for nothing.
void MemoryMain::MatchTimersToSequences() {
  const Station& s = program_.station;
  const bool live = Loaded && !s.Ended;
  Timer1.SetEnabled(live && s.CreateFileActive);
  Timer2.SetEnabled(live && s.ViewFileActive);
  Timer3.SetEnabled(live && s.UpdateRigActive);
  Timer4.SetEnabled(live && s.ViewRigActive);
  Timer5.SetEnabled(live && s.BlankRigActive);
  Timer6.SetEnabled(live && s.ScanRigActive);
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
  if (program_.build == Build::Belmarq) return Exit();
  Visible = false;
}

}  // namespace tavrin
