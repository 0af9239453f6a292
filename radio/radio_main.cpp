// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/radio_main.h"

#include <charconv>
#include <string_view>
#include <utility>

#include "app/control_program.h"
#include "civ/command_bytes.h"
#include "civ/frame.h"
#include "civ/mode_table.h"
#include "civ/operating_mode.h"

namespace tavrin {

namespace {

using civ::Bytes;
using K = RadioControlKind;
using G = RadioGroup;
using namespace civ;

// The mode frame of the option captioned `caption` in the mode table: 06 and its code.
std::string SetModeTo(const char* option) {
  for (const Mode& mode : Modes())
    if (std::string_view(option) == mode.option) return Bytes({kSetMode, mode.code});
  return {};
}

}  // namespace

const std::vector<RadioControl>& RadioControls() {
  static const std::vector<RadioControl> table = {
      {"Command3", "Ant", K::Button, G::None, "", Bytes({kAntenna})},
      {"Command4", "R/T", K::Button, G::None, "", Bytes({kRxTx, kReceiveTransmit})},
      {"Option1", "Rx", K::Option, G::RxTx, "Recv Control",
       Bytes({kRxTx, kReceiveTransmit, kReceive})},
      {"Option2", "Tx", K::Option, G::RxTx, "Recv Control",
       Bytes({kRxTx, kReceiveTransmit, kTransmit})},
      {"Option3", "Am", K::Option, G::Modes, "Recv Control", SetModeTo("Am")},
      {"Option4", "Fm", K::Option, G::Modes, "Recv Control", SetModeTo("Fm")},
      {"Option5", "Usb", K::Option, G::Modes, "Recv Control", SetModeTo("Usb")},
      {"Option6", "Lsb", K::Option, G::Modes, "Recv Control", SetModeTo("Lsb")},
      {"Option7", "Cw", K::Option, G::Modes, "Recv Control", SetModeTo("Cw")},
      {"Option8", "Cwr", K::Option, G::Modes, "Recv Control", SetModeTo("Cwr")},
      {"Option9", "Rtty", K::Option, G::Modes, "Recv Control", SetModeTo("Rtty")},
      {"Option10", "Rttyr", K::Option, G::Modes, "Recv Control", SetModeTo("Rttyr")},
      {"Option34", "F1", K::Option, G::Filters, "Recv Control", ""},
      {"Option35", "F2", K::Option, G::Filters, "Recv Control", ""},
      {"Option36", "F3", K::Option, G::Filters, "Recv Control", ""},
      {"Option11", "Ant1", K::Option, G::Antennas, "Recv Control", Bytes({kAntenna, 0x00})},
      {"Option12", "Ant2", K::Option, G::Antennas, "Recv Control", Bytes({kAntenna, 0x01})},
      {"Option13", "Du0", K::Option, G::DualWatch, "Recv Control",
       Bytes({kSelectVfo, kDualWatchOff})},
      {"Option14", "Du1", K::Option, G::DualWatch, "Recv Control",
       Bytes({kSelectVfo, kDualWatchOn})},
      {"Option15", "Spl0", K::Option, G::Split, "Recv Control", Bytes({kSplit, 0x00})},
      {"Option16", "Spl1", K::Option, G::Split, "Recv Control", Bytes({kSplit, 0x01})},
      {"Option17", "Vfo", K::Option, G::VfoMem, "Dspl/Mem Ctrl", Bytes({kSelectVfo})},
      {"Option18", "Mem", K::Option, G::VfoMem, "Dspl/Mem Ctrl", Bytes({kSelectMemory})},
      {"Option19", "Main", K::Option, G::MainSub, "Dspl/Mem Ctrl",
       Bytes({kSelectVfo, kMainReceiver})},
      {"Option20", "Sub", K::Option, G::MainSub, "Dspl/Mem Ctrl",
       Bytes({kSelectVfo, kSubReceiver})},
      {"Option21", "Chng", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl",
       Bytes({kSelectVfo, kVfoExchange})},
      {"Option22", "Equal", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl",
       Bytes({kSelectVfo, kVfoEqualize})},
      {"Option23", "Msel", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option24", "M>V", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", Bytes({kMemoryToVfo})},
      {"Option25", "Mrd", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option26", "Mwr", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", Bytes({kMemoryWrite})},
      {"Option27", "Mset", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option28", "Mclr", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option29", "SetFq", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option30", "SetMd", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", ""},
      {"Option31", "OpFq", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl",
       Bytes({kReadFrequency})},
      {"Option32", "OpMd", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl", Bytes({kReadMode})},
      {"Option33", "Edge Freq", K::PushOption, G::MemoryCommands, "Dspl/Mem Ctrl",
       Bytes({kReadBandEdges})},
      {"Command33", "Set Call ", K::Button, G::None, "Command Control", ""},
      {"Command32", "Call ", K::Button, G::None, "Command Control",
       Bytes({kMemoryContents, kSettings, kCallSignSetting})},
      {"Command35", "Set Time", K::Button, G::None, "Command Control", ""},
      {"Command34", "Time", K::Button, G::None, "Command Control",
       Bytes({kMemoryContents, kSettings, kClockSetting})},
      {"Command2", "Set Vol", K::Button, G::None, "Command Control", ""},
      {"Command30", "Rig Id", K::Button, G::None, "Command Control",
       Bytes({kIdentity, kReadIdentity})},
      {"Command31", "Voice", K::Button, G::None, "Command Control", Bytes({kVoice, kVoiceAll})},
      {"Command48", "S-Meter ", K::Button, G::None, "Command Control", Bytes({kMeter, kSMeter})},
      {"Command47", "Squelch Status ", K::Button, G::None, "Command Control",
       Bytes({kMeter, kSquelchState})},
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

void RadioMain::MarkCaption(const std::string& caption) { MarkOption(OptionByCaption(caption)); }

void RadioMain::ShowCaption(const std::string& caption) {
  ShowOptionMark(OptionByCaption(caption));
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
  const std::string& query = FindRadioControl("Option32")->command;
  // When the line is free the answer is kept as the operating mode; otherwise it is only shown.
  const bool asked =
      program_.link.Exchange(ControllerFrame(query), [this](const std::string& reply) {
        if (const auto mode = ModeAnswerIn(reply)) NoteOperatingMode(program_.station, *mode);
      });
  if (!asked) SendPlainCommand(query);
}

void RadioMain::Filter(int filterNumber) {
  Station& s = program_.station;
  // The mode is sent along with the filter, so it must be the one the transceiver is in; with
  // auto status off a mode picked on the front panel would go unseen, so it is asked for.
  if (s.LastOperatingMode >= 0 && s.AutoStatusOn) {
    SendPlainCommand(Bytes({kSetMode, static_cast<unsigned char>(s.LastOperatingMode),
                            static_cast<unsigned char>(filterNumber)}));
    return;
  }
  if (s.PortOpened != 1 || !program_.platform.serial.PortOpen()) return;  // dropped, as every send
  s.FilterAwaitingMode = filterNumber;
  const std::string& query = FindRadioControl("Option32")->command;
  if (program_.link.Exchange(ControllerFrame(query),
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
  SendPlainCommand(Bytes({kSetMode, *mode, static_cast<unsigned char>(filterNumber)}));
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
  SendPlainCommand(Bytes({kMemoryClear}));
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
