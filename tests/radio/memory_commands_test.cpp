// "Msel", "Mrd", "Mset", "SetFq" and "SetMd": prompted from a click, silent while the memory
// window's sequences drive them, and their chains, on the in-process transceiver.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sim/memory_channel.h"
#include "support/program_fixture.h"

namespace tavrin::testing {
namespace {

std::string Hex(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02X ", static_cast<unsigned char>(c));
    text += pair;
  }
  return text;
}

std::vector<std::string> HexFrames(const std::vector<std::string>& frames) {
  std::vector<std::string> texts;
  for (const auto& frame : frames) texts.push_back(Hex(frame));
  return texts;
}

// FE FE 64 E0, the command bytes, FD.
std::string Cmd(const std::string& command) {
  return Bytes({0xFE, 0xFE, 0x64, 0xE0}) + command + Bytes({0xFD});
}

const std::string kTone = Bytes({0x00, 0x00, 0x08, 0x85, 0x00, 0x08, 0x85});

// The memory write: 1A 00, channel code, selected, five frequency bytes, mode, filter, tone
// block and label.
std::string WriteFrame(const std::string& code, int selected, const std::string& frequency,
                       int mode, int filter, const std::string& label) {
  return Cmd(Bytes({0x1A, 0x00}) + code + Bytes({selected}) + frequency + Bytes({mode, filter}) +
             kTone + label);
}

struct Prompt {
  std::string title;
  std::string text;
  std::string defaultAnswer;
};

const Prompt kChannelPrompt{"Set Memory Channel Number", "Enter 'CHANNEL NUMBER' (1-101)", ""};
const Prompt kFrequencyPrompt{"Set Memory Frequency", "Enter 'FREQUENCY' (MMkkk or MmKkCc)", ""};
const Prompt kModePrompt{"Set Memory Mode",
                         "Enter  'MODE' (Lsb, Usb, Am, Cw, Rtty, Fm, Cwr, Rttyr)", "AM"};
const Prompt kFilterPrompt{"Set Memory Filter", "Enter 'FILTER' (1,2,3)", "2"};
const Prompt kSelectedPrompt{"Set Memory Selected Channel",
                             "Is this a 'SELECTED'  channel  (Yes, No)", "NO"};
const Prompt kLabelPrompt{"Set Memory Label", "Enter  'LABEL'  info (0-10 chars)", ""};

class MemoryCommands : public ProgramFixture {
 protected:
  void SetUp() override {
    WriteConfig();
    Start();
    ASSERT_FALSE(desktop.ended);
    ClearSent();
    desktop.boxes.clear();
    ShowSomething();
  }

  RadioMain& Radio() { return program->radio; }
  Station& State() { return program->station; }

  // Fills the fields and both status lines, so that a test sees what a command blanks.
  void ShowSomething() {
    RadioMain& r = Radio();
    r.Text1 = "14.195.0";
    r.Text2 = "7";
    r.Text3 = "*";
    r.Text4 = "USB";
    r.Text5 = "Fil 2";
    r.Text6 = "NET";
    r.Text7 = "STATUS =  254 254";
    program->memory.Text9 = "STATUS =  254 254";
  }
  bool StatusCleared() { return Radio().Text7 == " " && program->memory.Text9 == " "; }
  bool DisplayBlanked() {
    const RadioMain& r = Radio();
    for (const auto* field : {&r.Text1, &r.Text2, &r.Text3, &r.Text4, &r.Text5, &r.Text6, &r.Text7})
      if (*field != " ") return false;
    return program->memory.Text9 == " ";
  }

  void Click(int option, const std::vector<std::string>& answers) {
    for (const auto& answer : answers) desktop.Type(answer);
    Radio().ClickOption(option);
    EXPECT_FALSE(Radio().OptionMarked[static_cast<std::size_t>(option)]);
  }

  // The values as the memory window's upload hands them over.
  void HandOver(const std::string& channel, const std::string& digits, const std::string& mode,
                const std::string& filter, const std::string& selected, const std::string& label) {
    Station& s = State();
    s.MemChannelText = channel;
    s.MemFrequencyDigits = digits;
    s.MemModeText = mode;
    s.MemFilterText = filter;
    s.MemSelectedText = selected;
    s.MemLabelText = label;
    s.MemorySequenceBusy = true;
  }

