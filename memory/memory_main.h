#pragma once
// The memory window ("Memory Operation Menu"): one memory channel at a time, the data file in
// use, a progress line, and the buttons that start the whole-list sequences. The sequences are
// stepped by the window's six timers, one channel or file line per tick.
#include <string>

#include "platform/clock.h"

namespace tavrin {

class ControlProgram;

class MemoryMain {
 public:
  explicit MemoryMain(ControlProgram& program);

  std::string Caption = "Memory Operation Menu";
  std::string Text1;  // "Channel"
  std::string Text2;  // "Selected"
  std::string Text3;  // "Frequency"
  std::string Text4;  // "Mode/Filter" (mode)
  std::string Text5;  // (filter)
  std::string Text6;  // "Status/Info"
  std::string Text7;  // progress line
  std::string Text8;  // "Current File"
  bool Text8Bold = false;
  std::string Text9;  // mirror of the radio window's status line
  std::string FocusedControl;  // design name of the control with the keyboard focus
  bool Loaded = false;
  bool Visible = false;

  // Remembered ranges for the two "=" buttons.
  std::string LastBlankStart, LastBlankEnd;
  std::string LastScanStart, LastScanEnd, LastScanSpeed, LastScanSelectMode;

  Timer Timer1;  // Create File, 200 ms
  Timer Timer2;  // View File, 500 ms
  Timer Timer3;  // Update Rig, 200 ms
  Timer Timer4;  // View Rig, 500 ms
  Timer Timer5;  // Blank Rig, 200 ms
  Timer Timer6;  // Scan Rig, 100 ms

  void Load();  // runs StartUp and starts the six timers
  void Show();
  void Hide();

  // Buttons and menus.
  void CreateFile();      // Command1
  void ViewFile();        // Command2
  void ChangeDataFile();  // Command9
  void ClearStop();       // Command8, Command10, click on Text7
  void ViewRig();         // Command4
  void UpdateRig();       // Command3
  void BlankRig();        // Command5
  void RepeatBlank();     // Command12
  void ScanRig();         // Command6
  void RepeatScan();      // Command13
  void Skip();            // Command11
  void ShowRadioWindow(); // Command7
  void ShowSetupWindow();
  void Help();
  void Exit();            // Command0
  // A click on a control by design name ("Command5", "Text7").
  void Click(const std::string& control);

  // Timer steps.
  void CreateFileStep();
  void ViewFileStep();
  void UpdateRigStep();
  void ViewRigStep();
  void BlankRigStep();
  void ScanRigStep();

  // Text1 = "END", Text2..Text6 empty, Text7 = "END".
  void ShowEndDisplay();

 private:
  ControlProgram& program_;
};

}  // namespace tavrin
