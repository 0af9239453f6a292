// SPDX-License-Identifier: GPL-3.0-or-later
// "Scan Rig": stepping the transceiver through a range of channels, holding where a wanted
// channel's squelch is open, skipping and stopping.
#include <gtest/gtest.h>

#include <algorithm>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

class ScanRigTest : public MemoryFixture {
 protected:
  void SetUp() override { StartProgram(); }
  void Restart() {
    program.reset();
    StartProgram();
  }
  void Scan(const std::string& start, const std::string& end, const std::string& speed,
            const std::string& selectMode) {
    desktop.AnswerYes();
    for (const std::string& answer : {start, end, speed, selectMode}) desktop.Type(answer);
    Memory().Click("Command6");
  }
  // The channels selected, in order, from the frames sent (08 00 nn).
  std::vector<int> Selected() const { return Channels(false); }
  // The channel on which each squelch request (15 01) was sent.
  std::vector<int> SquelchAsked() const { return Channels(true); }
  std::vector<int> Channels(bool squelch) const {
    std::vector<int> channels;
    int current = 0;
    for (const std::string& frame : Sent()) {
      if (frame.size() == 8 && frame[4] == 0x08) {
        const auto bcd = static_cast<unsigned char>(frame[6]);
        current = (bcd >> 4) * 10 + (bcd & 0x0F);
        if (!squelch) channels.push_back(current);
      }
      if (squelch && frame == Frame({0x15, 0x01})) channels.push_back(current);
    }
    return channels;
  }
  // Lets the scan run until it selects `channel` for the `times`th time.
  void RunUntilSelected(int channel, int times) {
    for (int step = 0; step < 400; ++step) {
      const auto selected = Selected();
      if (std::count(selected.begin(), selected.end(), channel) >= times) return;
      Advance(100);
    }
    FAIL() << "channel " << channel << " not selected " << times << " times";
  }
};

TEST_F(ScanRigTest, AsksFourQuestionsAndPutsTheTransceiverIntoMemoryMode) {
  Scan("", "", "", "");
  EXPECT_EQ(Asked(), (std::vector<std::string>{
                         "Scan Rig|STARTING Channel (1-101)|1",
                         "Scan Rig|ENDING Channel (1-101)|99", "Scan Rig|Scan SPEED (1-100)|25",
                         "Scan Rig|Scan ONLY Select or SKIP Select (1=Only, 0=Skip)|0"}));
  EXPECT_EQ(Memory().FocusedControl, "Command11");
  EXPECT_TRUE(Runs("Scan Rig"));
  EXPECT_FALSE(State().AutoStatusOn);
  EXPECT_EQ(Memory().LastScanSpeed, "25");
  EXPECT_EQ(Memory().LastScanSelectMode, "0");
  ASSERT_FALSE(Sent().empty());
  EXPECT_EQ(Sent().front(), Frame({0x08}));
}

TEST_F(ScanRigTest, ABlankChannelIsLeftWithoutAskingItsSquelch) {
  for (int n : {1, 3, 4, 5}) Fill(n);
  Scan("1", "5", "25", "0");
  RunUntilSelected(1, 2);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4, 5, 1}));
  EXPECT_EQ(SquelchAsked(), (std::vector<int>{1, 3, 4, 5}));
}

TEST_F(ScanRigTest, APassVisitsTheRangeButNeverBeyondChannel99) {
  const struct {
    const char* start;
    const char* end;
    std::vector<int> firstPass;
  } cases[] = {{"10", "12", {10, 11, 12, 10}}, {"98", "101", {98, 99, 98}}};
  for (const auto& c : cases) {
    Restart();
    Scan(c.start, c.end, "25", "0");
    RunUntilSelected(c.firstPass[0], 2);
    EXPECT_EQ(Selected(), c.firstPass) << c.start << " to " << c.end;
  }
}

TEST_F(ScanRigTest, HoldsOnlyOnBusyChannelsTheSelectModeWants) {
  const struct {
    const char* selectMode;
    bool channelSelected;
    bool held;
  } cases[] = {{"0", false, true}, {"0", true, false}, {"1", true, true}, {"1", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.selectMode) + (c.channelSelected ? " selected" : " not selected"));
    Restart();
    Fill(3, c.channelSelected);
    rig.SetChannelSignal(3, true);
    Scan("3", "3", "25", c.selectMode);
    Advance(2000);
    // Held, it stays on the busy channel; else it passes over it again and again.
    if (c.held) {
      EXPECT_EQ(Selected(), (std::vector<int>{3}));
    } else {
      EXPECT_GE(Selected().size(), 5u);
    }
  }
}

