// SPDX-License-Identifier: GPL-3.0-or-later
// The radio window's behaviour beyond single frames: option marks and push options, the filter
// options' mode byte, the local actions, navigation and ending, on the simulated transceiver.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "radio/radio_main.h"
#include "sim/memory_channel.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::Frame;
using testing::ProgramFixture;

class RadioWindowTest : public ProgramFixture {
 protected:
  ControlProgram& Started() {
    program.reset();
    desktop.ended = false;
    WriteConfig();
    rig.FillDemoChannels();
    ControlProgram& p = Start();
    ClearSent();
    return p;
  }

  static std::vector<bool> Marks(const RadioMain& radio) {
    return std::vector<bool>(radio.OptionMarked.begin(), radio.OptionMarked.end());
  }

  // Fills the six fields and both status lines; Fields() reads the six fields and Text7.
  static void FillFields(ControlProgram& p) {
    RadioMain& r = p.radio;
    std::tie(r.Text1, r.Text2, r.Text3, r.Text4, r.Text5, r.Text6) =
        std::tuple("14.195.0", "5", "*", "USB", "Fil 2", "DX NET");
    r.Text7 = p.memory.Text9 = "STATUS =  254";
  }
  static std::vector<std::string> Fields(const RadioMain& r) {
    return {r.Text1, r.Text2, r.Text3, r.Text4, r.Text5, r.Text6, r.Text7};
  }
};

TEST_F(RadioWindowTest, ClickMarksTheOptionUnmarksItsGroupAndSendsEvenWhenMarked) {
  ControlProgram& p = Started();
  RadioMain& r = p.radio;
  ASSERT_TRUE(r.OptionMarked[5]);   // Usb
  ASSERT_TRUE(r.OptionMarked[11]);  // Ant1
  r.ClickOption(9);                 // Rtty
  EXPECT_TRUE(r.OptionMarked[9]);
  EXPECT_FALSE(r.OptionMarked[5]);
  EXPECT_TRUE(r.OptionMarked[11]);
  EXPECT_TRUE(r.OptionMarked[35]);  // the filter group is another group
  r.ClickOption(14);                // Du1
  r.ClickOption(13);                // Du0
  EXPECT_FALSE(r.OptionMarked[14]);
  EXPECT_TRUE(r.OptionMarked[13]);
  EXPECT_TRUE(r.OptionMarked[9]);
  Advance(60);

  // A user click on the marked "Rx" sends again; marking it from code does not. Nor does
  // marking "Tx" from code: the program never keys the transmitter by itself.
  ClearSent();
  ASSERT_TRUE(r.OptionMarked[1]);
  r.ClickOption(1);
  Advance(60);
  r.MarkOption(1);
  Advance(60);
  r.MarkOption(2);
  Advance(60);
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x1C, 0x00, 0x00})});
  EXPECT_TRUE(r.OptionMarked[2]);
  EXPECT_FALSE(r.OptionMarked[1]);
  EXPECT_FALSE(rig.Transmitting());
  r.MarkOption(1);
  EXPECT_EQ(Sent().size(), 1u);
  EXPECT_TRUE(r.OptionMarked[1]);
  // The operator's own click does key it.
  r.ClickOption(2);
  Advance(60);
  EXPECT_EQ(Sent().back(), Frame({0x1C, 0x00, 0x01}));
  EXPECT_TRUE(rig.Transmitting());
}

// The start-up synchronisation finds the transceiver transmitting: "Tx" is marked, and the
// operator who lets the key go is not put back on the air.
TEST_F(RadioWindowTest, ATransmittingTransceiverIsShownNotKeyedAgain) {
  WriteConfig();
  rig.Handle(Frame({0x1C, 0x00, 0x01}));
  ASSERT_TRUE(rig.Transmitting());
  ControlProgram& p = Start();
  EXPECT_TRUE(p.radio.OptionMarked[2]);
  for (const std::string& frame : Sent()) EXPECT_NE(frame, Frame({0x1C, 0x00, 0x01}));
}

