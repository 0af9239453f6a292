// "Blank Rig" and its "=" button: clearing a range of memory channels, one a step.
#include <gtest/gtest.h>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

class BlankRigTest : public MemoryFixture {
 protected:
  void FillAll() {
    for (int n = 1; n <= 101; ++n)
      rig.SetChannel(n, sim::MemoryChannel::Filled(7'000'000 + n * 1000, sim::kModeCw, 1, "CH"));
  }
  void Blank(const std::string& start, const std::string& end) {
    desktop.AnswerYes();
    desktop.Type(start);
    desktop.Type(end);
    Memory().Click("Command5");
  }
  std::vector<int> BlankChannels() {
    std::vector<int> blank;
    for (int n = 1; n <= 101; ++n)
      if (rig.Channel(n).blank) blank.push_back(n);
    return blank;
  }
};

TEST_F(BlankRigTest, ClearsOneChannelAStepSelectThenClear) {
  StartProgram();
  FillAll();
  Blank("5", "7");
  const auto prompts = desktop.InputBoxes();
  ASSERT_EQ(prompts.size(), 2u);
  EXPECT_EQ(desktop.boxes[0].title, "Blank Rig");
  EXPECT_EQ(desktop.boxes[0].text, "Are you sure?");
  EXPECT_EQ(prompts[0].title, "Blank Rig Memories");
  EXPECT_EQ(prompts[0].text, "Enter STARTING Channel Number (1-101)");
  EXPECT_EQ(prompts[0].defaultAnswer, "1");
  EXPECT_EQ(prompts[1].text, "Enter ENDING Channel Number (1-101)");
  EXPECT_EQ(prompts[1].defaultAnswer, "99");

  std::vector<std::string> progress;
  for (int step = 0; step < 4; ++step) {
    Advance(200);
    progress.push_back(Memory().Text7);
  }
  EXPECT_EQ(progress,
            (std::vector<std::string>{"Clearing Memory Channel 5", "Clearing Memory Channel 6",
                                      "Clearing Memory Channel 7", "END"}));
  EXPECT_EQ(Memory().Text1, "END");
  EXPECT_FALSE(State().BlankRigActive);
  EXPECT_FALSE(State().ClearAfterSelect);
  EXPECT_FALSE(State().MemorySequenceBusy);

  const auto& frames = serial.SentFrames();
  ASSERT_EQ(frames.size(), 6u);
  const std::vector<std::string> expected = {Frame({0x08, 0x00, 0x05}), Frame({0x0B}),
                                             Frame({0x08, 0x00, 0x06}), Frame({0x0B}),
                                             Frame({0x08, 0x00, 0x07}), Frame({0x0B})};
  for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i].bytes, expected[i]) << i;
  EXPECT_EQ(frames[0].micros, frames[1].micros) << "select and clear go in the same step";
  EXPECT_EQ(frames[2].micros - frames[0].micros, 200'000);
  EXPECT_EQ(frames[4].micros - frames[2].micros, 200'000);
  Advance(100);
  EXPECT_EQ(BlankChannels(), (std::vector<int>{5, 6, 7}));
}

TEST_F(BlankRigTest, RangesReachNoFurtherThanChannel99) {
  const struct {
    const char* start;
    const char* end;
    std::vector<int> cleared;
  } cases[] = {
      {"98", "101", {98, 99}},
      {"7", "5", {}},
      {" 3 ", "3", {3}},
  };
  StartProgram();
  for (const auto& c : cases) {
    FillAll();
    Blank(c.start, c.end);
    Advance(200 * 5);
    EXPECT_FALSE(State().BlankRigActive) << c.start;
    EXPECT_EQ(BlankChannels(), c.cleared) << c.start << " to " << c.end;
  }
}

TEST_F(BlankRigTest, CancelledPromptsBlankTheDefaultRange) {
  StartProgram();
  FillAll();
  desktop.AnswerYes();
  Memory().Click("Command5");
  EXPECT_EQ(State().RangeStart, "1");
  EXPECT_EQ(State().RangeEnd, "99");
  Advance(100 * 200);
  std::vector<int> expected;
  for (int n = 1; n <= 99; ++n) expected.push_back(n);
  EXPECT_EQ(BlankChannels(), expected);
}

TEST_F(BlankRigTest, NoOrAnAnswerThatIsNoChannelNumberStartsNothing) {
  StartProgram();
  FillAll();
  desktop.AnswerNo();
  Memory().Click("Command5");
  EXPECT_TRUE(desktop.InputBoxes().empty());
  for (const char* answer : {"abc", "-5", "2.5", "1000"}) {
    desktop.boxes.clear();
    Blank(answer, "7");
    EXPECT_FALSE(State().BlankRigActive) << answer;
    const auto boxes = desktop.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u) << answer;
    EXPECT_EQ(boxes[1].title, "Blank Rig Memories");
    EXPECT_EQ(boxes[1].text,
              std::string(answer) + " ... is not a channel number ... Nothing was started.");
  }
  Advance(1000);
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(BlankChannels().empty());
  EXPECT_TRUE(Memory().LastBlankStart.empty());
}

TEST_F(BlankRigTest, EqualsRepeatsTheLastRangeWithoutAsking) {
  StartProgram();
  FillAll();
  Memory().Click("Command12");
  Advance(1000);
  EXPECT_TRUE(Sent().empty()) << "nothing to repeat yet";
  EXPECT_TRUE(desktop.boxes.empty());

  Blank("10", "11");
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
