// SPDX-License-Identifier: GPL-3.0-or-later
// korvid's compact operator panel on the in-process transceiver: the lists and options run the
// radio window's handlers, "Clear Memory Channel" selects and clears, and a clear request
// whose channel prompt gave nothing never clears a channel later.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/memory_channel.h"
#include "support/program_fixture.h"

namespace tavrin::testing {
namespace {

using sim::MemoryChannel;

class KorvidPanelTest : public ProgramFixture {
 protected:
  void SetUp() override {
    WriteConfig();
    Start(Build::Korvid);
    ASSERT_FALSE(desktop.ended);
    ClearSent();
    desktop.boxes.clear();
  }

  CompactPanel& Panel() { return program->panel; }
  RadioMain& Radio() { return program->radio; }
  Station& State() { return program->station; }

  // A click, then enough time for the answer to be collected and decoded.
  void ClickList(PanelListId list, int index) {
    Panel().ClickList(list, index);
    Advance(100);
  }
  void Click(const std::string& control) {
    Panel().Click(control);
    Advance(100);
  }

  void FillChannel(int number, const std::string& label) {
    rig.SetChannel(number, MemoryChannel::Filled(14'195'000, sim::kModeUsb, 2, label));
  }
};

TEST_F(KorvidPanelTest, EveryListItemSendsItsOptionsFrameEachTimeItIsClicked) {
  struct Case {
    PanelListId list;
    int index;
    const char* text;
    std::string frame;
  };
  // The filter items take the mode byte from the mode field, which shows RTTY for them.
  using enum PanelListId;
  // clang-format off
  const Case cases[] = {
      {Mode, 0, "AM", Frame({0x06, 0x02})},   {Mode, 1, "FM", Frame({0x06, 0x05})},
      {Mode, 2, "USB", Frame({0x06, 0x01})},  {Mode, 3, "LSB", Frame({0x06, 0x00})},
      {Mode, 4, "CW", Frame({0x06, 0x03})},   {Mode, 5, "RTTY", Frame({0x06, 0x04})},
      {Filter, 0, "Filter 1", Frame({0x06, 0x04, 0x01})},
      {Filter, 1, "Filter 2", Frame({0x06, 0x04, 0x02})},
      {Filter, 2, "Filter 3", Frame({0x06, 0x04, 0x03})},
      {Antenna, 0, "Antenna 1", Frame({0x12, 0x00})},
      {Antenna, 1, "Antenna 2", Frame({0x12, 0x01})},
  };
  // clang-format on
  // Rows the lists do not have do nothing; nor does the panel lead to the memory window.
  for (auto [list, index] : {std::pair{Mode, -1}, std::pair{Mode, 6}, std::pair{Filter, 3},
                             std::pair{Antenna, 2}, std::pair{static_cast<PanelListId>(7), 0}}) {
    ClickList(list, index);
    EXPECT_EQ(Panel().LastChoice(list), "");
    const auto which = static_cast<std::size_t>(list);
    EXPECT_TRUE(which >= 3 || Panel().ListIndex[which] == -1);
  }
  Click("Command1");
  EXPECT_TRUE(Sent().empty());
  EXPECT_FALSE(program->memory.Visible);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ClearSent();
    // The item is clicked again while it is still the selected one.
    ClickList(c.list, c.index);
    ClickList(c.list, c.index);
    EXPECT_EQ(Sent(), (std::vector<std::string>{c.frame, c.frame}));
    EXPECT_EQ(Panel().LastChoice(c.list), c.text);
    EXPECT_EQ(Panel().ListIndex[static_cast<std::size_t>(c.list)], c.index);
  }
  // The transceiver followed the last click of each list.
  EXPECT_EQ(rig.Mode(), sim::kModeRtty);
  EXPECT_EQ(rig.Filter(), 3);
  EXPECT_EQ(rig.Antenna(), 1);  // counted from 0: the second antenna
  EXPECT_TRUE(desktop.boxes.empty());
  // A filter item keeps the transceiver's mode (RTTY, the last mode clicked), whatever the
  // display shows.
  for (const char* mode : {"USB", "CW", " "}) {
    SCOPED_TRACE(mode);
    ClearSent();
    Radio().Text4 = mode;
    Panel().ClickList(PanelListId::Filter, 1);
    EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x06, 0x04, 0x02})});
    Advance(100);
  }
  // A list shows the last click, not what the transceiver reports.
  rig.SetTransceive(true);
  ClickList(Mode, 1);  // FM
  rig.ChangeMode(sim::kModeLsb, 1);
  Advance(100);
  EXPECT_EQ(Radio().Text4, "LSB");
  EXPECT_EQ(Panel().LastModeChoice, "FM");
  EXPECT_EQ(Panel().ListIndex[0], 1);
}