  void ExpectPrompts(const std::vector<Prompt>& prompts) {
    const auto boxes = desktop.InputBoxes();
    ASSERT_EQ(boxes.size(), prompts.size());
    for (std::size_t i = 0; i < prompts.size(); ++i) {
      EXPECT_EQ(boxes[i].title, prompts[i].title) << i;
      EXPECT_EQ(boxes[i].text, prompts[i].text) << i;
      EXPECT_EQ(boxes[i].defaultAnswer, prompts[i].defaultAnswer) << i;
    }
  }

  // The only message box, a critical refusal naming `value` and what is accepted.
  void ExpectRefusalBox(const std::string& title, const std::string& value,
                        const std::string& accepted) {
    const auto boxes = desktop.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, title);
    EXPECT_EQ(boxes[0].icon, BoxIcon::Critical);
    EXPECT_NE(boxes[0].text.find(value + " ..."), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(accepted), std::string::npos) << boxes[0].text;
    EXPECT_FALSE(desktop.ended);
    EXPECT_FALSE(State().Ended);
  }
};

// --- Msel ------------------------------------------------------------------------------

TEST_F(MemoryCommands, MselSelectsAndReadsTheChannel) {
  struct Case {
    std::string answer;
    std::string code;
  };
  const std::vector<Case> cases = {{"5", Bytes({0x00, 0x05})},
                                   {"42", Bytes({0x00, 0x42})},
                                   {"100", Bytes({0x01, 0x00})},
                                   {"101", Bytes({0x01, 0x01})}};
  for (const auto& c : cases) {
    ClearSent();
    desktop.boxes.clear();
    Click(23, {c.answer});
    EXPECT_EQ(HexFrames(Sent()),
              HexFrames({Cmd("\x08" + c.code), Cmd(Bytes({0x1A, 0x00}) + c.code)}))
        << c.answer;
    EXPECT_FALSE(State().MemorySequenceBusy);
    EXPECT_EQ(State().SelectChannelField, c.code);
    ExpectPrompts({{"Select Memory Channel Number", "Enter 'CHANNEL NUMBER' (1-101)", ""}});
    Advance(60);
  }
  EXPECT_TRUE(rig.MemoryMode());
  EXPECT_EQ(rig.CurrentChannel(), 101);
}

TEST_F(MemoryCommands, MselClickedTwiceAsksTwice) {
  Click(23, {"5"});
  Click(23, {"6"});
  EXPECT_EQ(desktop.InputBoxes().size(), 2u);
  EXPECT_EQ(Sent().size(), 4u);
}

TEST_F(MemoryCommands, MselOfAChannelThatIsNoMemorySelectsButShowsNothing) {
  Click(23, {"150"});
  EXPECT_EQ(HexFrames(Sent()), HexFrames({Cmd(Bytes({0x08, 0x00, 0xE2}))}));
  EXPECT_TRUE(DisplayBlanked());
  EXPECT_FALSE(State().MemorySequenceBusy);
}

TEST_F(MemoryCommands, MselWithClearAfterSelectClearsTheChannel) {
  rig.SetChannel(12, sim::MemoryChannel::Filled(7'050'000, 0x00, 2, "40M"));
  State().ClearAfterSelect = true;
  State().MemorySequenceBusy = true;
  State().MemChannelText = "12";
  Radio().Msel();
  EXPECT_EQ(HexFrames(Sent()), HexFrames({Cmd(Bytes({0x08, 0x00, 0x12})), Cmd(Bytes({0x0B}))}));
  EXPECT_FALSE(State().ClearAfterSelect);
  EXPECT_FALSE(State().MemorySequenceBusy);
  EXPECT_TRUE(desktop.InputBoxes().empty());
  Advance(60);
  EXPECT_TRUE(rig.Channel(12).blank);
}

