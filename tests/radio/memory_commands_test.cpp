// SPDX-License-Identifier: GPL-3.0-or-later
// "Msel", "Mrd", "Mset", "SetFq" and "SetMd": prompted from a click, silent while the memory
// window's sequences drive them, and their chains, on the in-process transceiver.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "sim/memory_channel.h"
#include "support/program_fixture.h"

namespace tavrin::testing {
namespace {

// FE FE 64 E0, the command bytes, FD.
std::string Cmd(const std::string& command) {
  return Bytes({0xFE, 0xFE, 0x64, 0xE0}) + command + Bytes({0xFD});
}

// What "Mset" sends for channel `code`: the memory write (1A 00, channel code, selected, five
// frequency bytes, mode, filter, the 88.5 Hz tone block and the label), then the select and the
// read of that channel.
std::vector<std::string> MsetFrames(const std::string& code, int selected,
                                    const std::string& frequency, int mode, int filter,
                                    const std::string& label) {
  return {Cmd(Bytes({0x1A, 0x00}) + code + Bytes({selected}) + frequency + Bytes({mode, filter}) +
              Bytes({0x00, 0x00, 0x08, 0x85, 0x00, 0x08, 0x85}) + label),
          Cmd("\x08" + code), Cmd(Bytes({0x1A, 0x00}) + code)};
}

// Title, prompt and default of each question a command asks, in order.
std::vector<std::string> PromptsOf(int option) {
  const std::string channel = "|Enter 'CHANNEL NUMBER' (1-101)|";
  switch (option) {
    case 23:
      return {"Select Memory Channel Number" + channel};
    case 25:
      return {"Read Memory Channel Number" + channel};
    case 27:
      return {"Set Memory Channel Number" + channel,
              "Set Memory Frequency|Enter 'FREQUENCY' (MMkkk or MmKkCc)|",
              "Set Memory Mode|Enter  'MODE' (Lsb, Usb, Am, Cw, Rtty, Fm, Cwr, Rttyr)|AM",
              "Set Memory Filter|Enter 'FILTER' (1,2,3)|2",
              "Set Memory Selected Channel|Is this a 'SELECTED'  channel  (Yes, No)|NO",
              "Set Memory Label|Enter  'LABEL'  info (0-10 chars)|"};
    case 29:
      return {"Set Memory Frequency|Enter  'FREQUENCY'  (MMkkk or MmKkCc)|"};
    default:
      return {"Set Memory Mode|Enter  'MODE'  (Lsb, Usb, Am, Cw, Rtty, Fm, Cwr, Rttyr)|AM",
              "Memory Filter|Enter  'FILTER'  (1,2,3)|2"};
  }
}

class MemoryCommands : public ProgramFixture {
 protected:
  void SetUp() override {
    WriteConfig();
    Start();
    ASSERT_FALSE(desktop.ended);
    Reset();
  }

  RadioMain& Radio() { return program->radio; }
  Station& State() { return program->station; }

  // Forgets frames and boxes and fills the fields and both status lines, so that a case sees
  // what a command blanks.
  void Reset() {
    ClearSent();
    desktop.boxes.clear();
    RadioMain& r = Radio();
    std::tie(r.Text1, r.Text2, r.Text3, r.Text4, r.Text5, r.Text6) =
        std::tuple("14.195.0", "7", "*", "USB", "Fil 2", "NET");
    r.Text7 = program->memory.Text9 = "STATUS =  254 254";
  }
  std::vector<std::string> Fields() {
    const RadioMain& r = Radio();
    return {r.Text1, r.Text2, r.Text3, r.Text4, r.Text5, r.Text6};
  }
  bool StatusCleared() { return Radio().Text7 == " " && program->memory.Text9 == " "; }
  bool DisplayBlanked() { return Fields() == std::vector<std::string>(6, " ") && StatusCleared(); }

  void Click(int option, const std::vector<std::string>& answers) {
    for (const auto& answer : answers) desktop.Type(answer);
    Radio().ClickOption(option);
    EXPECT_FALSE(Radio().OptionMarked[static_cast<std::size_t>(option)]);
    EXPECT_EQ(desktop.PendingInputs(), 0u);
  }

