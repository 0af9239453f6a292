// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/data_main.h"

#include "app/control_program.h"
#include "app/text_functions.h"

namespace tavrin {

namespace {

// A name ending in ".csv" is a channel list in CHIRP's form (data_file_format.h).
constexpr const char* kSearchFilter =
    "Text Files (*.TXT)|*.TXT|CHIRP CSV (*.csv)|*.csv|All Files (*.*)|*.*";
constexpr const char* kNewFileFilter = "Text Files (*.TXT)|*.TXT|CHIRP CSV (*.csv)|*.csv|";

}  // namespace

DataMain::DataMain(ControlProgram& program) : program_(program) {}

void DataMain::Show() {
  Text1 = program_.station.DataFilePath;
  Text1Bold = true;
  Text2.clear();
  Text2Bold = false;
  Visible = true;
  ++RaiseCount;
}

void DataMain::ShowNewFile(const std::string& path) {
  Text1.clear();
  Text2 = path;
  Text2Bold = true;
  program_.memory.Text8 = path;
  program_.memory.Text8Bold = true;
}

// The fields change only when the file really became the data file in use: after a failed
// open they would name a file that "Create File" does not write.
void DataMain::UseDefaultFile() {
  Station& s = program_.station;
  if (program_.platform.desktop.MessageBox("Default File",
                                           UpperFileName(s.DeftFile) + " ... Are you sure?",
                                           BoxIcon::None, BoxButtons::YesNo) != BoxAnswer::Yes)
    return;
  std::string name = s.DeftFile;
  if (!program_.dataFile.OpenDataFile(name, "Input")) return;
  s.DeftFile = name;
  ShowNewFile(s.DeftFile);
}

void DataMain::SearchForFile() {
  std::string name = program_.platform.desktop.FileDialog(kSearchFilter, 1);
  if (name.empty()) return;
  if (!program_.dataFile.OpenDataFile(name, "Input")) return;
  ShowNewFile(name);
}

void DataMain::OpenNewFile() {
  Desktop& desktop = program_.platform.desktop;
  std::string name = desktop.FileDialog(kNewFileFilter, 1);
  if (name.empty()) return;
  // An existing file chosen by mistake would be emptied: that is asked first.
  if (program_.platform.files.Exists(program_.platform.files.CompletePath(name)) &&
      desktop.MessageBox("Open New File", name + " exists. Replace it?", BoxIcon::Question,
                         BoxButtons::YesNo) != BoxAnswer::Yes)
    return;
  DataFile& file = program_.dataFile;
  if (!file.OpenDataFile(name, "Output")) return;
  file.CloseDataFile();
  file.ReopenDataFile("Input");
  ShowNewFile(name);
}

void DataMain::Return() {
  MemoryMain& memory = program_.memory;
  memory.ClearChannelFields();
  memory.Text7.clear();
  Visible = false;
}

void DataMain::Quit() { Visible = false; }

void DataMain::Help() {
  program_.platform.desktop.MessageBox("Help", "Help Yourself", BoxIcon::None, BoxButtons::Ok);
}

void DataMain::Click(const std::string& control) {
  if (control == "Command0") return Return();
  if (control == "Command1") return UseDefaultFile();
  if (control == "Command2") return SearchForFile();
  if (control == "Command3") return OpenNewFile();
}

}  // namespace tavrin
