#pragma once
// The setup window ("System Setup"): port, serial settings, call sign and default data file,
// edited in place and saved to KESTRA.INI.
#include <array>
#include <string>

namespace tavrin {

class ControlProgram;

class SetupMain {
 public:
  explicit SetupMain(ControlProgram& program);

  std::string Text1;  // "Call Sign"
  std::string Text2;  // "Default Data File"
  std::array<bool, 7> OptionMarked{};  // Option1..Option6
  bool Loaded = false;
  bool Visible = false;

  void Show();  // opens (running Open) or brings to front
  void ChoosePort(int option);   // Option1..Option3
  void ChooseSpeed(int option);  // Option4..Option6
  void CallSignChanged(const std::string& text);
  void DataFileChanged(const std::string& text);
  void Save();
  void Quit();
  void Help();
  void CloseByFrame();  // the frame's close control: no save, no restart box

 private:
  void Open();
  ControlProgram& program_;
};

}  // namespace tavrin