  // The first `count` questions of the command on `option` were asked, and nothing else.
  void ExpectPrompts(int option, std::size_t count) {
    std::vector<std::string> asked;
    for (const auto& box : desktop.InputBoxes())
      asked.push_back(box.title + "|" + box.text + "|" + box.defaultAnswer);
    std::vector<std::string> expected = PromptsOf(option);
    expected.resize(count);
    EXPECT_EQ(asked, expected);
  }
};

TEST_F(MemoryCommands, ClickedCommandsAskAndSendTheirFrames) {
  struct Case {
    int option;
    std::vector<std::string> answers;
    std::vector<std::string> frames;
  };
  // Five frequency bytes, least significant first: 14.255.0 MHz is 00 50 25 14 00.
  const std::string f14255 = Bytes({0x00, 0x50, 0x25, 0x14, 0x00});
  const std::string f7050 = Bytes({0x00, 0x00, 0x05, 0x07, 0x00});
  const std::string f145 = Bytes({0x00, 0x00, 0x50, 0x14, 0x00});
  std::vector<Case> cases = {
      // Cancelled questions take the defaults: AM, filter 2, not selected, a blank label.
      {27, {"7", "7050", "", "", "", ""}, MsetFrames(Bytes({0, 7}), 0, f7050, 2, 2, "          ")},
      // P1 and P2 start unselected; the operator may still answer yes.
      {27,
       {"100", "145000", "fm", "1", "", "P1"},
       MsetFrames(Bytes({1, 0}), 0, f145, 5, 1, "P1        ")},
      {27,
       {"101", "145000", "fm", "1", "y", "P2"},
       MsetFrames(Bytes({1, 1}), 1, f145, 5, 1, "P2        ")},
      {27,
       {"8", "14255", "usb", "2", "n", "0123456789AB"},
       MsetFrames(Bytes({0, 8}), 0, f14255, 1, 2, "0123456789")},
      {29, {"14255"}, {Cmd("\x05" + f14255), Cmd("\x03")}},
      {29, {"7050"}, {Cmd("\x05" + f7050), Cmd("\x03")}},
      {29, {"142505"}, {Cmd(Bytes({0x05, 0x00, 0x05, 0x25, 0x14, 0x00})), Cmd("\x03")}},
      // The frequency as the window shows it means what it shows.
      {29, {"14.255.0"}, {Cmd("\x05" + f14255), Cmd("\x03")}},
      {29, {"14.255"}, {Cmd("\x05" + f14255), Cmd("\x03")}},
      {29, {"7.05"}, {Cmd("\x05" + f7050), Cmd("\x03")}},
      {27,
       {"9", "14.255", "usb", "2", "Yes", "X"},
       MsetFrames(Bytes({0, 9}), 1, f14255, 1, 2, "X         ")},
      // "Yes" and "No" as the prompt writes them.
      {27,
       {"9", "7.05", "usb", "2", "No", "X"},
       MsetFrames(Bytes({0, 9}), 0, f7050, 1, 2, "X         ")},
  };
  // Channel codes: 00 nn for 1 to 99 in BCD, 01 00 and 01 01 for P1 and P2.
  for (const auto& [channel, high, low] : std::vector<std::array<int, 3>>{
           {5, 0, 5}, {42, 0, 0x42}, {99, 0, 0x99}, {100, 1, 0}, {101, 1, 1}}) {
    const std::string code = Bytes({high, low});
    cases.push_back(
        {23, {std::to_string(channel)}, {Cmd("\x08" + code), Cmd("\x1A" + Bytes({0}) + code)}});
    cases.push_back({25, {std::to_string(channel)}, {Cmd("\x1A" + Bytes({0}) + code)}});
  }
  // The mode words in any case, the window's own "CWr" and "RTTYr" too.
  for (const auto& [word, mode, filter] : std::vector<std::tuple<std::string, int, int>>{
           {"Lsb", 0, 2}, {"usb", 1, 2}, {"rtty", 4, 1}, {"CWr", 7, 3}, {"RTTYr", 8, 2}}) {
    cases.push_back({27,
                     {"30", "14255", word, std::to_string(filter), "n", "M"},
                     MsetFrames(Bytes({0x00, 0x30}), 0, f14255, mode, filter, "M         ")});
    cases.push_back(
        {30, {word, std::to_string(filter)}, {Cmd(Bytes({0x06, mode, filter})), Cmd("\x04")}});
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.option) + " " + c.answers[0] + " " + c.answers.back());
    Reset();
    Click(c.option, c.answers);
    EXPECT_EQ(Sent(), c.frames);
    ExpectPrompts(c.option, PromptsOf(c.option).size());
    EXPECT_TRUE(Radio().LastRefusal.empty());
    Advance(60);
  }
}

