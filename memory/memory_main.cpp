#include "memory/memory_main.h"

#include "app/control_program.h"

namespace tavrin {

MemoryMain::MemoryMain(ControlProgram& program)
    : Timer1(program.platform.clock, 200, [this] { CreateFileStep(); }),
      Timer2(program.platform.clock, 500, [this] { ViewFileStep(); }),
      Timer3(program.platform.clock, 200, [this] { UpdateRigStep(); }),
      Timer4(program.platform.clock, 500, [this] { ViewRigStep(); }),
      Timer5(program.platform.clock, 200, [this] { BlankRigStep(); }),
      Timer6(program.platform.clock, 100, [this] { ScanRigStep(); }),
      program_(program) {}

void MemoryMain::Load() {
  if (Loaded) return;
  Loaded = true;
  program_.StartUp();
  for (Timer* timer : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6})
    timer->SetEnabled(true);
}

void MemoryMain::Show() {
  Load();
  Visible = true;
}

void MemoryMain::Hide() {
  Load();
  Visible = false;
}

}  // namespace tavrin