TEST_F(MemoryCommands, MselClearsTheStatusLineForAnUnusableChannel) {
  for (const std::string answer : {"", "0", " "}) {
    ShowSomething();
    Click(23, {answer});
    EXPECT_TRUE(Sent().empty()) << '"' << answer << '"';
    EXPECT_TRUE(StatusCleared());
    EXPECT_EQ(Radio().Text1, "14.195.0");
  }
  // While busy the channel comes from the shared field, and the chain ends.
  State().MemorySequenceBusy = true;
  State().MemChannelText = "";
  Radio().Msel();
  EXPECT_TRUE(Sent().empty());
  EXPECT_FALSE(State().MemorySequenceBusy);
  EXPECT_EQ(desktop.InputBoxes().size(), 3u);
}

TEST_F(MemoryCommands, ACancelledClearRequestDoesNotClearALaterSelectedChannel) {
  rig.SetChannel(5, sim::MemoryChannel::Filled(14'195'000, 0x01, 2, "DX NET"));
  State().ClearAfterSelect = true;  // "Clear Memory Channel", then Cancel at the prompt
  Click(23, {""});
  EXPECT_FALSE(State().ClearAfterSelect);
  Click(23, {"5"});
  EXPECT_EQ(HexFrames(Sent()),
            HexFrames({Cmd(Bytes({0x08, 0x00, 0x05})), Cmd(Bytes({0x1A, 0x00, 0x00, 0x05}))}));
  Advance(60);
  EXPECT_FALSE(rig.Channel(5).blank);
}

TEST_F(MemoryCommands, MselRefusesAChannelWithNoByteForm) {
  State().ClearAfterSelect = true;
  Click(23, {"200"});
  EXPECT_TRUE(Sent().empty());
  ExpectRefusalBox("Select Memory Channel Number", "200", "1 to 101");
  EXPECT_FALSE(State().MemorySequenceBusy);
  EXPECT_FALSE(State().ClearAfterSelect);
  EXPECT_TRUE(StatusCleared());

  // Driven by a sequence: no box, the chain ends and the reason is left for the caller.
  desktop.boxes.clear();
  State().MemorySequenceBusy = true;
  State().MemChannelText = "-5";
  Radio().Msel();
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(State().MemorySequenceBusy);
  EXPECT_NE(Radio().LastRefusal.find("-5"), std::string::npos);

  Click(23, {"5"});
  EXPECT_EQ(Sent().size(), 2u);
  EXPECT_TRUE(Radio().LastRefusal.empty());
}

// --- Mrd -------------------------------------------------------------------------------

TEST_F(MemoryCommands, MrdReadsAChannel) {
  struct Case {
    std::string answer;
    std::string code;
  };
  const std::vector<Case> cases = {{"101", Bytes({0x01, 0x01})},
                                   {"100", Bytes({0x01, 0x00})},
                                   {"7", Bytes({0x00, 0x07})},
                                   {"99", Bytes({0x00, 0x99})}};
  for (const auto& c : cases) {
    ClearSent();
    desktop.boxes.clear();
    Click(25, {c.answer});
    EXPECT_EQ(HexFrames(Sent()), HexFrames({Cmd(Bytes({0x1A, 0x00}) + c.code)})) << c.answer;
    EXPECT_FALSE(State().MemorySequenceBusy);
    ExpectPrompts({{"Read Memory Channel Number", "Enter 'CHANNEL NUMBER' (1-101)", ""}});
    Advance(60);
  }
  State().MemorySequenceBusy = true;
  State().MemChannelText = "42";
  ClearSent();
  Radio().Mrd();
  EXPECT_EQ(HexFrames(Sent()), HexFrames({Cmd(Bytes({0x1A, 0x00, 0x00, 0x42}))}));
  EXPECT_FALSE(State().MemorySequenceBusy);
  EXPECT_EQ(desktop.InputBoxes().size(), 1u);
}

TEST_F(MemoryCommands, MrdBlanksTheDisplayForWhatIsNoChannel) {
  for (const std::string answer : {"105", "179", "", "0", " "}) {
    ShowSomething();
    Click(25, {answer});
    EXPECT_TRUE(Sent().empty()) << '"' << answer << '"';
    EXPECT_TRUE(DisplayBlanked()) << '"' << answer << '"';
    EXPECT_FALSE(State().MemorySequenceBusy);
  }
  EXPECT_TRUE(desktop.MessageBoxes().empty());
}

