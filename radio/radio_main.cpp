// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/radio_main.h"

#include <charconv>
#include <string_view>
#include <utility>

#include "app/control_program.h"
#include "radio/operating_mode.h"

namespace tavrin {

namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

using K = RadioControlKind;
using G = RadioGroup;

}  // namespace

const std::vector<RadioControl>& RadioControls() {
  static const std::vector<RadioControl> table = {
      {"Command3", "Ant", K::Button, G::None, "", Bytes({0x12})},
      {"Command4", "R/T", K::Button, G::None, "", Bytes({0x1C, 0x00})},
      {"Option1", "Rx", K::Option, G::RxTx, "Recv Control", Bytes({0x1C, 0x00, 0x00})},
      {"Option2", "Tx", K::Option, G::RxTx, "Recv Control", Bytes({0x1C, 0x00, 0x01})},
      {"Option3", "Am", K::Option, G::Modes, "Recv Control", Bytes({0x06, 0x02})},
      {"Option4", "Fm", K::Option, G::Modes, "Recv Control", Bytes({0x06, 0x05})},
      {"Option5", "Usb", K::Option, G::Modes, "Recv Control", Bytes({0x06, 0x01})},
      {"Option6", "Lsb", K::Option, G::Modes, "Recv Control", Bytes({0x06, 0x00})},
      {"Option7", "Cw", K::Option, G::Modes, "Recv Control", Bytes({0x06, 0x03})},
      {"Option8", "Cwr", K::Option, G::Modes, "Recv Control", Bytes({0x06, 0x07})},
      {"Option9", "Rtty", K::Option, G::Modes, "Recv Control", Bytes({0x06, 0x04})},
      {"Option10", "Rttyr", K::Option, G::Modes, "Recv Control", Bytes({0x06, 0x08})},
      {"Option34", "F1", K::Option, G::Filters, "Recv Control", ""},
      {"Option35", "F2", K::Option, G::Filters, "Recv Control", ""},
      {"Option36", "F3", K::Option, G::Filters, "Recv Control", ""},
      {"Option11", "Ant1", K::Option, G::Antennas, "Recv Control", Bytes({0x12, 0x00})},
      {"Option12", "Ant2", K::Option, G::Antennas, "Recv Control", Bytes({0x12, 0x01})},
      {"Option13", "Du0", K::Option, G::DualWatch, "Recv Control", Bytes({0x07, 0xC0})},
      {"Option14", "Du1", K::Option, G::DualWatch, "Recv Control", Bytes({0x07, 0xC1})},
      {"Option15", "Spl0", K::Option, G::Split, "Recv Control", Bytes({0x0F, 0x00})},
      {"Option16", "Spl1", K::Option, G::Split, "Recv Control", Bytes({0x0F, 0x01})},
      {"Option17", "Vfo", K::Option, G::VfoMem, "Dspl/Mem Ctrl", Bytes({0x07})},
      {"Option18", "Mem", K::Option, G::VfoMem, "Dspl/Mem Ctrl", Bytes({0x08})},
      {"Option19", "Main", K::Option, G::MainSub, "Dspl/Mem Ctrl", Bytes({0x07, 0xD0})},
      {"Option20", "Sub", K::Option, G::MainSub, "Dspl/Mem Ctrl", Bytes({0x07, 0xD1})},
      {"Option21", "Chng", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", Bytes({0x07, 0xB0})},
      {"Option22", "Equal", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", Bytes({0x07, 0xB1})},
      {"Option23", "Msel", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option24", "M>V", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", Bytes({0x0A})},
      {"Option25", "Mrd", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option26", "Mwr", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", Bytes({0x09})},
      {"Option27", "Mset", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option28", "Mclr", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option29", "SetFq", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option30", "SetMd", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option31", "OpFq", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", Bytes({0x03})},
      {"Option32", "OpMd", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", Bytes({0x04})},
      {"Option33", "Edge Freq", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", Bytes({0x02})},
      {"Command33", "Set Call ", K::Button, G::None, "Command Control", ""},
      {"Command32", "Call ", K::Button, G::None, "Command Control", Bytes({0x1A, 0x05, 0x15})},
      {"Command35", "Set Time", K::Button, G::None, "Command Control", ""},
      {"Command34", "Time", K::Button, G::None, "Command Control", Bytes({0x1A, 0x05, 0x16})},
      {"Command2", "Set Vol", K::Button, G::None, "Command Control", ""},
      {"Command30", "Rig Id", K::Button, G::None, "Command Control", Bytes({0x19, 0x00})},
      {"Command31", "Voice", K::Button, G::None, "Command Control", Bytes({0x13, 0x00})},
      {"Command48", "S-Meter ", K::Button, G::None, "Command Control", Bytes({0x15, 0x02})},
      {"Command47", "Squelch Status ", K::Button, G::None, "Command Control", Bytes({0x15, 0x01})},
      {"Command44", "Auto Status Toggle", K::Button, G::None, "Command Control", ""},
      {"Command42", "Manual Commands  ", K::Button, G::None, "Command Control", ""},
      {"Command36", "Clear Status", K::Button, G::None, "Command Control", ""},
      {"Command1", "go to    Memory Window ", K::Button, G::None, "Navigation", ""},
      {"Command0", "Exit", K::Button, G::None, "Navigation", ""},
  };
  return table;
}

const RadioControl* FindRadioControl(const std::string& name) {
  for (const auto& control : RadioControls())
    if (name == control.name) return &control;
  return nullptr;
}

RadioMain::RadioMain(ControlProgram& program) : program_(program) {}

void RadioMain::Load() {
  if (Loaded) return;
  Loaded = true;
  program_.StartUp();
}

void RadioMain::Show() {
  Load();
  Visible = true;
  ++RaiseCount;
}

void RadioMain::Hide() { Visible = false; }

namespace {

const RadioControl* OptionRow(int n) { return FindRadioControl("Option" + std::to_string(n)); }

bool IsOption(const RadioControl& control) { return control.kind != RadioControlKind::Button; }

// The number of an option row: "Option23" is 23.
int OptionNumber(const RadioControl& control) {
  const std::string_view digits = std::string_view(control.name).substr(6);
  int number = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), number);
  return number;
}

}  // namespace

int RadioMain::OptionByCaption(const std::string& caption) {
  for (const auto& control : RadioControls()) {
    if (IsOption(control) && caption == control.caption) return OptionNumber(control);
  }
  return 0;
}

void RadioMain::MarkInGroup(int n) {
  const RadioControl* row = OptionRow(n);
  for (const auto& control : RadioControls()) {
    if (IsOption(control) && control.group == row->group)
      OptionMarked[static_cast<std::size_t>(OptionNumber(control))] = false;
  }
  OptionMarked[static_cast<std::size_t>(n)] = true;
}

void RadioMain::ShowOptionMark(int n) {
  if (OptionRow(n) != nullptr) MarkInGroup(n);
}

void RadioMain::ClickOption(int n) {
  if (OptionRow(n) == nullptr) return;
  MarkInGroup(n);
  RunOptionAction(n);
}

void RadioMain::MarkOption(int n) {
  if (n <= 0 || n >= static_cast<int>(OptionMarked.size())) return;
  if (OptionMarked[static_cast<std::size_t>(n)]) return;
  const RadioControl* row = OptionRow(n);
  if (row == nullptr) return;
  // Sending "Tx" here would key the transmitter a moment after the operator let it go.
  if (row->group == RadioGroup::RxTx) return MarkInGroup(n);
  // A filter the transceiver reported while its mode is unknown here: the filter frame would
  // need the mode, and asking for it would only hear back what was just reported.
  const Station& s = program_.station;
  if (row->group == RadioGroup::Filters && (s.LastOperatingMode < 0 || !s.AutoStatusOn))
    return MarkInGroup(n);
  ClickOption(n);
}

void RadioMain::RunOptionAction(int n) {
  const RadioControl* row = OptionRow(n);
  if (row->kind == RadioControlKind::PushOption) OptionMarked[static_cast<std::size_t>(n)] = false;
  switch (n) {
    case 23:
      Msel();
      return;
    case 25:
      Mrd();
      return;
    case 27:
      Mset();
      return;
    case 28:
      Mclr();
      return;
    case 29:
      SetFq();
      return;
    case 30:
      SetMd();
      return;
    case 34:
      Filter(1);
      return;
    case 35:
      Filter(2);
      return;
    case 36:
      Filter(3);
      return;
    default:
      SendPlainCommand(row->command);
      return;
  }
}

void RadioMain::Click(const std::string& control) {
  if (control == "Text7" || control == "Command36") return ClearStatus();
  if (control == "Command33") return SetCall();
  if (control == "Command35") return SetTime();
  if (control == "Command2") return SetVol();
  if (control == "Command42") return ManualCommands();
  if (control == "Command44") return ToggleAutoStatus();
  if (control == "Command1") return ShowMemoryWindow();
  if (control == "Command0") return Exit();
  const RadioControl* row = FindRadioControl(control);
  if (row == nullptr) return;
  if (IsOption(*row)) return ClickOption(OptionNumber(*row));
  SendPlainCommand(row->command);
}

void RadioMain::SendPlainCommand(const std::string& commandBytes) {
  NoteSentCommand(program_.station, commandBytes);
  program_.link.SendCivCommand(commandBytes);
}

void RadioMain::Ant() { SendPlainCommand(FindRadioControl("Command3")->command); }
void RadioMain::RT() { SendPlainCommand(FindRadioControl("Command4")->command); }
void RadioMain::RigId() { SendPlainCommand(FindRadioControl("Command30")->command); }
void RadioMain::Voice() { SendPlainCommand(FindRadioControl("Command31")->command); }
void RadioMain::SMeter() { SendPlainCommand(FindRadioControl("Command48")->command); }
void RadioMain::SquelchStatus() { SendPlainCommand(FindRadioControl("Command47")->command); }
void RadioMain::Call() { SendPlainCommand(FindRadioControl("Command32")->command); }
void RadioMain::Time() { SendPlainCommand(FindRadioControl("Command34")->command); }
void RadioMain::Mem() { SendPlainCommand(FindRadioControl("Option18")->command); }
void RadioMain::OpFq() { SendPlainCommand(FindRadioControl("Option31")->command); }
void RadioMain::OpMd() {
  const Station& s = program_.station;
  const std::string& query = FindRadioControl("Option32")->command;
  // When the line is free the answer is kept as the operating mode; otherwise it is only shown.
  const bool asked =
      program_.link.Exchange(s.CivPreamble + query + s.CivTail, [this](const std::string& reply) {
        if (const auto mode = ModeAnswerIn(reply)) NoteOperatingMode(program_.station, *mode);
      });
  if (!asked) SendPlainCommand(query);
}

void RadioMain::Filter(int filterNumber) {
  Station& s = program_.station;
  // The mode is sent along with the filter, so it must be the one the transceiver is in; with
  // auto status off a mode picked on the front panel would go unseen, so it is asked for.
  if (s.LastOperatingMode >= 0 && s.AutoStatusOn) {
    SendPlainCommand(std::string{'\x06', static_cast<char>(s.LastOperatingMode),
                                 static_cast<char>(filterNumber)});
    return;
  }
  if (s.PortOpened != 1 || !program_.platform.serial.PortOpen()) return;  // dropped, as every send
  s.FilterAwaitingMode = filterNumber;
  const std::string& query = FindRadioControl("Option32")->command;
  if (program_.link.Exchange(s.CivPreamble + query + s.CivTail,
                             [this](const std::string& reply) { FilterWithAnsweredMode(reply); }))
    return;
  s.FilterAwaitingMode = 0;
  RefuseFilter(filterNumber);
}

void RadioMain::FilterWithAnsweredMode(const std::string& reply) {
  Station& s = program_.station;
  const int filterNumber = std::exchange(s.FilterAwaitingMode, 0);
  if (filterNumber == 0 || s.Ended) return;
  const auto mode = ModeAnswerIn(reply);
  if (!mode) return RefuseFilter(filterNumber);
  NoteOperatingMode(s, *mode);
  SendPlainCommand(std::string{'\x06', static_cast<char>(*mode), static_cast<char>(filterNumber)});
}

void RadioMain::RefuseFilter(int filterNumber) {
  program_.platform.desktop.MessageBox(
      "Filter",
      "Filter F" + std::to_string(filterNumber) +
          " ... not sent: the transceiver's operating mode is not known, and the filter "
          "frame would change it. Press the filter again once the transceiver has answered.",
      BoxIcon::Critical, BoxButtons::Ok);
}

void RadioMain::Mclr() {
  SendPlainCommand(std::string{'\x0B'});
  program_.station.ClearAfterSelect = false;
  program_.station.MemorySequenceBusy = false;
  Text1 = Text2 = Text3 = Text4 = Text5 = Text6 = " ";
}

void RadioMain::ClearStatus() {
  Text1 = Text2 = Text3 = Text4 = Text5 = Text6 = Text7 = " ";
  program_.memory.Text9 = " ";
}

void RadioMain::ToggleAutoStatus() {
  Station& s = program_.station;
  s.AutoStatusOn = !s.AutoStatusOn;
  // Nothing the front panel does is followed while it is off.
  if (!s.AutoStatusOn) s.LastOperatingMode = -1;
  Command44Caption =
      Command44Caption != "Enable Auto Status" ? "Enable Auto Status" : "Disable Auto Status";
  ClearStatus();
}

void RadioMain::ClearStatusLine() {
  Text7 = " ";
  program_.memory.Text9 = " ";
}

void RadioMain::BlankDisplay() {
  Text1 = Text2 = Text3 = Text4 = Text5 = Text6 = Text7 = " ";
  program_.memory.Text9 = " ";
}

void RadioMain::ShowMemoryWindow() { program_.memory.Show(); }
void RadioMain::ShowSetupWindow() { program_.setup.Show(); }

void RadioMain::Help() {
  program_.platform.desktop.MessageBox("Help", "Help Yourself", BoxIcon::None, BoxButtons::Ok);
}

void RadioMain::Exit() {
  program_.CloseDataFile();
  program_.EndProgram();
}

void RadioMain::CloseByFrame() { Exit(); }

}  // namespace tavrin
