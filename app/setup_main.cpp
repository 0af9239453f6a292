#include "app/setup_main.h"

#include "app/control_program.h"

namespace tavrin {

SetupMain::SetupMain(ControlProgram& program) : program_(program) {}

void SetupMain::Show() {
  if (!Visible) Open();
  Visible = true;
}
void SetupMain::Open() {}
void SetupMain::ChoosePort(int /*option*/) {}
void SetupMain::ChooseSpeed(int /*option*/) {}
void SetupMain::CallSignChanged(const std::string& /*text*/) {}
void SetupMain::DataFileChanged(const std::string& /*text*/) {}
void SetupMain::Save() {}
void SetupMain::Quit() {}
void SetupMain::Help() {}
void SetupMain::CloseByFrame() { Visible = false; }

}  // namespace tavrin