TEST_F(KorvidPanelTest, EveryOptionAndButtonRunsItsRadioWindowAction) {
  struct Case {
    const char* control;
    std::vector<std::string> answers;
    std::vector<std::string> frames;
    const char* firstPrompt;  // title of the first input box, "" for none
  };
  FillChannel(5, "NET");
  // clang-format off
  const Case cases[] = {
      {"Option17", {}, {Frame({0x07})}, ""},
      {"Option18", {}, {Frame({0x08})}, ""},
      {"Option24", {}, {Frame({0x0A})}, ""},
      {"Option37", {"5"}, {Frame({0x08, 0x00, 0x05}), Frame({0x1A, 0x00, 0x00, 0x05})},
       "Select Memory Channel Number"},
      {"Option38", {"23", "142250", "usb", "3", "y", "ABC"},
       {Frame({0x1A, 0x00, 0x00, 0x23, 0x01, 0x00, 0x50, 0x22, 0x14, 0x00, 0x01, 0x03, 0x00, 0x00,
               0x08, 0x85, 0x00, 0x08, 0x85, 'A', 'B', 'C', ' ', ' ', ' ', ' ', ' ', ' ', ' '}),
        Frame({0x08, 0x00, 0x23}), Frame({0x1A, 0x00, 0x00, 0x23})},
       "Set Memory Channel Number"},
      {"Option40", {"14255"}, {Frame({0x05, 0x00, 0x50, 0x25, 0x14, 0x00}), Frame({0x03})},
       "Set Memory Frequency"},
      {"Command2", {"10"}, {Frame({0x14, 0x01, 0x10})}, "Set Audio Level"},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    ClearSent();
    desktop.boxes.clear();
    for (const std::string& answer : c.answers) desktop.Type(answer);
    Click(c.control);
    EXPECT_EQ(Sent(), c.frames);
    EXPECT_EQ(desktop.PendingInputs(), 0u);
    const auto prompts = desktop.InputBoxes();
    EXPECT_EQ(prompts.empty() ? "" : prompts.front().title, c.firstPrompt);
  }
  // The memory options keep no mark, so the same one works twice in a row.
  desktop.Type("5");
  ClearSent();
  Click("Option37");
  EXPECT_EQ(Sent().size(), 2u);
  EXPECT_EQ(Radio().Text6, "NET       ");
  EXPECT_FALSE(desktop.ended);
  // Exit closes the data file and ends the program.
  ClearSent();
  ASSERT_TRUE(State().DataFileOpen);
  Click("Command0");
  EXPECT_FALSE(State().DataFileOpen);
  EXPECT_TRUE(desktop.ended);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(KorvidPanelTest, ClearMemoryChannelSelectsAndClearsTheChannelNamed) {
  struct Case {
    const char* answer;
    int channel;
    std::string code;
  };
  // clang-format off
  const Case cases[] = {{"7", 7, Bytes({0x00, 0x07})}, {"42", 42, Bytes({0x00, 0x42})},
                        {"100", 100, Bytes({0x01, 0x00})}, {"101", 101, Bytes({0x01, 0x01})}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    FillChannel(c.channel, "KEEP?");
    FillChannel(c.channel == 7 ? 8 : 7, "NEIGHBOUR");
    Radio().Text7 = "STATUS = before";
    ClearSent();
    desktop.boxes.clear();
    desktop.Type(c.answer);
    Click("Option39");
    const std::string select = Bytes({0xFE, 0xFE, 0x64, 0xE0, 0x08}) + c.code + Bytes({0xFD});
    EXPECT_EQ(Sent(), (std::vector<std::string>{select, Frame({0x0B})}));
    EXPECT_EQ(BoxTexts(desktop), std::vector<std::string>{"Select Memory Channel Number: Enter "
                                                          "'CHANNEL NUMBER' (1-101)"});
    EXPECT_TRUE(rig.Channel(c.channel).blank);
    EXPECT_FALSE(rig.Channel(c.channel == 7 ? 8 : 7).blank);
    for (const std::string* field : {&Radio().Text1, &Radio().Text2, &Radio().Text3, &Radio().Text4,
                                     &Radio().Text5, &Radio().Text6})
      EXPECT_EQ(*field, " ");
  }
}

TEST_F(KorvidPanelTest, AClearWithoutAChannelClearsNothingNowOrAtTheNextSelect) {
  // Cancel, the two unusable answers, and numbers that name no channel. The transceiver stands
  // on channel 5 when the clear is asked for: that channel must survive.
  struct Case {
    const char* answer;
    bool refused;  // told in a box, not just ignored
  };
  const Case cases[] = {{"", false},   {"0", false},  {" ", false},  {"00", true},
                        {"abc", true}, {"102", true}, {"150", true}, {"200", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("answer '") + c.answer + "'");
    FillChannel(5, "FIVE");
    FillChannel(6, "SIX");
    desktop.Type("5");
    Click("Option37");
    ClearSent();
    desktop.boxes.clear();
    Radio().Text7 = "STATUS = before";

    desktop.Type(c.answer);
    Click("Option39");
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Radio().Text7, " ") << "the status line is cleared";
    EXPECT_EQ(desktop.MessageBoxes().size(), c.refused ? 1u : 0u);

    // The next select reads the channel and clears nothing.
    desktop.Type("6");
    Click("Option37");
    EXPECT_EQ(Sent(), (std::vector<std::string>{Frame({0x08, 0x00, 0x06}),
                                                Frame({0x1A, 0x00, 0x00, 0x06})}));
    EXPECT_FALSE(rig.Channel(5).blank);
    EXPECT_FALSE(rig.Channel(6).blank);
    EXPECT_EQ(Radio().Text6, "SIX       ");
  }
  EXPECT_FALSE(desktop.ended);
}

}  // namespace
}  // namespace tavrin::testing
