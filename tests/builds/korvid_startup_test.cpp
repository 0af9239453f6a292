// SPDX-License-Identifier: GPL-3.0-or-later
// korvid comes up as tavrin does: the same synchronisation with the transceiver, whose marks
// land on the radio window's uncaptioned options, and a memory window that only carries fields
// and timers and never shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_fixture.h"

namespace tavrin::testing {
namespace {

class KorvidStartUpTest : public ProgramFixture {};

TEST_F(KorvidStartUpTest, SynchronisesAndMarksTheUncaptionedOptions) {
  WriteConfig();
  rig.SetVfo(7'050'000, sim::kModeCw, 3);
  ControlProgram& p = Start(Build::Korvid);
  ASSERT_FALSE(desktop.ended);
  EXPECT_TRUE(p.radio.Visible);
  EXPECT_EQ(p.station.SyncStep, 0);
  // Five queries, one per reply, then the frames of the options marked to the transceiver's
  // state: antenna 1, CW, filter 3 (receive is only marked: the program never sends the
  // receive/transmit command by itself).
  EXPECT_EQ(Sent(),
            (std::vector<std::string>{Frame({0x03}), Frame({0x04}), Frame({0x12}),
                                      Frame({0x1C, 0x00}), Frame({0x19, 0x00}), Frame({0x12, 0x00}),
                                      Frame({0x06, 0x03}), Frame({0x06, 0x03, 0x03})}));
  for (const char* caption : {"Ant1", "Rx", "Cw", "F3"})
    EXPECT_TRUE(p.radio.OptionMarked[static_cast<std::size_t>(RadioMain::OptionByCaption(caption))])
        << caption;
  EXPECT_EQ(p.radio.Text1, "07.050.0");
  EXPECT_EQ(p.radio.Text4, "CW");
  // The lists show only what the operator clicked, and nothing has been clicked.
  EXPECT_EQ(p.panel.ListIndex, (std::array<int, 3>{-1, -1, -1}));
  EXPECT_EQ(p.panel.LastModeChoice, "");

  // The memory window carries fields and its operations but never shows; with no operation
  // running their timer is at rest.
  MemoryMain& memory = p.memory;
  EXPECT_EQ(memory.Caption, "Memory Operation Menu");
  EXPECT_TRUE(memory.PresentButtons.empty());
  EXPECT_FALSE(memory.HasMenuBar);
  EXPECT_TRUE(memory.Loaded);
  EXPECT_FALSE(memory.Operations().StepTimer.Enabled());
  // Start-up writes into it while it is hidden.
  EXPECT_EQ(memory.Text6, "Hello K1ABC");
  EXPECT_EQ(memory.Text7, "Open Process Complete");
  // None of its buttons exists, so none starts an operation or leads anywhere; nor does
  // anything on the panel show it.
  ClearSent();
  desktop.boxes.clear();
  for (const MemoryButton& button : MemoryButtons()) {
    desktop.AnswerYes();
    memory.Click(button.name);
  }
  for (const PanelControl& control : PanelControls()) {
    if (std::string(control.name) == "Command0") continue;  // Exit
    p.panel.Click(control.name);
    Advance(100);
  }
  Advance(1000);
  EXPECT_FALSE(memory.Visible);
  EXPECT_EQ(memory.Operations().Running(), nullptr);
  EXPECT_FALSE(desktop.ended);
  // Only the panel's prompts were asked (each cancelled), no question of the memory window.
  EXPECT_TRUE(desktop.MessageBoxes().empty());
}

TEST_F(KorvidStartUpTest, AMissingConfigurationOpensTheSetupWindow) {
  ControlProgram& p = Start(Build::Korvid);
  EXPECT_EQ(desktop.boxes.at(0).title, "Open Config File Error");
  EXPECT_TRUE(p.setup.Visible && p.station.ConfigMissing);
  EXPECT_TRUE(Sent().empty());
}

}  // namespace
}  // namespace tavrin::testing
