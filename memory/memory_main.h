// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory window ("Memory Operation Menu"): one memory channel at a time, the data file in
// use, a progress line, and the buttons that start the whole-list operations, which one runner
// steps one channel or file line at a time.
#include <string>
#include <utility>
#include <vector>

#include "civ/decoder_displays.h"
#include "memory/data_file_format.h"
#include "memory/operation_runner.h"

namespace tavrin {

class ControlProgram;

// Where the keyboard focus is asked to go: each request counts, also one naming the same
// control as the one before, so that the view moves the focus every time (after the operator
// has moved it elsewhere, a second scan still puts it back on "Skip").
struct FocusRequest {
  std::string control;  // design name of the control
  int count = 0;        // requests so far
  FocusRequest& operator=(std::string name) {
    control = std::move(name);
    ++count;
    return *this;
  }
  bool operator==(const std::string& name) const { return control == name; }
};

// One button of the window, in the order the window shows them within its group.
struct MemoryButton {
  const char* name;     // design name, "Command5"
  const char* caption;  // exact caption
  const char* group;    // heading of its framed group
};

// Every button the memory window can have; a build's window has some of them.
const std::vector<MemoryButton>& MemoryButtons();

// The window's fields Text1 .. Text7 and Text9 (ChannelDisplay) are written by the decoder, the
// status line and the operations.
class MemoryMain : public ChannelDisplay {
 public:
  explicit MemoryMain(ControlProgram& program);

  std::string Caption;
  std::string Text8;  // "Current File"
  bool Text8Bold = false;
  FocusRequest FocusedControl;  // the last request to move the keyboard focus
  bool Loaded = false;
  bool Visible = false;
  int RaiseCount = 0;  // counts the requests to bring the window to the front

  // The window's shape, chosen by the build: the buttons it has (design names) and whether it
  // has a menu bar. The memory manager's window has no scan, no skip, no way to the radio
  // window and no menu; the compact panel's window has no buttons at all and is never shown.
  std::vector<std::string> PresentButtons;
  bool HasMenuBar = true;
  [[nodiscard]] bool Has(const std::string& control) const;

  // Remembered ranges for the two "=" buttons.
  std::string LastBlankStart, LastBlankEnd;
  std::string LastScanStart, LastScanEnd, LastScanSpeed, LastScanSelectMode;

  void Load();  // runs StartUp
  void Show();
  void Hide();
  // The window frame's close control: the memory manager's only window ends the program
  // like "Exit"; elsewhere the window is only hidden and its operations go on.
  void CloseByFrame();

  // The operations' buttons, which go to the operations (OperationRunner).
  void CreateFile();   // Command1
  void ViewFile();     // Command2
  void UpdateRig();    // Command3
  void ViewRig();      // Command4
  void BlankRig();     // Command5
  void ScanRig();      // Command6
  void Skip();         // Command11
  void RepeatBlank();  // Command12
  void RepeatScan();   // Command13
  // Buttons and menus of the window itself.
  void ChangeDataFile();   // Command9
  void ClearStop();        // Command8, Command10, click on Text7
  void ShowRadioWindow();  // Command7, menu "Radio-Window"
  void ShowSetupWindow();  // menu "Setup"
  void Help();             // menu "Help"
  void Exit();             // Command0, menus "File" > "Exit" and "Exit"
  // A click on a control by design name ("Command5", "Text7"); controls the window does not
  // have do nothing.
  void Click(const std::string& control);

  // Text1 .. Text6 empty.
  void ClearChannelFields();
  // Text1 = "END", Text2..Text6 empty, Text7 = "END".
  void ShowEndDisplay();
  // Shows a data file line as the file's layout shows it: the channel fields and the whole
  // line in the progress line.
  void ShowFileLine(const FileLineDisplay& shown);

  // The operations and the one that runs.
  [[nodiscard]] OperationRunner& Operations() { return operations_; }
  [[nodiscard]] const OperationRunner& Operations() const { return operations_; }
  // Whether the operation of that title ("Create File") runs.
  [[nodiscard]] bool Runs(const std::string& title) const { return operations_.Runs(title); }

 private:
  ControlProgram& program_;
  OperationRunner operations_;
};

}  // namespace tavrin