TEST_F(MemoryCommands, MrdRefusesAChannelWithNoByteForm) {
  Click(25, {"200"});
  EXPECT_TRUE(Sent().empty());
  ExpectRefusalBox("Read Memory Channel Number", "200", "1 to 101");
  EXPECT_TRUE(DisplayBlanked());
  EXPECT_FALSE(State().MemorySequenceBusy);
}

// --- Mset ------------------------------------------------------------------------------

TEST_F(MemoryCommands, MsetWritesSelectsAndReadsBackTheChannel) {
  Click(27, {"23", "142250", "usb", "3", "y", "ABC"});
  ExpectPrompts({kChannelPrompt, kFrequencyPrompt, kModePrompt, kFilterPrompt, kSelectedPrompt,
                 kLabelPrompt});
  const std::string code = Bytes({0x00, 0x23});
  EXPECT_EQ(HexFrames(Sent()),
            HexFrames({WriteFrame(code, 0x01, Bytes({0x00, 0x50, 0x22, 0x14, 0x00}), 0x01, 0x03,
                                  "ABC       "),
                       Cmd("\x08" + code), Cmd(Bytes({0x1A, 0x00}) + code)}));
  // Back to back: all three leave in the same instant, before any answer.
  const auto& frames = serial.SentFrames();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].micros, frames[2].micros);
  EXPECT_FALSE(State().MemorySequenceBusy);
  EXPECT_FALSE(State().ClearAfterSelect);

  Advance(60);
  const sim::MemoryChannel& channel = rig.Channel(23);
  EXPECT_FALSE(channel.blank);
  EXPECT_TRUE(channel.selected);
  EXPECT_EQ(channel.frequencyHz, 14'225'000);
  EXPECT_EQ(channel.mode, 0x01);
  EXPECT_EQ(channel.filter, 3);
  EXPECT_EQ(channel.name, "ABC       ");
  EXPECT_TRUE(rig.MemoryMode());
  EXPECT_EQ(rig.CurrentChannel(), 23);
}

TEST_F(MemoryCommands, MsetWithoutAnswersTakesTheDefaults) {
  Click(27, {"7", "7050", "", "", "", ""});
  EXPECT_EQ(HexFrames(Sent()).front(),
            Hex(WriteFrame(Bytes({0x00, 0x07}), 0x00, Bytes({0x00, 0x00, 0x05, 0x07, 0x00}), 0x02,
                           0x02, std::string(10, ' '))));
}

TEST_F(MemoryCommands, MsetTakesTheHandedOverValuesWithoutAsking) {
  HandOver("7 ", "070500", "LSB", "2", "1", "NET");
  Radio().Mset();
  const std::string code = Bytes({0x00, 0x07});
  EXPECT_EQ(HexFrames(Sent()),
            HexFrames({WriteFrame(code, 0x01, Bytes({0x00, 0x00, 0x05, 0x07, 0x00}), 0x00, 0x02,
                                  "NET       "),
                       Cmd("\x08" + code), Cmd(Bytes({0x1A, 0x00}) + code)}));
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(State().MemorySequenceBusy);
  EXPECT_TRUE(Radio().LastRefusal.empty());
  Advance(60);
  EXPECT_EQ(rig.Channel(7).frequencyHz, 7'050'000);
  EXPECT_EQ(rig.Channel(7).name, "NET       ");
}

TEST_F(MemoryCommands, MsetFrequencyForms) {
  struct Case {
    std::string digits;
    std::string bytes;
    std::int64_t hz;
  };
  // MMkkk and MmKkCc: 14255 and 142550 are the same frequency.
  const std::vector<Case> cases = {
      {"14255", Bytes({0x00, 0x50, 0x25, 0x14, 0x00}), 14'255'000},
      {"142550", Bytes({0x00, 0x50, 0x25, 0x14, 0x00}), 14'255'000},
      {"142505", Bytes({0x00, 0x05, 0x25, 0x14, 0x00}), 14'250'500},
  };
  for (const auto& c : cases) {
    ClearSent();
    HandOver("31", c.digits, "AM", "2", "0", "");
    Radio().Mset();
    ASSERT_EQ(Sent().size(), 3u) << c.digits;
    EXPECT_EQ(Hex(Sent()[0]),
              Hex(WriteFrame(Bytes({0x00, 0x31}), 0x00, c.bytes, 0x02, 0x02, std::string(10, ' '))))
        << c.digits;
    Advance(60);
    EXPECT_EQ(rig.Channel(31).frequencyHz, c.hz) << c.digits;
  }
}

