// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data file window ("Data File Setup"): back to the default file, an existing file, or a
// new empty one. Created each time it is shown; the choice lasts until the program ends (the
// default file itself is changed only in the setup window).
#include <string>

namespace tavrin {

class ControlProgram;

class DataMain {
 public:
  explicit DataMain(ControlProgram& program);

  std::string Caption = "Data File Setup";
  std::string Text1;  // "Current File"
  bool Text1Bold = true;
  std::string Text2;  // "New File"
  bool Text2Bold = false;
  bool Visible = false;
  int RaiseCount = 0;  // counts the requests to bring the window to the front

  void Show();            // loads afresh: Text1 = DataFilePath
  void UseDefaultFile();  // Command1
  void SearchForFile();   // Command2
  void OpenNewFile();     // Command3
  void Return();          // Command0, menus "File" > "Return" and "Return"
  void Quit();            // menus "File" > "Quit" and "Quit", the frame's close control
  void Help();            // menu "Help"
  // A click on a button by design name ("Command2").
  void Click(const std::string& control);

 private:
  // The window's and the memory window's fields after `path` became the data file in use.
  void ShowNewFile(const std::string& path);
  ControlProgram& program_;
};

}  // namespace tavrin
