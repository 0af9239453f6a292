// The radio window's behaviour beyond single frames: option marks and push options, the filter
// options' mode byte, the local actions, navigation and ending, on the simulated transceiver.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "radio/radio_main.h"
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

  // A user click on the marked "Rx" sends again; marking it from code does not.
  ClearSent();
  ASSERT_TRUE(r.OptionMarked[1]);
  r.ClickOption(1);
  Advance(60);
  r.MarkOption(1);
  Advance(60);
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x1C, 0x00, 0x00})});
  r.MarkOption(2);  // Tx: the mark changes, so its action runs
  Advance(60);
  EXPECT_TRUE(r.OptionMarked[2]);
  EXPECT_FALSE(r.OptionMarked[1]);
  EXPECT_EQ(Sent().back(), Frame({0x1C, 0x00, 0x01}));
  EXPECT_TRUE(rig.Transmitting());
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

TEST_F(RadioWindowTest, FilterOptionsTakeTheModeByteFromTheModeField) {
  ControlProgram& p = Started();
  const std::vector<std::pair<const char*, int>> cases = {
      {"AM", 0x02},   {"FM", 0x05},    {"USB", 0x01}, {"LSB", 0x00}, {"CW", 0x03},  {"CWr", 0x07},
      {"RTTY", 0x04}, {"RTTYr", 0x08}, {" ", 0x00},   {"", 0x00},    {"usb", 0x00}, {"CWR", 0x00}};
  for (const auto& [text4, mode] : cases) {
    p.radio.Text4 = text4;
    ClearSent();
    p.radio.ClickOption(35);  // F2
    EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x06, mode, 0x02})}) << text4;
    Advance(60);
  }
}

TEST_F(RadioWindowTest, MclrClearsTheChannelAndBlanksAllButTheStatusLine) {
  ControlProgram& p = Started();
  FillFields(p);
  p.station.ClearAfterSelect = true;
  p.station.MemorySequenceBusy = true;
  p.radio.Click("Option28");
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x0B})});
  EXPECT_FALSE(p.station.ClearAfterSelect);
  EXPECT_FALSE(p.station.MemorySequenceBusy);
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
