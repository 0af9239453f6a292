// The memory window itself: its shape in each build, stopping, leaving, and the way to the
// other windows.
#include <gtest/gtest.h>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

class MemoryWindowTest : public MemoryFixture {};

TEST_F(MemoryWindowTest, EachBuildHasItsOwnShapeOfTheWindow) {
  const struct {
    Build build;
    const char* caption;
    std::vector<std::string> buttons;
    bool menuBar;
  } cases[] = {
      {Build::Tavrin,
       "Memory Operation Menu",
       {"Command9", "Command2", "Command1", "Command8", "Command4", "Command3", "Command5",
        "Command6", "Command12", "Command13", "Command11", "Command10", "Command7", "Command0"},
       true},
      {Build::Belmarq,
       "Memory Operations",
       {"Command9", "Command2", "Command1", "Command8", "Command4", "Command3", "Command5",
        "Command12", "Command10", "Command0"},
       false},
      {Build::Korvid, "Memory Operation Menu", {}, false},
  };
  for (const auto& c : cases) {
    program.reset();
    MemoryMain& memory = Program(c.build).memory;
    EXPECT_EQ(memory.Caption, c.caption);
    EXPECT_EQ(memory.PresentButtons, c.buttons);
    EXPECT_EQ(memory.HasMenuBar, c.menuBar);
  }
  EXPECT_EQ(MemoryButtons().size(), 14u);
}

