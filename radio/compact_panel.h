// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The compact operator panel of korvid, the radio window of that build: the fields of the radio
// window, a "Vfo/Mem" frame, three lists that pick mode, filter and antenna, four memory
// options, "Set Vol" and "Exit". It adds no command of its own: every control runs a handler
// of the radio window (RadioMain), whose other options stay on the window without captions and
// keep the start-up synchronisation and the transceive marks working. The Qt view
// (compact_panel_view) only draws this state and the radio window's fields.
#include <array>
#include <string>
#include <vector>

namespace tavrin {

class ControlProgram;
class RadioMain;
class CompactPanel;

// One item of a list and the radio window option whose handler it runs.
struct PanelListItem {
  const char* text;    // as the list shows it, "USB"
  const char* option;  // caption of the radio window option, "Usb"
};

struct PanelList {
  const char* name;     // design name, "List1"
  const char* caption;  // the label above it, "Mode"
  std::vector<PanelListItem> items;
};

enum class PanelListId { Mode = 0, Filter = 1, Antenna = 2 };

// The three lists in the window's order: mode, filter, antenna.
const std::vector<PanelList>& PanelLists();

// A control of the panel that runs one action when clicked.
struct PanelControl {
  const char* name;     // design name, "Option39"
  const char* caption;  // exact caption
  const char* frame;    // "Vfo/Mem" for the three options inside that frame, else ""
  bool isButton;        // a button; the others are options
  void (CompactPanel::*action)();
};

// The options and buttons of the panel, in the window's reading order.
const std::vector<PanelControl>& PanelControls();

class CompactPanel {
 public:
  explicit CompactPanel(ControlProgram& program);

  // The last choice of each list: the full text of the item last clicked, empty before the
  // first click. The lists show only the operator's last click, never what the transceiver
  // reports.
  std::string LastModeChoice;
  std::string LastFilterChoice;
  std::string LastAntennaChoice;
  // The row each list shows selected, by PanelListId; -1 before the first click.
  std::array<int, 3> ListIndex{-1, -1, -1};

  // A click on row `index` of a list: the row's text becomes the list's last choice and the
  // matching option handler runs, also when the row was selected already. A row the list does
  // not have does nothing.
  void ClickList(PanelListId list, int index);
  // A click on a control of PanelControls by design name; other names do nothing.
  void Click(const std::string& control);

  // The "Vfo/Mem" frame.
  void Vfo();
  void Mem();
  void MemoryToVfo();
  // The four memory options. They behave as push options: none keeps a mark, so the same one
  // can be clicked twice in a row.
  void SelectMemoryChannel();
  void SetMemoryChannel();
  // Selects the channel the operator names and clears it. A channel prompt that is cancelled
  // or answered with nothing usable clears nothing, and the clear request ends with it; a
  // number that names no channel (0, 102 to 179, letters) is refused before anything is sent.
  void ClearMemoryChannel();
  void SetVfoFrequency();
  void SetVol();
  void Exit();

  [[nodiscard]] std::string& LastChoice(PanelListId list);
  [[nodiscard]] RadioMain& Radio();

 private:
  // Runs the handler of the radio window option captioned `caption` as a click on it would.
  void RunOption(const char* caption);

  ControlProgram& program_;
};

}  // namespace tavrin