TEST_F(MemoryCommands, AnswersWithoutAChannelRecordOrValueSendNothingFurther) {
  struct Case {
    int option;
    std::vector<std::string> answers;
    std::vector<std::string> frames;
    bool blanks;                     // the whole display, else only the status line
    std::string value = "";          // named by the refusal
    const char* boxTitle = nullptr;  // the critical refusal box, if one
    const char* accepted = nullptr;  // named in the box
  };
  // What each box names as accepted is what its check takes.
  const char* select = "Accepted: a number from 1 to 179 except 174 to 178 (";
  const char* read = "Accepted: a number from 1 to 101 (";
  const char* write =
      "Accepted: a number from 1 to 179 except 174 to 178, of the three-digit numbers only those";
  const char* fq = "MMkkk or MmKkCc";
  const char* md = "Accepted: Lsb, Usb, Am, Cw, Rtty, Fm, Cwr, Rttyr";
  const char* fl = "Accepted: 1, 2 or 3.";
  std::vector<Case> cases = {
      // 102 to 179 have a byte form but are no memory: selected, nothing to read.
      {23, {"150"}, {Cmd(Bytes({0x08, 0x00, 0xE2}))}, true},
      {23, {"200"}, {}, false, "200", "Select Memory Channel Number", select},
      {23, {"177"}, {}, false, "177", "Select Memory Channel Number", select},
      {23, {"abc"}, {}, false, "abc", "Select Memory Channel Number", select},
      {25, {"105"}, {}, true, "105", "Read Memory Channel Number", read},
      {25, {"179"}, {}, true, "179", "Read Memory Channel Number", read},
      {25, {"200"}, {}, true, "200", "Read Memory Channel Number", read},
      {25, {"abc"}, {}, true, "abc", "Read Memory Channel Number", read},
      {27, {"102"}, {}, false, "102", "Set Memory Channel Number", write},
      {27, {"109"}, {}, false, "109", "Set Memory Channel Number", write},
      {27, {"175"}, {}, false, "175", "Set Memory Channel Number", write},
      {27, {"200"}, {}, false, "200", "Set Memory Channel Number", write},
      {27, {"178"}, {}, false, "178", "Set Memory Channel Number", write},
      // The letters of the bytes FA to FE in the label: FD would end the frame in its middle.
      {27,
       {"30", "14255", "usb", "2", "no", "Sch\xFCtz"},
       {},
       false,
       "Sch\xFCtz",
       "Set Memory Label",
       "Accepted: up to 10 letters, digits and signs, but not"},
      {27, {"1000"}, {}, false, "1000", "Set Memory Channel Number", write},
      {27, {"abc"}, {}, false, "abc", "Set Memory Channel Number", write},
      {27, {"23", "14"}, {}, false, "14", "Set Memory Frequency", fq},
      {27, {"23", "7"}, {}, false, "7", "Set Memory Frequency", fq},
      {27, {"23", "abcdef"}, {}, false, "abcdef", "Set Memory Frequency", fq},
      {27, {"30", "14255", "xyz"}, {}, false, "xyz", "Set Memory Mode", md},
      {27, {"30", "14255", "usb "}, {}, false, "usb ", "Set Memory Mode", md},
      {27, {"30", "14255", "usb", "4"}, {}, false, "4", "Set Memory Filter", fl},
      {27,
       {"30", "14255", "usb", "2", "maybe"},
       {},
       false,
       "maybe",
       "Set Memory Selected Channel",
       "Accepted: Yes or No"},
      {29, {"14"}, {}, false, "14", "Set Memory Frequency", fq},
      {29, {"7"}, {}, false, "7", "Set Memory Frequency", fq},
      {29, {"abcdef"}, {}, false, "abcdef", "Set Memory Frequency", fq},
      {29, {"1425500"}, {}, false, "1425500", "Set Memory Frequency", fq},
      {29, {"14.2.5"}, {}, false, "14.2.5", "Set Memory Frequency", fq},
      {30, {"xyz"}, {}, false, "xyz", "Set Memory Mode", md},
      {30, {"usb "}, {}, false, "usb ", "Set Memory Mode", md},
      {30, {"usb", ""}, {}, false},
      {30, {"usb", "4"}, {}, false, "4", "Memory Filter", fl},
      {30, {"usb", "0"}, {}, false},
  };
  // Cancel, "0" and a lone blank: "Mrd" blanks the whole display, the others the status line.
  for (const int option : {23, 25, 29, 30}) {
    for (const std::string answer : {"", "0", " "})
      cases.push_back({option, {answer}, {}, option == 25});
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.option) + " \"" + c.answers.back() + '"');
    Reset();
    const std::string record = State().MemoryRecordField;
    Click(c.option, c.answers);
    EXPECT_EQ(Sent(), c.frames);
    ExpectPrompts(c.option, c.answers.size());
    EXPECT_EQ(DisplayBlanked(), c.blanks);
    EXPECT_TRUE(StatusCleared());
    EXPECT_EQ(State().MemoryRecordField, record);
    if (!c.value.empty()) {
      EXPECT_NE(Radio().LastRefusal.find(c.value), std::string::npos) << Radio().LastRefusal;
    }
    const auto boxes = desktop.MessageBoxes();
    if (c.boxTitle == nullptr) {
      EXPECT_TRUE(boxes.empty());
      continue;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, c.boxTitle);
    EXPECT_EQ(boxes[0].icon, BoxIcon::Critical);
    EXPECT_NE(boxes[0].text.find(c.value + " ..."), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(c.accepted), std::string::npos) << boxes[0].text;
  }
  EXPECT_FALSE(desktop.ended);
  EXPECT_FALSE(State().Ended);
}

