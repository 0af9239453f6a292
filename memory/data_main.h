#pragma once
// The data file window ("Data File Setup"): back to the default file, an existing file, or a
// new empty one. Created each time it is shown.
#include <string>

namespace tavrin {

class ControlProgram;

class DataMain {
 public:
  explicit DataMain(ControlProgram& program);

  std::string Text1;  // "Current File"
  bool Text1Bold = true;
  std::string Text2;  // "New File"
  bool Text2Bold = false;
  bool Visible = false;

  void Show();  // loads afresh: Text1 = DataFilePath
  void UseDefaultFile();  // Command1
  void SearchForFile();   // Command2
  void OpenNewFile();     // Command3
  void Return();          // Command0
  void Quit();
  void Help();

 private:
  ControlProgram& program_;
};

}  // namespace tavrin
