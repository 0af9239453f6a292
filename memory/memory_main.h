// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory window ("Memory Operation Menu"): one memory channel at a time, the data file in
// use, a progress line, and the buttons that start the whole-list sequences. The sequences are
// stepped by the window's six timers, one channel or file line per tick.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "memory/data_line.h"
#include "platform/clock.h"

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
  std::string Text9;            // mirror of the radio window's status line
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

  // "Create File": the channel lines read so far, by channel, written in channel order when
  // the pass has ended; the channels without a valid answer (asked once more at the end of
  // the pass, then named as missing); the channel whose answer the next step takes; how many
  // channels in a row brought no answer at all.
  std::map<int, std::vector<DataField>> BackupChannels;
  std::vector<int> UnreadChannels;
  std::vector<int> RetryChannels;
  bool RetryingUnread = false;
  int AskedChannel = 0;
  int SilentInARow = 0;
  // The upload's count of lines read, and the lines it could not store ("line 7 (unknown
  // mode)"), named when the upload ends; the channels that read back as written, and those
  // that did not ("channel 12 (read back differs)"); the channel written by the step before,
  // whose read-back the next step compares with the record sent.
  int UploadLineNumber = 0;
  std::vector<std::string> UploadSkips;
  int UploadVerified = 0;
  std::vector<std::string> UploadNotAsWritten;
  struct PendingUpload {
    int channel = 0;  // 0: none
    int line = 0;
    std::string record;
  };
  PendingUpload UploadPending;

  Timer Timer1;  // Create File, 200 ms
  Timer Timer2;  // View File, 500 ms
  Timer Timer3;  // Update Rig, 200 ms
  Timer Timer4;  // View Rig, 500 ms
  Timer Timer5;  // Blank Rig, 200 ms
  Timer Timer6;  // Scan Rig, 100 ms

  void Load();  // runs StartUp
  // Each of the six timers runs while its sequence does, and only then.
  void MatchTimersToSequences();
  void Show();
  void Hide();
  // The window frame's close control: the memory manager's only window ends the program
  // like "Exit"; elsewhere the window is only hidden and its operations go on.
  void CloseByFrame();

  // Buttons and menus.
  void CreateFile();       // Command1
  void ViewFile();         // Command2
  void ChangeDataFile();   // Command9
  void ClearStop();        // Command8, Command10, click on Text7
  void ViewRig();          // Command4
  void UpdateRig();        // Command3
  void BlankRig();         // Command5
  void RepeatBlank();      // Command12
  void ScanRig();          // Command6
  void RepeatScan();       // Command13
  void Skip();             // Command11
  void ShowRadioWindow();  // Command7, menu "Radio-Window"
  void ShowSetupWindow();  // menu "Setup"
  void Help();             // menu "Help"
  void Exit();             // Command0, menus "File" > "Exit" and "Exit"
  // A click on a control by design name ("Command5", "Text7"); controls the window does not
  // have do nothing.
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
  // Shows a data file line in the channel fields and the whole line in the progress line.
  void ShowDataLine(const std::string& line);

 private:
  // Whether a data file has been chosen; tells the user when none has, for the operation
  // titled `title`.
  bool DataFileChosen(const std::string& title);
  // The operations share their channel counter, the window's fields and the data file, so
  // one runs at a time: true (after telling the user) while one is running.
  bool AnotherOperationRuns(const std::string& title);
  // Asks a channel number for a range; the default replaces an empty answer. False (after
  // telling the user) when the answer is not a channel number.
  bool AskChannel(const std::string& title, const std::string& prompt,
                  const std::string& defaultAnswer, std::string& answer);
  void ClickControl(const std::string& control);
  void AskStopScan();
  void StartScan();
  void StartCreateFile();
  void AskBackupChannel(int channel);
  void TakeBackupAnswer();
  void FinishCreateFile();
  // Ends the pass without touching the data file and tells the user why.
  void GiveUpCreateFile(const std::string& what);
  void EndCreateFile();
  void StartUpdateRig();
  bool CheckUploadReadBack();
  [[nodiscard]] std::string UploadSummary() const;
  void FinishUpdateRig();
  void EndUpdateRig();
  void StopUpdateRigPortGone(int firstLineNotStored);
  void SkipUploadLine(const std::string& reason, const std::string& line);

  ControlProgram& program_;
};

}  // namespace tavrin