TEST_F(MemoryCommands, GivenTheirValuesNothingIsAskedNoBoxShownAndTheOutcomeReturned) {
  using Values = std::array<std::string, 6>;  // channel, digits, mode, filter, selected, label
  enum class Command { Select, SelectAndClear, Read, Write };
  struct Case {
    Command command;
    Values values;
    std::vector<std::string> frames;
    std::string refusal;  // named when the values are refused
  };
  const Values good = {"23", "142250", "USB", "2", "0", "X"};
  const auto with = [&](std::size_t field, const std::string& value) {
    Values values = good;
    values[field] = value;
    return values;
  };
  const std::string code = Bytes({0x00, 0x23});
  const std::string f14255 = Bytes({0x00, 0x50, 0x25, 0x14, 0x00});
  std::vector<Case> cases = {
      {Command::SelectAndClear, {"12"}, {Cmd(Bytes({0x08, 0x00, 0x12})), Cmd("\x0B")}, ""},
      {Command::Select,
       {"12"},
       {Cmd(Bytes({0x08, 0x00, 0x12})), Cmd(Bytes({0x1A, 0x00, 0x00, 0x12}))},
       ""},
      {Command::Select, {""}, {}, "Channel"},
      {Command::SelectAndClear, {"-5"}, {}, "-5"},
      {Command::Read, {"42"}, {Cmd(Bytes({0x1A, 0x00, 0x00, 0x42}))}, ""},
      {Command::Read, {"105"}, {}, "105"},
      {Command::Write,
       {"7 ", "070500", "LSB", "2", "1", "NET"},
       MsetFrames(Bytes({0, 7}), 1, Bytes({0, 0, 0x05, 0x07, 0}), 0, 2, "NET       "),
       ""},
      // MMkkk and MmKkCc: 14255 and 142550 are the same frequency.
      {Command::Write, with(1, "14255"), MsetFrames(code, 0, f14255, 1, 2, "X         "), ""},
      {Command::Write, with(1, "142550"), MsetFrames(code, 0, f14255, 1, 2, "X         "), ""},
      {Command::Write, with(1, "142505"),
       MsetFrames(code, 0, Bytes({0, 0x05, 0x25, 0x14, 0}), 1, 2, "X         "), ""},
      // P1 is written unselected whatever the file says.
      {Command::Write,
       {"100", "145000", "FM", "1", "1", "P1"},
       MsetFrames(Bytes({1, 0}), 0, Bytes({0, 0, 0x50, 0x14, 0}), 5, 1, "P1        "),
       ""},
  };
  // One value at a time that cannot be stored; the refusal names it, or what is missing.
  const std::vector<std::tuple<std::size_t, std::string, std::string>> refused = {
      {0, "200", "200"}, {0, "", "Channel"},   {0, "103", "103"},
      {1, "14", "14"},   {1, "", "Frequency"}, {2, "Lsbx", "Lsbx"},
      {2, "", "Mode"},   {3, "5", "5"},        {3, "", "Filter"}};
  for (const auto& [field, value, named] : refused)
    cases.push_back({Command::Write, with(field, value), {}, named});
  // After the refused records the next good one goes through.
  cases.push_back({Command::Write, good,
                   MsetFrames(code, 0, Bytes({0, 0x50, 0x22, 0x14, 0}), 1, 2, "X         "), ""});
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(i);
    Reset();
    const Values& v = c.values;
    MemoryCommandResult result;
    switch (c.command) {
      case Command::Select:
        result = Radio().SelectMemoryChannel(v[0], AfterSelect::Read);
        break;
      case Command::SelectAndClear:
        result = Radio().SelectMemoryChannel(v[0], AfterSelect::Clear);
        break;
      case Command::Read:
        result = Radio().ReadMemoryChannel(v[0]);
        break;
      case Command::Write:
        result = Radio().WriteMemoryChannel({v[0], v[1], v[2], v[3], v[4], v[5]});
        break;
    }
    EXPECT_EQ(Sent(), c.frames);
    if (c.refusal.empty()) {
      EXPECT_TRUE(result.Sent()) << result.refusal;
    } else {
      EXPECT_NE(result.refusal.find(c.refusal), std::string::npos) << result.refusal;
    }
    // A record written is the record sent, and the one kept for the next write.
    if (c.command == Command::Write && result.Sent()) {
      EXPECT_EQ(Cmd(Bytes({0x1A, 0x00}) + result.record), c.frames.at(0));
      EXPECT_EQ(State().MemoryRecordField, result.record);
    }
    Advance(60);
  }
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(desktop.ended);
}