TEST_F(RadioWindowTest, PushOptionsUnmarkThemselvesSoASecondClickIsANewClick) {
  ControlProgram& p = Started();
  for (int option = 21; option <= 33; ++option) {
    // The prompted ones are cancelled (an unanswered input box gives the empty text).
    p.radio.ClickOption(option);
    Advance(60);
    for (int other = 21; other <= 33; ++other)
      EXPECT_FALSE(p.radio.OptionMarked[static_cast<std::size_t>(other)]) << option << " " << other;
  }
  ClearSent();
  desktop.boxes.clear();
  desktop.Type("1");
  desktop.Type("2");
  p.radio.ClickOption(23);  // Msel, twice
  Advance(60);
  p.radio.ClickOption(23);
  Advance(60);
  EXPECT_EQ(desktop.InputBoxes().size(), 2u);
  EXPECT_EQ(Sent(),
            (std::vector<std::string>{Frame({0x08, 0x00, 0x01}), Frame({0x1A, 0x00, 0x00, 0x01}),
                                      Frame({0x08, 0x00, 0x02}), Frame({0x1A, 0x00, 0x00, 0x02})}));
  EXPECT_EQ(p.radio.Text2, "2");
  EXPECT_EQ(p.radio.Text6, "40M       ");
}

// "F2" keeps the transceiver's operating mode, whatever the mode field shows: it is blank after
// "Clear Status" and shows a memory's mode after "Mrd".
TEST_F(RadioWindowTest, FilterOptionsSendTheOperatingModeNotTheModeField) {
  ControlProgram& p = Started();  // the transceiver is on USB
  RadioMain& r = p.radio;
  const std::string usbF2 = Frame({0x06, 0x01, 0x02});
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"start-up", [] {}},
      {"Clear Status", [&] { r.Click("Command36"); }},
      {"Mclr", [&] { r.Text4 = " "; }},
      {"empty field", [&] { r.Text4 = ""; }},
      {"memory read",
       [&] {
         desktop.Type("2");  // channel 2 holds LSB
         r.ClickOption(25);
         Advance(60);
       }},
  };
  for (const auto& [what, before] : cases) {
    SCOPED_TRACE(what);
    before();
    ClearSent();
    r.ClickOption(35);
    EXPECT_EQ(Sent(), std::vector<std::string>{usbF2});
    Advance(60);
    EXPECT_EQ(rig.Mode(), sim::kModeUsb);
  }
  // A mode set by "SetMd", a mode option, or picked on the front panel is the new mode.
  desktop.Type("cw");
  desktop.Type("3");
  r.ClickOption(30);
  Advance(60);
  ClearSent();
  r.ClickOption(35);
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x06, 0x03, 0x02})});
  Advance(60);
  r.ClickOption(9);  // Rtty
  Advance(60);
  ClearSent();
  r.ClickOption(34);
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x06, 0x04, 0x01})});
  Advance(60);
  rig.ChangeMode(sim::kModeAm, 1);
  Advance(60);
  ClearSent();
  r.ClickOption(36);
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x06, 0x02, 0x03})});
}

// After a select the mode is the channel's, which the program has not heard: "F2" asks for
// it first and sends the filter with the answer; with no answer it refuses in a box.
TEST_F(RadioWindowTest, WithNoModeKnownAFilterAsksForItFirst) {
  ControlProgram& p = Started();
  RadioMain& r = p.radio;
  rig.SetChannel(1, sim::MemoryChannel::Filled(3'550'000, sim::kModeCw, 1, "CW"));
  r.Click("Option18");  // Mem: the transceiver goes to its current memory channel, on CW
  Advance(60);
  const std::uint8_t mode = rig.Mode();
  ASSERT_EQ(mode, sim::kModeCw);
  ClearSent();
  r.ClickOption(35);
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x04})});
  Advance(60);
  EXPECT_EQ(Sent(), (std::vector<std::string>{Frame({0x04}), Frame({0x06, mode, 0x02})}));
  EXPECT_TRUE(desktop.MessageBoxes().empty());
  Advance(60);

  r.Click("Option17");  // Vfo
  Advance(60);
  rig.SetSilent(true);
  ClearSent();
  r.ClickOption(36);
  Advance(60);
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x04})});
  const auto boxes = desktop.MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Filter");
  EXPECT_NE(boxes[0].text.find("F3 ..."), std::string::npos) << boxes[0].text;
  EXPECT_EQ(p.station.FilterAwaitingMode, 0);
}

// A mode frame the transceiver refuses (here a filter byte it does not have) leaves its mode
// as it was, so the program no longer knows it: the next filter asks for it first.
TEST_F(RadioWindowTest, ARefusedModeFrameLeavesTheModeUnknown) {
  ControlProgram& p = Started();
  RadioMain& r = p.radio;
  ASSERT_EQ(rig.Mode(), sim::kModeUsb);
  desktop.Type("06 03 07");
  r.Click("Command42");
  Advance(60);
  ASSERT_EQ(rig.Mode(), sim::kModeUsb) << "the transceiver refused the frame";
  ClearSent();
  r.ClickOption(35);  // F2
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x04})});
  Advance(60);
  EXPECT_EQ(rig.Mode(), sim::kModeUsb);
  EXPECT_EQ(rig.Filter(), 2);
}

