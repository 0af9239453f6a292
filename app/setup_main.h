// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The setup window ("System Setup"): port, serial settings, call sign and default data file.
// The window keeps no settings of its own: every click and keystroke writes straight into the
// station's four settings, and Save writes them to KESTRA.INI, re-opens the port and the data
// file. Closing without saving therefore keeps the edits in memory for the rest of the run.
#include <array>
#include <string>

namespace tavrin {

class ControlProgram;

class SetupMain {
 public:
  explicit SetupMain(ControlProgram& program);

  std::string Caption = "System Setup";
  std::string Text1 = "Call Sign";   // call-sign field, as typed
  std::string Text2 = "KESTRA.TXT";  // data-file field, as typed
  // Marks of Option1..Option6 (index 0 unused): Option1..3 the port group, Option4..6 the
  // speed group.
  std::array<bool, 7> OptionMarked{};
  bool Loaded = false;
  bool Visible = false;

  // Opens the window (running Open) when it is closed; an open window is only brought forward.
  void Show();
  // Option1..Option3: "Com 1".."Com 3".
  void ChoosePort(int option);
  // Option4..Option6: "19200,N,8,1", "9600,N,8,1", "4800,N,8,1".
  void ChooseSpeed(int option);
  // The user typed into a field; `text` is the field's whole text.
  void CallSignChanged(const std::string& text);
  void DataFileChanged(const std::string& text);
  void Save();          // Command0, File > Save, Save
  void Quit();          // Command1, File > Quit, Quit
  void Help();          // Help
  void CloseByFrame();  // the frame's close control: no save, no restart box

  // The settings strings of the options, by option number (1..6); empty for other numbers.
  [[nodiscard]] static std::string OptionValue(int option);
  // Where the port of Option1..Option3 leads on this machine ("COM1 is com1 -> /dev/ttyUSB0"),
  // so that the operator can tell the ports apart; empty when the platform cannot tell.
  [[nodiscard]] std::string PortDescription(int option) const;
  // Bumped each time the window is brought forward, so that a view can raise it.
  int RaiseCount = 0;

 private:
  void Open();
  void Close();
  // Ends the program after Save or Quit when start-up found no configuration file.
  void RestartIfConfigMissing();
  void MarkOption(int option);

  ControlProgram& program_;
};

}  // namespace tavrin