TEST_F(MemoryCommands, MsetSendsItsThreeFramesBackToBackAndTheTransceiverHoldsTheRecord) {
  Click(27, {"23", "142250", "usb", "3", "y", "ABC"});
  EXPECT_EQ(Sent(), MsetFrames(Bytes({0x00, 0x23}), 0x01, Bytes({0x00, 0x50, 0x22, 0x14, 0x00}),
                               0x01, 0x03, "ABC       "));
  ExpectPrompts(27, 6);
  // Back to back: all three leave in the same instant, before any answer.
  const auto& frames = serial.SentFrames();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].micros, frames[2].micros);

  Advance(60);
  const sim::MemoryChannel& c = rig.Channel(23);
  EXPECT_EQ(std::tuple(c.blank, c.selected, c.frequencyHz, int{c.mode}, int{c.filter}, c.name),
            std::tuple(false, true, 14'225'000, 0x01, 3, "ABC       "));
  EXPECT_TRUE(rig.MemoryMode());
  EXPECT_EQ(rig.CurrentChannel(), 23);
  // The read-back, decoded into the radio window.
  EXPECT_EQ(Fields(),
            (std::vector<std::string>{"14.225.0", "23", "*", "USB", "Fil 3", "ABC       "}));
}

TEST_F(MemoryCommands, ACancelledOrRefusedSelectLeavesTheNextOneAReadAgain) {
  for (const std::string answer : {"", "200"}) Click(23, {answer});
  EXPECT_TRUE(Sent().empty());
  Click(23, {"5"});
  EXPECT_EQ(Sent(), (std::vector<std::string>{Cmd(Bytes({0x08, 0x00, 0x05})),
                                              Cmd(Bytes({0x1A, 0x00, 0x00, 0x05}))}));
}

TEST_F(MemoryCommands, SetFqAndSetMdReadBacksAppearInTheRadioWindow) {
  Click(29, {"14255"});
  Advance(60);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"14.255.0", " ", " ", "USB", "Fil 2", " "}));
  Reset();
  Click(30, {"rtty", "1"});
  Advance(60);
  // Only the filter comes back from the set-mode echo; the fields around it are blanked.
  EXPECT_EQ(Radio().Text5, "Fil 1");
  EXPECT_EQ(Radio().Text2 + Radio().Text3 + Radio().Text6, "   ");
}

}  // namespace
}  // namespace tavrin::testing