TEST_F(ScanRigTest, DwellsScanSpeedStepsBeforeAskingTheSquelchAgain) {
  const std::vector<std::pair<const char*, std::int64_t>> cases = {
      {"25", 2'600'000}, {"2", 300'000}, {"1", 200'000}, {"fast", 200'000}};
  for (const auto& [speed, micros] : cases) {
    SCOPED_TRACE(speed);
    Restart();
    Fill(1);
    rig.SetChannelSignal(1, true);
    Scan("1", "2", speed, "0");
    Advance(12'000);
    std::vector<std::int64_t> asked;
    for (const SentFrame& frame : serial.SentFrames())
      if (frame.bytes == Frame({0x15, 0x01})) asked.push_back(frame.micros);
    ASSERT_GE(asked.size(), 3u);
    for (std::size_t i = 1; i < asked.size(); ++i) EXPECT_EQ(asked[i] - asked[i - 1], micros);
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
  }
}

TEST_F(ScanRigTest, SkipLeavesABusyChannelAtTheNextStep) {
  Fill(1);
  Fill(2);
  rig.SetChannelSignal(1, true);
  Scan("1", "2", "25", "0");
  Advance(1000);
  ASSERT_EQ(Selected(), (std::vector<int>{1}));
  ASSERT_EQ(State().SquelchState, 1);
  Memory().Click("Command11");
  EXPECT_EQ(desktop.MessageBoxes().size(), 1u) << "no question while the squelch is open";
  Advance(100);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2}));
  // Back on channel 1 with the signal still there, the scan holds again.
  RunUntilSelected(1, 2);
  Advance(2000);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 1}));
}

TEST_F(ScanRigTest, AnsweringYesToTheStopQuestionEndsTheScan) {
  Memory().Click("Command11");
  EXPECT_TRUE(desktop.boxes.empty()) << "no Skip without a scan";
  for (int n = 1; n <= 5; ++n) Fill(n);
  // "Scan Rig" while a scan runs, and "Skip" on a quiet channel, ask whether to stop.
  for (const char* button : {"Command6", "Command11"}) {
    SCOPED_TRACE(button);
    Scan("2", "5", "25", "0");
    Advance(700);
    desktop.boxes.clear();
    desktop.AnswerNo();
    Memory().Click(button);
    EXPECT_EQ(Messages(), (Shown{{"Scan Rig", "STOP Scan Rig?"}}));
    EXPECT_EQ(desktop.boxes.at(0).buttons, BoxButtons::YesNo);
    EXPECT_TRUE(Runs("Scan Rig")) << "No goes on scanning";

    desktop.AnswerYes();
    Memory().Click(button);
    Advance(200);
    EXPECT_FALSE(Runs("Scan Rig") || State().AwaitingSquelch);
    EXPECT_EQ(Memory().Text1, "END");
    EXPECT_EQ(Memory().Text7, "END");
    EXPECT_TRUE(State().AutoStatusOn);
    const std::size_t sent = Sent().size();
    Advance(1000);
    EXPECT_EQ(Sent().size(), sent);
  }
}

TEST_F(ScanRigTest, EqualsRepeatsTheLastScanAndClickingTheProgressLineStopsIt) {
  Memory().Click("Command13");
  Advance(500);
  EXPECT_FALSE(Runs("Scan Rig")) << "no scan to repeat yet";
  EXPECT_TRUE(Sent().empty());

  for (int n = 4; n <= 6; ++n) Fill(n);
  Scan("4", "6", "fast", "0");
  Advance(500);
  Memory().Click("Text7");
  EXPECT_FALSE(Runs("Scan Rig"));
  EXPECT_TRUE(State().AutoStatusOn);
  EXPECT_EQ(Memory().Text7, "");

  ClearSent();
  desktop.boxes.clear();
  Memory().Click("Command13");
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_TRUE(Runs("Scan Rig"));
  EXPECT_EQ(Memory().LastScanSpeed, "0");
  RunUntilSelected(4, 2);
  EXPECT_EQ(Selected(), (std::vector<int>{4, 5, 6, 4}));
  EXPECT_EQ(Sent().front(), Frame({0x08}));
}

}  // namespace
}  // namespace tavrin::testing
