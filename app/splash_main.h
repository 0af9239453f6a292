// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The splash window: product name, version and date. After 2 s, or at a click or key press, it
// shows the build's main window (whose loading runs the whole start-up, with the splash still
// in front) and then closes.
#include <string>

#include "platform/clock.h"

namespace tavrin {

class ControlProgram;

class SplashMain {
 public:
  explicit SplashMain(ControlProgram& program);

  // Placeholders of the design; Load puts the real texts in.
  std::string lblProductName = "Product";
  std::string lblVersion = "Version";
  std::string lblDate = "Date";
  std::string lblPlatform = "Platform";
  std::string lblCompanyProduct = "CompanyProduct";
  std::string Text1 = "Click to Continue";
  bool Loaded = false;
  bool Visible = false;
  Timer Timer1;  // 2000 ms, enabled by Load

  void Load();
  // Start-up's request: an open splash stays as it is, a closed one is loaded afresh.
  void Show();
  void TimerTick();
  // A click on any part of the window, a key press, or typing into Text1.
  void Continue();

  // The two maker lines.
  static constexpr const char* kMakerLine = "Station Control Suite for Icom CI-V";
  static constexpr const char* kSecondMakerLine = "Free software for radio amateurs";

 private:
  void ShowMainWindow();
  void Close();
  ControlProgram& program_;
};

}  // namespace tavrin
