#pragma once
// The splash window: product name, version and date; after 2 s, or at a click or key press,
// it shows the build's main window (running start-up) and closes.
#include <string>

#include "platform/clock.h"

namespace tavrin {

class ControlProgram;

class SplashMain {
 public:
  explicit SplashMain(ControlProgram& program);

  std::string lblProductName;
  std::string lblVersion;
  std::string lblDate;
  std::string lblPlatform;
  std::string lblCompanyProduct;
  std::string Text1 = "Click to Continue";
  bool Loaded = false;
  bool Visible = false;
  Timer Timer1;  // 2000 ms

  void Load();
  void Show();  // start-up's request: opens it when closed, else leaves it in front
  void TimerTick();
  void Continue();  // click on any part, key press, typing into Text1

 private:
  void ShowMainWindow();
  ControlProgram& program_;
};

}  // namespace tavrin
