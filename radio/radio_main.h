// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio window ("Radio Operation Menu"): the transceiver's control panel. It holds the
// state of its controls under their design names and has one routine per action; the Qt view
// (radio_main_view) only draws this state and forwards clicks.
#include <array>
#include <string>
#include <vector>

#include "civ/decoder_displays.h"
#include "radio/memory_values.h"

namespace tavrin {

class ControlProgram;

// The option groups of the window; options of one group exclude each other.
enum class RadioGroup {
  RxTx,
  Modes,
  Filters,
  Antennas,
  DualWatch,
  Split,
  VfoMem,
  MainSub,
  MemoryCommands,
  None
};

enum class RadioControlKind { Option, PushOption, Button };

// One row of the command table.
struct RadioControl {
  const char* name;     // design name, "Option23", "Command42"
  const char* caption;  // exact caption, trailing blanks included
  RadioControlKind kind;
  RadioGroup group;     // for options
  const char* frame;    // "Recv Control", "Dspl/Mem Ctrl", "Command Control", "Navigation", ""
  std::string command;  // command bytes of a plain command; empty for prompted and local ones
};

// The whole command table, in the window's reading order.
const std::vector<RadioControl>& RadioControls();
// The row of a control by design name, or nullptr.
const RadioControl* FindRadioControl(const std::string& name);

// The fields Text1 .. Text7 (OperatingDisplay) are written by the decoder, the status line and
// the actions; the option marks are set by the decoder and the synchronisation by caption
// (OptionMarks).
class RadioMain : public OperatingDisplay, public OptionMarks {
 public:
  explicit RadioMain(ControlProgram& program);

  // Marks of Option1 .. Option36 (index 0 unused).
  std::array<bool, 37> OptionMarked{};
  std::string Command44Caption = "Auto Status Toggle";
  bool Loaded = false;
  bool Visible = false;
  int RaiseCount = 0;  // counts Show requests: the view brings the window to the front

  void Load();  // runs StartUp
  void Show();  // loads on first use, shows modeless, brings to front
  void Hide();

  // A user click on Option<n>: marks it (unmarking its group) and runs its action, also when
  // it was already marked. Push options unmark themselves again.
  void ClickOption(int n);
  // Marking from program code (start-up synchronisation, transceive mode frames): runs the
  // action only when the mark changes. The Rx/Tx marks only show what the transceiver does:
  // the program never sends the receive/transmit command on its own, and a filter mark
  // with the operating mode unknown only marks (the filter frame carries the mode).
  void MarkOption(int n);
  // Marks Option<n> (unmarking its group) to show the transceiver's state, running nothing.
  void ShowOptionMark(int n);
  // The same two by caption, for the decoder and the synchronisation.
  void MarkCaption(const std::string& caption) override;
  void ShowCaption(const std::string& caption) override;
  // The option of a group whose caption is `caption` ("Usb", "F2"), or 0.
  [[nodiscard]] static int OptionByCaption(const std::string& caption);
  // A user click on a button by design name ("Command3") or on the status line ("Text7").
  void Click(const std::string& control);

  // Plain commands.
  void SendPlainCommand(const std::string& commandBytes);
  void Ant();            // 12
  void RT();             // 1C 00
  void RigId();          // 19 00
  void Voice();          // 13 00
  void SMeter();         // 15 02
  void SquelchStatus();  // 15 01
  void Call();           // 1A 05 15
  void Time();           // 1A 05 16
  void Mem();            // 08
  void OpFq();           // 03
  void OpMd();           // 04
  // 06 m f, m the transceiver's last known operating mode; with none known the mode is asked
  // for first (04) and the filter sent with the answer, or refused in a box.
  void Filter(int filterNumber);

  // Local actions.
  void Mclr();
  void ClearStatus();
  void ToggleAutoStatus();
  void ShowMemoryWindow();
  void ShowSetupWindow();
  void Help();
  void Exit();
  // The window frame's close control: ends the program as "Exit" does, so that no program
  // goes on running with only hidden windows.
  void CloseByFrame();

  // Prompted commands.
  void SetVol();
  void SetCall();
  void SetTime();
  void ManualCommands();

  // Memory commands on a click: they ask for their values.
  void Msel();
  void Mrd();
  void Mset();
  void SetFq();
  void SetMd();
  // The same memory commands with their values given (the memory window's operations,
  // korvid's panel): nothing is asked and no box is shown; what became of them is returned.
  // "Msel" selects the channel and reads it back or clears it; "Mset" writes the record and
  // selects and reads back the channel, three frames back to back.
  MemoryCommandResult SelectMemoryChannel(const std::string& channel, AfterSelect then);
  MemoryCommandResult ReadMemoryChannel(const std::string& channel);
  MemoryCommandResult WriteMemoryChannel(const MemoryValues& values);
  // Why the last of the prompted and memory commands sent nothing because of a value it was
  // asked or given (an unusable or missing value, a number with no byte form, an unknown mode
  // word or filter, a manual command that is not hexadecimal); empty when it sent its frames.
  std::string LastRefusal;

  // Blanking helpers shared by the commands.
  void ClearStatusLine();  // Text7 and the memory window's Text9 to " "
  void BlankDisplay();     // Text1..Text7 and the memory window's Text9 to " "

 private:
  // The memory commands, asking for their values when `given` is none.
  MemoryCommandResult SelectMemory(const std::string* given, AfterSelect then);
  MemoryCommandResult ReadMemory(const std::string* given);
  MemoryCommandResult WriteMemory(const MemoryValues* given);
  void RunOptionAction(int n);
  void MarkInGroup(int n);
  // The answer to the mode query that a filter option sent: the filter goes out with the mode
  // it names, or is refused.
  void FilterWithAnsweredMode(const std::string& reply);
  void RefuseFilter(int filterNumber);
  ControlProgram& program_;
};

}  // namespace tavrin
