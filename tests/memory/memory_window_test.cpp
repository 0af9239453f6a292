// SPDX-License-Identifier: GPL-3.0-or-later
// The memory window itself: its shape in each build, stopping, leaving, and the way to the
// other windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

class MemoryWindowTest : public MemoryFixture {};

TEST_F(MemoryWindowTest, EachBuildHasItsOwnShapeAndTheMemoryManagersLackedControlsDoNothing) {
  const std::vector<std::tuple<Build, const char*, bool, std::size_t>> shapes = {
      {Build::Tavrin, "Memory Operation Menu", true, 14},
      {Build::Korvid, "Memory Operation Menu", false, 0},
      {Build::Belmarq, "Memory Operations", false, 10}};
  for (const auto& [build, caption, menuBar, buttons] : shapes) {
    program.reset();
    const MemoryMain& memory = Program(build).memory;
    EXPECT_EQ(memory.Caption, caption);
    EXPECT_EQ(memory.HasMenuBar, menuBar);
    EXPECT_EQ(memory.PresentButtons.size(), buttons);
  }
  EXPECT_EQ(MemoryButtons().size(), 14u);
  // The memory manager has no "Scan Rig", no scan "=", no "Skip" and no way to the radio window.
  program.reset();
  StartProgram(Build::Belmarq);
  for (const std::string control : {"Command6", "Command13", "Command11", "Command7"}) {
    EXPECT_EQ(std::count(Memory().PresentButtons.begin(), Memory().PresentButtons.end(), control),
              0);
    desktop.AnswerYes();
    Memory().Click(control);
  }
  Advance(1000);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(Runs("Scan Rig"));
  EXPECT_FALSE(program->radio.Visible);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(MemoryWindowTest, ClearStopEndsEveryOperationAndKeepsTheOldBackup) {
  StartProgram();
  WriteFile("KESTRA.TXT", "my old backup\r\n");
  rig.SetChannel(1, sim::MemoryChannel::Filled(14'195'000, sim::kModeUsb, 2, "DX"));
  desktop.AnswerYes();
  Memory().Click("Command1");  // Create File
  Advance(1000);
  ASSERT_TRUE(Runs("Create File"));

  for (const char* stop : {"Command8", "Command10", "Text7"}) {
    Station& s = State();
    s.AwaitingSquelch = true;
    s.AutoStatusOn = false;
    s.SquelchState = 1;
    Memory().Text3 = "14.195.0";
    Memory().Click(stop);
    EXPECT_FALSE(AnyRuns() || s.AwaitingSquelch || s.DataFileOpen) << stop;
    EXPECT_EQ(s.SquelchState, 0);
    EXPECT_TRUE(s.AutoStatusOn);
    EXPECT_EQ(Memory().Text3, "") << stop;
  }
  const std::size_t sent = Sent().size();
  Advance(1000);
  EXPECT_EQ(Sent().size(), sent) << "nothing runs any more";
  // The backup that was being made is dropped; the old one is there byte for byte.
  EXPECT_EQ(ReadFile("KESTRA.TXT"), "my old backup\r\n");
  EXPECT_EQ(
      Messages(),
      (Shown{{"Create File", "KESTRA.TXT ... Are you sure?"},
             {"Create File",
              "Create File was stopped ... KESTRA.TXT was not changed: the old file was kept"}}));
}

TEST_F(MemoryWindowTest, OneOperationRunsAtATime) {
  StartProgram();
  Memory().Click("Command4");  // View Rig
  Memory().LastBlankStart = "1";
  Memory().LastBlankEnd = "5";
  Memory().LastScanStart = Memory().LastScanEnd = Memory().LastScanSpeed = "1";
  Memory().LastScanSelectMode = "0";
  for (const char* button : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6",
                             "Command12", "Command13"}) {
    desktop.boxes.clear();
    Memory().Click(button);
    ASSERT_EQ(Messages().size(), 1u) << button;
    EXPECT_EQ(Messages()[0].second,
              "View Rig is running ... Wait for it to end or press Clear / Stop");
  }
  EXPECT_FALSE(Runs("Create File") || Runs("View File") || Runs("Update Rig") ||
               Runs("Blank Rig") || Runs("Scan Rig"));
  Advance(2100);
  EXPECT_EQ(Memory().Text1, "4") << "View Rig goes on undisturbed";
}

