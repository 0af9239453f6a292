#include "memory/data_main.h"

#include "app/control_program.h"

namespace tavrin {

DataMain::DataMain(ControlProgram& program) : program_(program) {}

void DataMain::Show() {
  Text1 = program_.station.DataFilePath;
  Text2.clear();
  Visible = true;
}
void DataMain::UseDefaultFile() {}
void DataMain::SearchForFile() {}
void DataMain::OpenNewFile() {}
void DataMain::Return() { Visible = false; }
void DataMain::Quit() { Visible = false; }
void DataMain::Help() {}

}  // namespace tavrin
