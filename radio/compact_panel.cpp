// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/compact_panel.h"

#include "app/control_program.h"
#include "civ/memory_record.h"
#include "civ/mode_table.h"
#include "radio/command_input.h"
#include "radio/value_refusal.h"

namespace tavrin {

namespace {

// The channel prompt of the select, which the clear asks itself (see ClearMemoryChannel).
constexpr const char* kSelectTitle = "Select Memory Channel Number";
constexpr const char* kChannelPrompt = "Enter 'CHANNEL NUMBER' (1-101)";

}  // namespace

namespace {

// The mode list's items, in the list's order, spelled as the mode table has them: the text the
// mode field shows, and the option it runs.
std::vector<PanelListItem> ModeItems(std::initializer_list<unsigned char> codes) {
  std::vector<PanelListItem> items;
  for (const unsigned char code : codes) {
    const civ::Mode* mode = civ::ModeOfCode(code);
    items.push_back({mode->shown, mode->option});
  }
  return items;
}

}  // namespace

const std::vector<PanelList>& PanelLists() {
  // The mode list offers no reverse modes.
  static const std::vector<PanelList> lists = {
      {"List1", "Mode", ModeItems({0x02, 0x05, 0x01, 0x00, 0x03, 0x04})},
      {"List2", "Filter", {{"Filter 1", "F1"}, {"Filter 2", "F2"}, {"Filter 3", "F3"}}},
      {"List3", "Antenna", {{"Antenna 1", "Ant1"}, {"Antenna 2", "Ant2"}}},
  };
  return lists;
}

const std::vector<PanelControl>& PanelControls() {
  // The frame's options keep the radio window's design names: they are those options.
  static const std::vector<PanelControl> controls = {
      {"Option17", "Vfo", "Vfo/Mem", false, &CompactPanel::Vfo},
      {"Option18", "Mem", "Vfo/Mem", false, &CompactPanel::Mem},
      {"Option24", "M>V", "Vfo/Mem", false, &CompactPanel::MemoryToVfo},
      {"Option37", "Select Memory Channel", "", false, &CompactPanel::SelectMemoryChannel},
      {"Option38", "Set Memory Channel", "", false, &CompactPanel::SetMemoryChannel},
      {"Option39", "Clear Memory Channel", "", false, &CompactPanel::ClearMemoryChannel},
      {"Option40", "Set VFO Frequency", "", false, &CompactPanel::SetVfoFrequency},
      {"Command2", "Set Vol", "", true, &CompactPanel::SetVol},
      {"Command0", "Exit", "", true, &CompactPanel::Exit},
  };
  return controls;
}

CompactPanel::CompactPanel(ControlProgram& program) : program_(program) {}

RadioMain& CompactPanel::Radio() { return program_.radio; }

std::string& CompactPanel::LastChoice(PanelListId list) {
  switch (list) {
    case PanelListId::Filter:
      return LastFilterChoice;
    case PanelListId::Antenna:
      return LastAntennaChoice;
    case PanelListId::Mode:
      break;
  }
  return LastModeChoice;
}

void CompactPanel::ClickList(PanelListId list, int index) {
  const auto which = static_cast<std::size_t>(list);
  if (which >= PanelLists().size()) return;
  const std::vector<PanelListItem>& items = PanelLists()[which].items;
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  ListIndex[which] = index;
  std::string& choice = LastChoice(list);
  choice = items[static_cast<std::size_t>(index)].text;
  for (const PanelListItem& item : items) {
    if (choice == item.text) RunOption(item.option);
  }
}

void CompactPanel::Click(const std::string& control) {
  for (const PanelControl& row : PanelControls()) {
    if (control == row.name) return (this->*row.action)();
  }
}

void CompactPanel::RunOption(const char* caption) {
  program_.radio.ClickOption(RadioMain::OptionByCaption(caption));
}

void CompactPanel::Vfo() { RunOption("Vfo"); }
void CompactPanel::Mem() { RunOption("Mem"); }
void CompactPanel::MemoryToVfo() { RunOption("M>V"); }

void CompactPanel::SelectMemoryChannel() { RunOption("Msel"); }

void CompactPanel::SetMemoryChannel() { RunOption("Mset"); }

void CompactPanel::ClearMemoryChannel() {
  Station& s = program_.station;
  // The channel is asked here and checked before anything is sent: the transceiver refuses
  // the select of a number that names no channel (0, 102 to 179, letters) and stays on its
  // current channel, and the clear behind the select would then wipe that channel instead.
  s.MemChannelText = program_.platform.desktop.InputBox(kSelectTitle, kChannelPrompt, "");
  const auto code = ChannelCode(s.MemChannelText);
  if (!IsUnusableMemoryText(s.MemChannelText) && !(code && civ::ChannelOfCode(*code))) {
    RefuseValue(program_, kSelectTitle, RefusalOf(TypedValue::ChannelToRead, s.MemChannelText),
                true);
    return;
  }
  // The select asks nothing more now. It selects the channel and clears it; an answer with
  // nothing usable (Cancel, "0", " ") clears the status line and sends nothing.
  program_.radio.SelectMemoryChannel(s.MemChannelText, AfterSelect::Clear);
}

void CompactPanel::SetVfoFrequency() { RunOption("SetFq"); }
void CompactPanel::SetVol() { program_.radio.SetVol(); }
void CompactPanel::Exit() { program_.radio.Exit(); }

}  // namespace tavrin