// A synchronisation run with auto status off (a cable plugged back in) marks the filter the
// transceiver is on, with no mode to send it in: it only marks, neither asking for the mode
// again nor refusing a filter nobody pressed.
TEST_F(RadioWindowTest, AFilterMarkedByTheSynchronisationWithAutoStatusOffOnlyMarks) {
  ControlProgram& p = Started();
  RadioMain& r = p.radio;
  r.ToggleAutoStatus();
  rig.ChangeMode(sim::kModeCw, 3);
  Advance(60);
  ClearSent();
  p.station.SyncStep = 1;
  p.link.Timer2.SetEnabled(true);
  Advance(600);
  EXPECT_EQ(p.station.SyncStep, 0);
  EXPECT_TRUE(r.OptionMarked[36]);
  EXPECT_TRUE(desktop.MessageBoxes().empty());
  const std::vector<std::string> sent = Sent();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), Frame({0x04})), 1);
  EXPECT_EQ(rig.Filter(), 3);
}

TEST_F(RadioWindowTest, MclrClearsTheChannelAndBlanksAllButTheStatusLine) {
  ControlProgram& p = Started();
  FillFields(p);
  p.radio.Click("Option28");
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x0B})});
  EXPECT_EQ(Fields(p.radio),
            (std::vector<std::string>{" ", " ", " ", " ", " ", " ", "STATUS =  254"}));
}

TEST_F(RadioWindowTest, ClearStatusAndAutoStatusBlankEverythingAndSendNothing) {
  // "Clear Status", a click on the status line, and "Auto Status Toggle" three times.
  const std::vector<std::pair<const char*, const char*>> clicks = {
      {"Command36", nullptr},
      {"Text7", nullptr},
      {"Command44", "Enable Auto Status"},
      {"Command44", "Disable Auto Status"},
      {"Command44", "Enable Auto Status"}};
  ControlProgram& p = Started();
  for (const auto& [control, caption] : clicks) {
    SCOPED_TRACE(control);
    FillFields(p);
    const std::vector<bool> marks = Marks(p.radio);
    p.radio.Click(control);
    EXPECT_EQ(Fields(p.radio), std::vector<std::string>(7, " "));
    EXPECT_EQ(p.memory.Text9, " ");
    EXPECT_EQ(Marks(p.radio), marks);
    if (caption != nullptr) {
      EXPECT_EQ(p.radio.Command44Caption, caption);
      EXPECT_EQ(p.station.AutoStatusOn, std::string(caption) == "Disable Auto Status");
    }
    Advance(60);
    EXPECT_TRUE(Sent().empty());
  }
}

TEST_F(RadioWindowTest, NavigationShowsTheOtherWindowsAndHelpChangesNothing) {
  ControlProgram& p = Started();
  ASSERT_FALSE(p.memory.Visible);
  p.radio.Click("Command1");
  EXPECT_TRUE(p.memory.Visible);
  p.memory.Hide();
  p.radio.ShowMemoryWindow();  // the "Memory-Window" menu
  EXPECT_TRUE(p.memory.Visible);
  p.radio.ShowSetupWindow();  // the "Setup" menu
  EXPECT_TRUE(p.setup.Visible);
  EXPECT_TRUE(p.radio.Visible);

  FillFields(p);
  p.radio.Help();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Help");
  EXPECT_EQ(desktop.boxes[0].text, "Help Yourself");
  EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::Ok);
  EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::None);
  EXPECT_EQ(p.radio.Text1, "14.195.0");
  EXPECT_FALSE(desktop.ended);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(RadioWindowTest, ExitAndClosingTheFrameCloseTheDataFileAndEnd) {
  for (const char* how : {"Exit", "frame", "Exit without a data file"}) {
    SCOPED_TRACE(how);
    ControlProgram& p = Started();
    ASSERT_TRUE(p.station.DataFileOpen);
    if (std::string(how) == "frame") {
      p.radio.CloseByFrame();
    } else {
      if (std::string(how) != "Exit") p.CloseDataFile();
      p.radio.Click("Command0");
    }
    EXPECT_FALSE(p.station.DataFileOpen);
    EXPECT_TRUE(desktop.ended);
    EXPECT_TRUE(p.station.Ended);
    Advance(60);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(desktop.boxes.empty());
  }
}

}  // namespace
}  // namespace tavrin