TEST_F(MemoryWindowTest, ViewRigReadsChannels1To99HalfASecondApart) {
  StartProgram();
  rig.SetChannel(2, sim::MemoryChannel::Filled(7'050'000, sim::kModeLsb, 2, "40M", true));
  Memory().Click("Command4");
  Advance(1100);
  EXPECT_EQ(Memory().Text1, "2");
  EXPECT_EQ(Memory().Text2, "*");
  EXPECT_EQ(Memory().Text3, "07.050.0");
  Advance(98 * 500);
  EXPECT_FALSE(Runs("View Rig"));
  EXPECT_EQ(Memory().Text1, "END");
  EXPECT_EQ(Memory().Text7, "END");
  const auto reads = SentStartingWith(Bytes({0x1A, 0x00}));
  ASSERT_EQ(reads.size(), 99u);
  EXPECT_EQ(reads[41], Frame({0x1A, 0x00, 0x00, 0x42}));
  const auto& frames = serial.SentFrames();
  EXPECT_EQ(frames[1].micros - frames[0].micros, 500'000);
}

TEST_F(MemoryWindowTest, ExitEndsTheProgramAndClosingTheFrameOnlyTheMemoryManager) {
  const struct {
    Build build;
    const char* how;
    bool ends;
  } cases[] = {{Build::Tavrin, "Command0", true},
               {Build::Tavrin, "menu", true},
               {Build::Tavrin, "frame", false},
               {Build::Belmarq, "frame", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    program.reset();
    desktop.ended = false;
    StartProgram(c.build);
    Memory().Show();
    ASSERT_TRUE(State().DataFileOpen);
    const std::string how = c.how;
    Memory().Click("Command4");  // View Rig
    if (how == "menu") Memory().Exit();
    if (how == "frame") Memory().CloseByFrame();
    if (how == "Command0") Memory().Click(how);
    EXPECT_EQ(desktop.ended, c.ends);
    EXPECT_EQ(State().DataFileOpen, !c.ends);
    if (c.ends) continue;
    EXPECT_FALSE(Memory().Visible);
    EXPECT_TRUE(Runs("View Rig") && Memory().Operations().StepTimer.Enabled())
        << "the operations go on behind";
  }
}

TEST_F(MemoryWindowTest, TheStepTimerRunsOnlyWhileAnOperationRunsAtItsPace) {
  StartProgram();
  const Timer& timer = Memory().Operations().StepTimer;
  EXPECT_FALSE(timer.Enabled()) << "an idle window wakes nothing";
  // Enough channel lines for View File and Update Rig to run a while; a silent transceiver
  // gives every step its whole period.
  std::string lines;
  for (int n = 1; n <= 20; ++n)
    lines += Line(std::to_string(n), "14.000.0", "USB", "Fil 2", "", "");
  WriteFile("KESTRA.TXT", lines);
  rig.SetSilent(true);
  struct Case {
    const char* button;
    std::vector<std::string> typed;
    const char* title;
    int periodMs;
  };
  const Case cases[] = {{"Command1", {}, "Create File", 200},
                        {"Command2", {}, "View File", 500},
                        {"Command3", {}, "Update Rig", 200},
                        {"Command4", {}, "View Rig", 500},
                        {"Command5", {"1", "5"}, "Blank Rig", 200},
                        {"Command6", {"1", "2", "1", "0"}, "Scan Rig", 100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    desktop.AnswerYes();
    for (const std::string& answer : c.typed) desktop.Type(answer);
    Memory().Click(c.button);
    EXPECT_TRUE(Runs(c.title));
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), c.periodMs);
    Advance(700);
    EXPECT_TRUE(Runs(c.title) && timer.Enabled()) << "still running";
    Memory().Click("Command10");  // S t o p
    desktop.boxes.clear();
    Advance(600);
    EXPECT_FALSE(AnyRuns() || timer.Enabled());
  }
  // An operation that ends by itself stops the timer at its next tick.
  desktop.AnswerYes();
  desktop.Type("1");
  desktop.Type("1");
  Memory().Click("Command5");
  Advance(1000);
  EXPECT_FALSE(Runs("Blank Rig"));
  EXPECT_FALSE(timer.Enabled());
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
  EXPECT_EQ(Messages(), (Shown{{"Help", "Help Yourself"}}));
  EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::Ok);
}

}  // namespace
}  // namespace tavrin::testing
