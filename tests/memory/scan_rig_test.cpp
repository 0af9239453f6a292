// "Scan Rig": stepping the transceiver through a range of channels, holding where a wanted
// channel's squelch is open, skipping and stopping.
#include <gtest/gtest.h>

#include <algorithm>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

using sim::MemoryChannel;

class ScanRigTest : public MemoryFixture {
 protected:
  void Fill(int n, bool selected = false) {
    rig.SetChannel(
        n, MemoryChannel::Filled(14'000'000 + n * 10'000, sim::kModeUsb, 2, "CH", selected));
  }
  void Scan(const std::string& start, const std::string& end, const std::string& speed,
            const std::string& selectMode) {
    desktop.AnswerYes();
    desktop.Type(start);
    desktop.Type(end);
    desktop.Type(speed);
    desktop.Type(selectMode);
    Memory().Click("Command6");
  }
  // The channels selected, in order, from the frames sent (08 00 nn).
  std::vector<int> Selected() const {
    std::vector<int> channels;
    for (const std::string& frame : Sent())
      if (frame.size() == 8 && frame[4] == 0x08) channels.push_back(ChannelOf(frame));
    return channels;
  }
  // The channel on which each squelch request (15 01) was sent.
  std::vector<int> SquelchAsked() const {
    std::vector<int> channels;
    int current = 0;
    for (const std::string& frame : Sent()) {
      if (frame.size() == 8 && frame[4] == 0x08) current = ChannelOf(frame);
      if (frame == Frame({0x15, 0x01})) channels.push_back(current);
    }
    return channels;
  }
  static int ChannelOf(const std::string& selectFrame) {
    const auto bcd = static_cast<unsigned char>(selectFrame[6]);
    return (bcd >> 4) * 10 + (bcd & 0x0F);
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
  StartProgram();
  Scan("", "", "", "");
  const auto prompts = desktop.InputBoxes();
  ASSERT_EQ(prompts.size(), 4u);
  const std::pair<const char*, const char*> expected[] = {
      {"STARTING Channel (1-101)", "1"},
      {"ENDING Channel (1-101)", "99"},
      {"Scan SPEED (1-100)", "25"},
      {"Scan ONLY Select or SKIP Select (1=Only, 0=Skip)", "0"}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(prompts[i].title, "Scan Rig");
    EXPECT_EQ(prompts[i].text, expected[i].first);
    EXPECT_EQ(prompts[i].defaultAnswer, expected[i].second);
  }
  EXPECT_EQ(Memory().FocusedControl, "Command11");
  EXPECT_TRUE(State().ScanRigActive);
  EXPECT_FALSE(State().AutoStatusOn);
  EXPECT_EQ(State().ScanSpeed, 25);
  EXPECT_EQ(State().ScanSelectMode, "0");
  ASSERT_FALSE(Sent().empty());
  EXPECT_EQ(Sent().front(), Frame({0x08}));
}

TEST_F(ScanRigTest, ABlankChannelIsLeftWithoutAskingItsSquelch) {
  StartProgram();
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
    int restart;
    std::vector<int> firstPass;
  } cases[] = {
      {"10", "12", 10, {10, 11, 12, 10}},
      {"98", "101", 98, {98, 99, 98}},
  };
  for (const auto& c : cases) {
    StartProgram();
    Scan(c.start, c.end, "25", "0");
    RunUntilSelected(c.restart, 2);
    EXPECT_EQ(Selected(), c.firstPass) << c.start << " to " << c.end;
    program.reset();
  }
}

struct WantedCase {
  const char* selectMode;
  bool channelSelected;
  bool held;
};

class ScanWantedTest : public ScanRigTest, public ::testing::WithParamInterface<WantedCase> {};

// A channel with a signal holds the scan only when the select mode wants it.
TEST_P(ScanWantedTest, HoldsOnlyOnWantedBusyChannels) {
  const WantedCase& c = GetParam();
  StartProgram();
  Fill(3, c.channelSelected);
  rig.SetChannelSignal(3, true);
  Scan("3", "3", "25", c.selectMode);
  Advance(2000);
  const auto selected = Selected();
  if (c.held) {
    EXPECT_EQ(selected, (std::vector<int>{3})) << "stays on the busy channel";
  } else {
    EXPECT_GE(selected.size(), 5u) << "passes over the busy channel";
  }
}

INSTANTIATE_TEST_SUITE_P(SelectModes, ScanWantedTest,
                         ::testing::Values(WantedCase{"0", false, true},
                                           WantedCase{"0", true, false},
                                           WantedCase{"1", true, true},
                                           WantedCase{"1", false, false}));

TEST_F(ScanRigTest, DwellsScanSpeedStepsBeforeAskingTheSquelchAgain) {
  const struct {
    const char* speed;
    std::int64_t micros;
  } cases[] = {{"25", 2'600'000}, {"2", 300'000}, {"1", 200'000}, {"fast", 200'000}};
  for (const auto& c : cases) {
    StartProgram();
    Fill(1);
    rig.SetChannelSignal(1, true);
    Scan("1", "2", c.speed, "0");
    Advance(12'000);
    std::vector<std::int64_t> asked;
    for (const SentFrame& frame : serial.SentFrames())
      if (frame.bytes == Frame({0x15, 0x01})) asked.push_back(frame.micros);
    ASSERT_GE(asked.size(), 3u) << c.speed;
    for (std::size_t i = 1; i < asked.size(); ++i)
      EXPECT_EQ(asked[i] - asked[i - 1], c.micros) << c.speed;
    EXPECT_EQ(Selected(), (std::vector<int>{1})) << c.speed;
    program.reset();
  }
}

TEST_F(ScanRigTest, SkipLeavesABusyChannelAtTheNextStep) {
  StartProgram();
  Fill(1);
  Fill(2);
  rig.SetChannelSignal(1, true);
  Scan("1", "2", "25", "0");
  Advance(1000);
  ASSERT_EQ(Selected(), (std::vector<int>{1}));
  ASSERT_EQ(State().SquelchState, 1);
  Memory().Click("Command11");
  EXPECT_TRUE(desktop.MessageBoxes().size() == 1u) << "no question while the squelch is open";
  Advance(100);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2}));
  // Back on channel 1 with the signal still there, the scan holds again.
  RunUntilSelected(1, 2);
  Advance(2000);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 1}));
}