TEST_F(MemoryCommands, MsetRecognisesTheModeWordsInAnyCase) {
  struct Case {
    std::string word;
    int code;
  };
  // The prompt's own spelling and the window's "CWr" and "RTTYr" are written as their codes.
  const std::vector<Case> cases = {{"Lsb", 0x00}, {"usb", 0x01}, {"CWr", 0x07}, {"RTTYr", 0x08}};
  for (const auto& c : cases) {
    ClearSent();
    Click(27, {"30", "14255", c.word, "1", "n", "MODE"});
    ASSERT_EQ(Sent().size(), 3u) << c.word;
    EXPECT_EQ(static_cast<unsigned char>(Sent()[0][14]), c.code) << c.word;  // record byte 9
    Advance(60);
    EXPECT_EQ(rig.Channel(30).mode, c.code) << c.word;
  }
}

TEST_F(MemoryCommands, MsetOfAThreeDigitChannelEndingInTwoToNineAsksNothingMore) {
  for (const std::string channel : {"102", "109", "175"}) {
    desktop.boxes.clear();
    ShowSomething();
    Click(27, {channel});
    EXPECT_TRUE(Sent().empty()) << channel;
    EXPECT_TRUE(StatusCleared());
    EXPECT_EQ(desktop.InputBoxes().size(), 1u);
    EXPECT_FALSE(State().MemorySequenceBusy);
    EXPECT_TRUE(desktop.MessageBoxes().empty());
  }
}

TEST_F(MemoryCommands, MsetOfP1AndP2StartsUnselected) {
  Click(27, {"100", "145000", "fm", "1", "", "P1"});
  ASSERT_EQ(Sent().size(), 3u);
  EXPECT_EQ(Hex(Sent()[0].substr(6, 3)), Hex(Bytes({0x01, 0x00, 0x00})));
  ClearSent();
  Click(27, {"101", "145500", "fm", "1", "y", "P2"});
  ASSERT_EQ(Sent().size(), 3u);
  EXPECT_EQ(Hex(Sent()[0].substr(6, 3)), Hex(Bytes({0x01, 0x01, 0x01})));  // the operator said yes
  ClearSent();
  HandOver("100", "145000", "FM", "1", "1", "P1");
  Radio().Mset();
  ASSERT_EQ(Sent().size(), 3u);
  EXPECT_EQ(Hex(Sent()[0].substr(6, 3)), Hex(Bytes({0x01, 0x00, 0x00})));
}

TEST_F(MemoryCommands, MsetCutsTheLabelToTenCharacters) {
  Click(27, {"8", "14255", "usb", "2", "n", "0123456789AB"});
  ASSERT_EQ(Sent().size(), 3u);
  EXPECT_EQ(Sent()[0].substr(23, 10), "0123456789");
  EXPECT_EQ(Sent()[0].size(), 34u);
}

TEST_F(MemoryCommands, MsetRefusesAnUnknownModeWordWithoutAskingFurther) {
  Click(27, {"30", "14255", "xyz", "1", "n", "MODE"});
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(StatusCleared());
  EXPECT_EQ(desktop.InputBoxes().size(), 3u);
  EXPECT_FALSE(State().MemorySequenceBusy);
  EXPECT_NE(Radio().LastRefusal.find("xyz"), std::string::npos);
}

TEST_F(MemoryCommands, MsetRefusesANumberWithNoByteFormInABox) {
  struct Case {
    std::vector<std::string> answers;
    std::string title;
    std::string value;
    std::string accepted;
    std::size_t prompts;
  };
  const std::vector<Case> cases = {
      {{"200"}, "Set Memory Channel Number", "200", "1 to 101", 1},
      {{"1000"}, "Set Memory Channel Number", "1000", "1 to 101", 1},
      {{"23", "14"}, "Set Memory Frequency", "14", "MMkkk or MmKkCc", 2},
      {{"23", "7"}, "Set Memory Frequency", "7", "MMkkk or MmKkCc", 2},
  };
  for (const auto& c : cases) {
    desktop.boxes.clear();
    const std::string record = State().MemoryRecordField;
    Click(27, c.answers);
    EXPECT_TRUE(Sent().empty()) << c.value;
    ExpectRefusalBox(c.title, c.value, c.accepted);
    EXPECT_EQ(desktop.InputBoxes().size(), c.prompts) << c.value;
    EXPECT_FALSE(State().MemorySequenceBusy);
    EXPECT_EQ(State().MemoryRecordField, record);
  }
}