TEST_F(MemoryWindowTest, ControlsTheMemoryManagerLacksDoNothing) {
  StartProgram(Build::Belmarq);
  for (const char* control : {"Command6", "Command13", "Command11", "Command7"}) {
    desktop.AnswerYes();
    Memory().Click(control);
  }
  Advance(1000);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(State().ScanRigActive);
  EXPECT_FALSE(program->radio.Visible);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(MemoryWindowTest, ClosingTheFrameEndsOnlyTheMemoryManager) {
  StartProgram(Build::Tavrin);
  Memory().Show();
  Memory().CloseByFrame();
  EXPECT_FALSE(Memory().Visible);
  EXPECT_FALSE(desktop.ended);
  EXPECT_TRUE(Memory().Timer1.Enabled()) << "the operations go on behind";

  program.reset();
  StartProgram(Build::Belmarq);
  Memory().CloseByFrame();
  EXPECT_TRUE(desktop.ended);
}

TEST_F(MemoryWindowTest, ClearStopEndsEveryOperationAndKeepsWhatWasWritten) {
  StartProgram();
  rig.SetChannel(1, sim::MemoryChannel::Filled(14'195'000, sim::kModeUsb, 2, "DX"));
  desktop.AnswerYes();
  Memory().Click("Command1");  // Create File
  Advance(1000);
  ASSERT_TRUE(State().CreateFileActive);

  for (const char* stop : {"Command8", "Command10", "Text7"}) {
    State().ScanRigActive = State().ViewRigActive = State().BlankRigActive = true;
    State().ViewFileActive = State().UpdateRigActive = State().ClearAfterSelect = true;
    State().AwaitingSquelch = State().ScanSkipRequested = State().ScanStopRequested = true;
    State().AutoStatusOn = false;
    State().SquelchState = 1;
    Memory().Text3 = "14.195.0";
    Memory().Click(stop);
    const Station& s = State();
    EXPECT_FALSE(s.CreateFileActive || s.ViewFileActive || s.UpdateRigActive || s.ViewRigActive ||
                 s.BlankRigActive || s.ScanRigActive)
        << stop;
    EXPECT_FALSE(s.AwaitingSquelch || s.ScanSkipRequested || s.ScanStopRequested ||
                 s.ClearAfterSelect || s.MemorySequenceBusy)
        << stop;
    EXPECT_EQ(s.SequenceChannel, 0);
    EXPECT_EQ(s.SquelchState, 0);
    EXPECT_TRUE(s.AutoStatusOn);
    EXPECT_FALSE(s.DataFileOpen);
    EXPECT_EQ(Memory().Text3, "") << stop;
  }
  const std::size_t sent = Sent().size();
  Advance(1000);
  EXPECT_EQ(Sent().size(), sent) << "nothing runs any more";
  // The head lines and channel 1 stay in the half-written file, without its tail.
  const std::string file = ReadFile("KESTRA.TXT");
  EXPECT_NE(file.find("DX"), std::string::npos);
  EXPECT_EQ(file.find(" END"), std::string::npos);
}

TEST_F(MemoryWindowTest, OneOperationRunsAtATime) {
  StartProgram();
  Memory().Click("Command4");  // View Rig
  desktop.boxes.clear();
  Memory().LastBlankStart = "1";
  Memory().LastBlankEnd = "5";
  Memory().LastScanStart = Memory().LastScanEnd = Memory().LastScanSpeed = "1";
  Memory().LastScanSelectMode = "0";
  const char* others[] = {"Command1", "Command2", "Command3",  "Command4",
                          "Command5", "Command6", "Command12", "Command13"};
  for (const char* button : others) {
    desktop.boxes.clear();
    Memory().Click(button);
    ASSERT_EQ(desktop.MessageBoxes().size(), 1u) << button;
    EXPECT_EQ(desktop.boxes[0].text,
              "View Rig is running ... Wait for it to end or press Clear / Stop");
  }
  EXPECT_FALSE(State().CreateFileActive || State().ViewFileActive || State().UpdateRigActive ||
               State().BlankRigActive || State().ScanRigActive);
  Advance(2000);
  EXPECT_EQ(Memory().Text1, "4") << "View Rig goes on undisturbed";
}

TEST_F(MemoryWindowTest, ViewRigReadsChannels1To99HalfASecondApart) {
  StartProgram();
  rig.SetChannel(2, sim::MemoryChannel::Filled(7'050'000, sim::kModeLsb, 2, "40M", true));
  Memory().Click("Command4");
  Advance(500);
  Advance(500);
  EXPECT_EQ(Memory().Text1, "2");
  EXPECT_EQ(Memory().Text2, "*");
  EXPECT_EQ(Memory().Text3, "07.050.0");
  Advance(98 * 500);
  EXPECT_FALSE(State().ViewRigActive);
  EXPECT_EQ(Memory().Text1, "END");
  EXPECT_EQ(Memory().Text7, "END");
  const auto reads = SentStartingWith(Bytes({0x1A, 0x00}));
  ASSERT_EQ(reads.size(), 99u);
  EXPECT_EQ(reads[41], Frame({0x1A, 0x00, 0x00, 0x42}));
  const auto& frames = serial.SentFrames();
  EXPECT_EQ(frames[1].micros - frames[0].micros, 500'000);
}

TEST_F(MemoryWindowTest, ExitClosesTheDataFileAndEndsTheProgram) {
  const char* exits[] = {"Command0", "menu"};
  for (const char* exit : exits) {
    program.reset();
    desktop.ended = false;
    StartProgram();
    ASSERT_TRUE(State().DataFileOpen);
    if (std::string(exit) == "menu") {
      Memory().Exit();
    } else {
      Memory().Click(exit);
    }
    EXPECT_FALSE(State().DataFileOpen) << exit;
    EXPECT_TRUE(desktop.ended) << exit;
  }
}

TEST_F(MemoryWindowTest, MenusAndButtonsLeadToTheOtherWindows) {
  StartProgram();
  Memory().Click("Command7");
  EXPECT_TRUE(program->radio.Visible);
  Memory().ShowSetupWindow();
  EXPECT_TRUE(program->setup.Visible);
  Memory().Click("Command9");
  EXPECT_TRUE(program->data.Visible);
  EXPECT_EQ(program->data.Text1, PathOf("KESTRA.TXT"));
  Memory().Help();
  ASSERT_EQ(desktop.MessageBoxes().size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Help");
  EXPECT_EQ(desktop.boxes[0].text, "Help Yourself");
  EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::Ok);
}

}  // namespace
}  // namespace tavrin::testing
