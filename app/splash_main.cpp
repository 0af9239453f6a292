#include "app/splash_main.h"

#include "app/control_program.h"

namespace tavrin {

SplashMain::SplashMain(ControlProgram& program)
    : Timer1(program.platform.clock, 2000, [this] { TimerTick(); }), program_(program) {}

void SplashMain::Load() {
  Loaded = true;
  Visible = true;
  lblProductName = program_.ProductName();
  lblVersion = program_.VersionText();
  lblDate = "Oct 30 2005";
  Timer1.SetEnabled(true);
}
void SplashMain::Show() {
  if (!Loaded) Load();
  Visible = true;
}
void SplashMain::TimerTick() {
  Timer1.SetEnabled(false);
  ShowMainWindow();
  Visible = false;
}
void SplashMain::Continue() {
  ShowMainWindow();
  Timer1.SetEnabled(false);
  Visible = false;
}
void SplashMain::ShowMainWindow() {
  if (program_.build == Build::Belmarq) {
    program_.memory.Show();
  } else {
    program_.radio.Show();
  }
}

}  // namespace tavrin