TEST_F(ScanRigTest, AnsweringYesToTheStopQuestionEndsTheScan) {
  StartProgram();
  for (int n = 1; n <= 5; ++n) Fill(n);
  Scan("2", "5", "25", "0");
  Advance(700);
  desktop.boxes.clear();
  desktop.AnswerNo();
  Memory().Click("Command6");
  ASSERT_EQ(desktop.MessageBoxes().size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Scan Rig");
  EXPECT_EQ(desktop.boxes[0].text, "STOP Scan Rig?");
  EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::YesNo);
  EXPECT_TRUE(State().ScanRigActive) << "No goes on scanning";

  desktop.AnswerYes();
  Memory().Click("Command6");
  Advance(200);
  EXPECT_FALSE(State().ScanRigActive);
  EXPECT_EQ(Memory().Text1, "END");
  EXPECT_EQ(Memory().Text7, "END");
  EXPECT_EQ(State().SequenceChannel, 2);
  EXPECT_TRUE(State().AutoStatusOn);
  EXPECT_FALSE(State().AwaitingSquelch);
  const std::size_t sent = Sent().size();
  Advance(1000);
  EXPECT_EQ(Sent().size(), sent);
}

TEST_F(ScanRigTest, SkipOnAQuietChannelAsksTheStopQuestion) {
  StartProgram();
  Memory().Click("Command11");
  EXPECT_TRUE(desktop.boxes.empty()) << "nothing without a scan";
  for (int n = 1; n <= 3; ++n) Fill(n);
  Scan("1", "3", "25", "0");
  Advance(500);
  desktop.boxes.clear();
  desktop.AnswerYes();
  Memory().Click("Command11");
  ASSERT_EQ(desktop.MessageBoxes().size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, "STOP Scan Rig?");
  Advance(300);
  EXPECT_FALSE(State().ScanRigActive);
}

TEST_F(ScanRigTest, EqualsRepeatsTheLastScanAndClickingTheProgressLineStopsIt) {
  StartProgram();
  Memory().Click("Command13");
  Advance(500);
  EXPECT_FALSE(State().ScanRigActive) << "no scan to repeat yet";
  EXPECT_TRUE(Sent().empty());

  for (int n = 4; n <= 6; ++n) Fill(n);
  Scan("4", "6", "fast", "0");
  Advance(500);
  Memory().Click("Text7");
  EXPECT_FALSE(State().ScanRigActive);
  EXPECT_TRUE(State().AutoStatusOn);
  EXPECT_EQ(Memory().Text7, "");

  ClearSent();
  desktop.boxes.clear();
  Memory().Click("Command13");
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_TRUE(State().ScanRigActive);
  EXPECT_EQ(State().ScanSpeed, 0);
  RunUntilSelected(4, 2);
  EXPECT_EQ(Selected(), (std::vector<int>{4, 5, 6, 4}));
  EXPECT_EQ(Sent().front(), Frame({0x08}));
}

}  // namespace
}  // namespace tavrin::testing
