// SPDX-License-Identifier: GPL-3.0-or-later
// "Blank Rig" and its "=" button: clearing a range of memory channels, one a step.
#include <gtest/gtest.h>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

class BlankRigTest : public MemoryFixture {
 protected:
  void SetUp() override {
    StartProgram();
    FillAll();
  }
  void FillAll() {
    for (int n = 1; n <= 101; ++n) Fill(n);
  }
};

TEST_F(BlankRigTest, ClearsOneChannelAStepSelectThenClear) {
  const std::int64_t clicked = clock.NowMicros();
  BlankRig("5", "7");
  EXPECT_EQ(desktop.boxes[0].title + "|" + desktop.boxes[0].text, "Blank Rig|Are you sure?");
  EXPECT_EQ(Asked(), (std::vector<std::string>{
                         "Blank Rig Memories|Enter STARTING Channel Number (1-101)|1",
                         "Blank Rig Memories|Enter ENDING Channel Number (1-101)|99"}));

  // Each step's progress line, as it stands until the next step.
  std::vector<std::string> progress;
  for (std::string shown = Memory().Text7; shown != "END" && progress.size() < 10;) {
    Advance(1);
    if (Memory().Text7 != shown) progress.push_back(shown = Memory().Text7);
  }
  EXPECT_EQ(progress,
            (std::vector<std::string>{"Clearing Memory Channel 5", "Clearing Memory Channel 6",
                                      "Clearing Memory Channel 7", "END"}));
  EXPECT_EQ(Memory().Text1, "END");
  EXPECT_FALSE(Runs("Blank Rig"));

  const auto& frames = serial.SentFrames();
  ASSERT_EQ(frames.size(), 6u);
  const std::vector<std::string> expected = {Frame({0x08, 0x00, 0x05}), Frame({0x0B}),
                                             Frame({0x08, 0x00, 0x06}), Frame({0x0B}),
                                             Frame({0x08, 0x00, 0x07}), Frame({0x0B})};
  for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i].bytes, expected[i]) << i;
  EXPECT_EQ(frames[0].micros, frames[1].micros) << "select and clear go in the same step";
  EXPECT_EQ(frames[0].micros - clicked, 1000) << "the first step at once after the click";
  // The next channel a millisecond after the clear's "accepted" is in: the select (8 bytes)
  // and the clear (6), the line's turnaround (2 byte times) and the answer (6 bytes).
  const std::int64_t exchange = (8 + 6 + 2 + 6) * serial.ByteMicros();
  EXPECT_EQ(frames[2].micros - frames[0].micros, exchange + 1000);
  EXPECT_EQ(frames[4].micros - frames[2].micros, exchange + 1000);
  Advance(100);
  EXPECT_EQ(BlankChannels(), (std::vector<int>{5, 6, 7}));
}

TEST_F(BlankRigTest, RangesReachNoFurtherThanChannel99) {
  const struct {
    const char* start;
    const char* end;
    int first, last;  // the channels cleared
  } cases[] = {
      {"98", "101", 98, 99},
      {"7", "5", 1, 0},
      {" 3 ", "3", 3, 3},
      {"", "", 1, 99},  // both prompts cancelled: the default range
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " to " + c.end);
    FillAll();
    BlankRig(c.start, c.end);
    Advance(101 * 200);
    EXPECT_FALSE(Runs("Blank Rig"));
    std::vector<int> cleared;
    for (int n = c.first; n <= c.last; ++n) cleared.push_back(n);
    EXPECT_EQ(BlankChannels(), cleared);
  }
}

TEST_F(BlankRigTest, NoOrAnAnswerThatIsNoChannelNumberStartsNothing) {
  desktop.AnswerNo();
  Memory().Click("Command5");
  EXPECT_TRUE(desktop.InputBoxes().empty());
  for (const std::string answer : {"abc", "-5", "2.5", "1000"}) {
    desktop.boxes.clear();
    BlankRig(answer, "7");
    EXPECT_FALSE(Runs("Blank Rig")) << answer;
    EXPECT_EQ(Messages(),
              (Shown{{"Blank Rig", "Are you sure?"},
                     {"Blank Rig Memories",
                      answer + " ... is not a channel number ... Nothing was started."}}));
  }
  Advance(1000);
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(BlankChannels().empty());
  EXPECT_TRUE(Memory().LastBlankStart.empty());
}

TEST_F(BlankRigTest, EqualsRepeatsTheLastRangeWithoutAsking) {
  Memory().Click("Command12");
  Advance(1000);
  EXPECT_TRUE(Sent().empty()) << "nothing to repeat yet";
  EXPECT_TRUE(desktop.boxes.empty());

  BlankRig("10", "11");
  Advance(600);
  FillAll();
  desktop.boxes.clear();
  ClearSent();
  Memory().Click("Command12");
  EXPECT_TRUE(desktop.boxes.empty());
  Advance(600);
  EXPECT_EQ(SentStartingWith(Bytes({0x08})),
            (std::vector<std::string>{Frame({0x08, 0x00, 0x10}), Frame({0x08, 0x00, 0x11})}));
  EXPECT_EQ(BlankChannels(), (std::vector<int>{10, 11}));
}

}  // namespace
}  // namespace tavrin::testing
