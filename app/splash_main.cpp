// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/splash_main.h"

#include "app/control_program.h"

namespace tavrin {

SplashMain::SplashMain(ControlProgram& program)
    : Timer1(program.platform.clock, 2000, [this] { TimerTick(); }), program_(program) {}

void SplashMain::Load() {
  Loaded = true;
  Visible = true;
  lblProductName = program_.ProductName();
  lblCompanyProduct = kMakerLine;
  lblPlatform = kSecondMakerLine;
  lblVersion = program_.VersionText();
  lblDate = "Oct 30 2005";
  Timer1.SetEnabled(true);
}

void SplashMain::Show() {
  if (!Loaded) Load();
  Visible = true;
}

void SplashMain::TimerTick() {
  if (!Loaded) return;
  Timer1.SetEnabled(false);
  ShowMainWindow();
  Close();
}

void SplashMain::Continue() {
  // The timer keeps running while the main window comes up; it stops when the splash closes.
  if (!Loaded) return;
  ShowMainWindow();
  Close();
}

void SplashMain::ShowMainWindow() {
  if (program_.profile.startsOnMemoryWindow) {
    program_.memory.Show();
  } else {
    program_.radio.Show();
  }
}

void SplashMain::Close() {
  Timer1.SetEnabled(false);
  Loaded = false;
  Visible = false;
}

}  // namespace tavrin