TEST_F(MemoryCommands, MsetRefusesARecordItCannotConvertWhileBusyWithoutABox) {
  struct Case {
    std::vector<std::string> values;  // channel, digits, mode, filter, selected, label
    std::string named;
  };
  const std::vector<Case> cases = {
      {{"200", "142250", "USB", "2", "0", "X"}, "200"},
      {{"", "142250", "USB", "2", "0", "X"}, "Channel"},
      {{"103", "142250", "USB", "2", "0", "X"}, "103"},
      {{"23", "14", "USB", "2", "0", "X"}, "14"},
      {{"23", "", "USB", "2", "0", "X"}, "Frequency"},
      {{"23", "142250", "Lsbx", "2", "0", "X"}, "Lsbx"},
      {{"23", "142250", "", "2", "0", "X"}, "Mode"},
      {{"23", "142250", "USB", "5", "0", "X"}, "5"},
      {{"23", "142250", "USB", "", "0", "X"}, "Filter"},
  };
  for (const auto& c : cases) {
    const auto& v = c.values;
    HandOver(v[0], v[1], v[2], v[3], v[4], v[5]);
    Radio().Mset();
    EXPECT_TRUE(Sent().empty()) << c.named;
    EXPECT_FALSE(State().MemorySequenceBusy) << c.named;
    EXPECT_NE(Radio().LastRefusal.find(c.named), std::string::npos) << Radio().LastRefusal;
  }
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(desktop.ended);
  // The next good record goes through.
  HandOver("23", "142250", "USB", "2", "0", "X");
  Radio().Mset();
  EXPECT_EQ(Sent().size(), 3u);
  EXPECT_TRUE(Radio().LastRefusal.empty());
}

// --- SetFq -----------------------------------------------------------------------------

TEST_F(MemoryCommands, SetFqSetsTheOperatingFrequencyAndReadsItBack) {
  struct Case {
    std::string answer;
    std::string bytes;
    std::int64_t hz;
  };
  const std::vector<Case> cases = {
      {"14255", Bytes({0x00, 0x50, 0x25, 0x14, 0x00}), 14'255'000},
      {"7050", Bytes({0x00, 0x00, 0x05, 0x07, 0x00}), 7'050'000},
      {"142505", Bytes({0x00, 0x05, 0x25, 0x14, 0x00}), 14'250'500},
  };
  for (const auto& c : cases) {
    ClearSent();
    desktop.boxes.clear();
    Click(29, {c.answer});
    EXPECT_EQ(HexFrames(Sent()), HexFrames({Cmd("\x05" + c.bytes), Cmd("\x03")})) << c.answer;
    ExpectPrompts({{"Set Memory Frequency", "Enter  'FREQUENCY'  (MMkkk or MmKkCc)", ""}});
    Advance(60);
    EXPECT_EQ(rig.FrequencyHz(), c.hz) << c.answer;
  }
}

TEST_F(MemoryCommands, SetFqAsksEvenWhileASequenceIsBusy) {
  State().MemorySequenceBusy = true;
  State().MemFrequencyDigits = "142250";
  Click(29, {"7050"});
  EXPECT_EQ(desktop.InputBoxes().size(), 1u);
  EXPECT_EQ(HexFrames(Sent()),
            HexFrames({Cmd(Bytes({0x05, 0x00, 0x00, 0x05, 0x07, 0x00})), Cmd("\x03")}));
}

TEST_F(MemoryCommands, SetFqClearsTheStatusLineForAnUnusableAnswer) {
  for (const std::string answer : {"", "0", " "}) {
    ShowSomething();
    Click(29, {answer});
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(StatusCleared());
  }
  EXPECT_TRUE(desktop.MessageBoxes().empty());
}

TEST_F(MemoryCommands, SetFqRefusesAFrequencyOfOneOrTwoDigits) {
  for (const std::string answer : {"14", "7"}) {
    desktop.boxes.clear();
    Click(29, {answer});
    EXPECT_TRUE(Sent().empty());
    ExpectRefusalBox("Set Memory Frequency", answer, "MMkkk or MmKkCc");
  }
}

// --- SetMd -----------------------------------------------------------------------------

TEST_F(MemoryCommands, SetMdSetsModeAndFilterAndReadsThemBack) {
  struct Case {
    std::string mode;
    std::string filter;
    int modeCode;
    int filterCode;
  };
  const std::vector<Case> cases = {{"rtty", "1", 0x04, 0x01},
                                   {"Lsb", "2", 0x00, 0x02},
                                   {"CWr", "3", 0x07, 0x03},
                                   {"RTTYr", "2", 0x08, 0x02}};
  for (const auto& c : cases) {
    ClearSent();
    desktop.boxes.clear();
    Click(30, {c.mode, c.filter});
    EXPECT_EQ(HexFrames(Sent()),
              HexFrames({Cmd(Bytes({0x06, c.modeCode, c.filterCode})), Cmd("\x04")}))
        << c.mode;
    ExpectPrompts(
        {{"Set Memory Mode", "Enter  'MODE'  (Lsb, Usb, Am, Cw, Rtty, Fm, Cwr, Rttyr)", "AM"},
         {"Memory Filter", "Enter  'FILTER'  (1,2,3)", "2"}});
    Advance(60);
    EXPECT_EQ(rig.Mode(), c.modeCode) << c.mode;
    EXPECT_EQ(rig.Filter(), c.filterCode) << c.mode;
  }
}

TEST_F(MemoryCommands, SetMdClearsTheStatusLineAndSendsNothingForWhatItCannotUse) {
  struct Case {
    std::vector<std::string> answers;
    std::size_t prompts;
  };
  const std::vector<Case> cases = {
      {{""}, 1},        {{"0"}, 1},        {{" "}, 1},        {{"xyz"}, 1},
      {{"usb", ""}, 2}, {{"usb", "4"}, 2}, {{"usb", "0"}, 2},
  };
  for (const auto& c : cases) {
    desktop.boxes.clear();
    ShowSomething();
    for (const auto& answer : c.answers) desktop.Type(answer);
    Radio().ClickOption(30);
    EXPECT_TRUE(Sent().empty()) << c.answers[0];
    EXPECT_TRUE(StatusCleared()) << c.answers[0];
    EXPECT_EQ(desktop.InputBoxes().size(), c.prompts) << c.answers[0];
    EXPECT_TRUE(desktop.MessageBoxes().empty());
  }
}

// --- Read-backs decoded into the radio window ----------------------------------------------

TEST_F(MemoryCommands, MsetReadBackAppearsInTheRadioWindow) {
  Click(27, {"23", "142250", "usb", "3", "y", "ABC"});
  Advance(60);
  const RadioMain& r = Radio();
  EXPECT_EQ(r.Text1, "14.225.0");
  EXPECT_EQ(r.Text2, "23");
  EXPECT_EQ(r.Text3, "*");
  EXPECT_EQ(r.Text4, "USB");
  EXPECT_EQ(r.Text5, "Fil 3");
  EXPECT_EQ(r.Text6, "ABC       ");
}

TEST_F(MemoryCommands, SetFqReadBackAppearsInTheRadioWindow) {
  Click(29, {"14255"});
  Advance(60);
  EXPECT_EQ(Radio().Text1, "14.255.0");
  EXPECT_EQ(Radio().Text2, " ");
  EXPECT_EQ(Radio().Text3, " ");
}

TEST_F(MemoryCommands, SetMdReadBackAppearsInTheRadioWindow) {
  Click(30, {"rtty", "1"});
  Advance(60);
  EXPECT_EQ(Radio().Text5, "Fil 1");
  EXPECT_EQ(Radio().Text2, " ");
  EXPECT_EQ(Radio().Text6, " ");
}

}  // namespace
}  // namespace tavrin::testing
