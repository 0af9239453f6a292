// "Set Vol", "Set Call ", "Set Time" and "Manual Commands  " on the scripted desktop and the
// in-process transceiver.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

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

class PromptedCommands : public ProgramFixture {
 protected:
  void SetUp() override {
    WriteConfig("KESTRA.TXT", "K1ABC");
    Start();
    ASSERT_FALSE(desktop.ended);
    ClearSent();
    desktop.boxes.clear();
    ShowSomeStatus();
  }

  RadioMain& Radio() { return program->radio; }
  Station& State() { return program->station; }

  // Puts a line on both status fields, so that a test can see whether a command cleared it.
  void ShowSomeStatus() {
    Radio().Text7 = "STATUS =  254 254";
    program->memory.Text9 = "STATUS =  254 254";
  }
  bool StatusCleared() { return Radio().Text7 == " " && program->memory.Text9 == " "; }

  void Answer(const std::string& control, const std::vector<std::string>& answers) {
    for (const auto& answer : answers) desktop.Type(answer);
    Radio().Click(control);
  }

  // The only box shown, which must be the critical refusal naming `value` and `accepted`.
  void ExpectRefusalBox(const std::string& title, const std::string& value,
                        const std::string& accepted) {
    const auto boxes = desktop.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, title);
    EXPECT_EQ(boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(boxes[0].buttons, BoxButtons::Ok);
    EXPECT_NE(boxes[0].text.find(value + " ..."), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(accepted), std::string::npos) << boxes[0].text;
    EXPECT_FALSE(desktop.ended);
    EXPECT_FALSE(State().Ended);
  }
};

TEST_F(PromptedCommands, SetVolAsksForTheLevelAndSendsItAsBcd) {
  struct Case {
    std::string answer;
    std::string level;
  };
  // The prompt's range is not enforced: what has a byte form is sent as it is.
  const std::vector<Case> cases = {
      {"25", Bytes({0x25})}, {"0", Bytes({0x00})}, {"99", Bytes({0x99})}, {"150", Bytes({0xE2})}};
  for (const auto& c : cases) {
    ClearSent();
    desktop.boxes.clear();
    Answer("Command2", {c.answer});
    EXPECT_EQ(HexFrames(Sent()), HexFrames({Cmd(Bytes({0x14, 0x01}) + c.level)})) << c.answer;
    const auto boxes = desktop.InputBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Set Audio Level");
    EXPECT_EQ(boxes[0].text, "Enter  'AUDIO LEVEL'  (0-99)");
    EXPECT_EQ(boxes[0].defaultAnswer, "25");
    EXPECT_TRUE(desktop.MessageBoxes().empty());
  }
  Answer("Command2", {"42"});
  Advance(60);
  EXPECT_EQ(rig.Volume(), 42);
}

TEST_F(PromptedCommands, SetVolIgnoresAnEmptyAnswerOrALeadingBlank) {
  for (const std::string answer : {"", " 5"}) {
    Answer("Command2", {answer});
    EXPECT_TRUE(Sent().empty()) << '"' << answer << '"';
    EXPECT_EQ(Radio().Text7, "STATUS =  254 254");
    EXPECT_EQ(program->memory.Text9, "STATUS =  254 254");
  }
}

TEST_F(PromptedCommands, SetVolRefusesALevelWithNoByteFormAndKeepsRunning) {
  for (const std::string answer : {"200", "180", "-5"}) {
    desktop.boxes.clear();
    State().MemorySequenceBusy = true;
    Answer("Command2", {answer});
    EXPECT_TRUE(Sent().empty()) << answer;
    ExpectRefusalBox("Set Audio Level", answer, "0 to 99");
    EXPECT_FALSE(State().MemorySequenceBusy);
    EXPECT_FALSE(Radio().LastRefusal.empty());
  }
  Answer("Command2", {"30"});
  EXPECT_EQ(HexFrames(Sent()), HexFrames({Cmd(Bytes({0x14, 0x01, 0x30}))}));
  EXPECT_TRUE(Radio().LastRefusal.empty());
}

TEST_F(PromptedCommands, SetCallPadsFoldsSendsAndReadsBack) {
  struct Case {
    std::string answer;
    std::string sent;
  };
  const std::vector<Case> cases = {
      {"ab1cd", "AB1CD     "}, {"k1abc/portab", "K1ABC/PORTAB"},  // longer than ten: nothing is cut
  };
  for (const auto& c : cases) {
    ClearSent();
    desktop.boxes.clear();
    Answer("Command33", {c.answer});
    EXPECT_EQ(HexFrames(Sent()), HexFrames({Cmd("\x1A\x05\x15" + c.sent), Cmd("\x1A\x05\x15")}))
        << c.answer;
    const auto boxes = desktop.InputBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "New Call Sign");
    EXPECT_EQ(boxes[0].text, "Enter  'CALLSIGN'  (1-10 Chars)");
    EXPECT_EQ(boxes[0].defaultAnswer, State().CallSign);
    Advance(60);
  }
  Answer("Command33", {"dl2xyz"});
  Advance(60);
  EXPECT_EQ(rig.CallSign(), "DL2XYZ    ");
  EXPECT_EQ(State().CallSign, "K1ABC");  // the configured call sign is not changed
}

TEST_F(PromptedCommands, SetCallClearsTheStatusLineForAnUnusableAnswer) {
  for (const std::string answer : {"", "0", " k1abc"}) {
    ShowSomeStatus();
    Answer("Command33", {answer});
    EXPECT_TRUE(Sent().empty()) << '"' << answer << '"';
    EXPECT_TRUE(StatusCleared()) << '"' << answer << '"';
  }
}

TEST_F(PromptedCommands, SetTimeSendsHoursAndMinutesThenReadsTheClock) {
  struct Case {
    std::string answer;
    std::string time;
  };
  // The ranges of the prompt are not enforced; the transceiver refuses 25:75 itself.
  const std::vector<Case> cases = {{"25:75", Bytes({0x25, 0x75})}, {"07:05", Bytes({0x07, 0x05})}};
  for (const auto& c : cases) {
    ClearSent();
    desktop.boxes.clear();
    Answer("Command35", {c.answer});
    EXPECT_EQ(HexFrames(Sent()), HexFrames({Cmd("\x1A\x05\x16" + c.time), Cmd("\x1A\x05\x16")}))
        << c.answer;
    EXPECT_EQ(State().TimeField, c.time);
    const auto boxes = desktop.InputBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "New Time of Day");
    EXPECT_EQ(boxes[0].text, "Enter  'TIME'  (HH:MM)...where hh=00-23, mm=00-59");
    EXPECT_EQ(boxes[0].defaultAnswer, "");
    Advance(60);
  }
  EXPECT_EQ(rig.ClockHours(), 7);
  EXPECT_EQ(rig.ClockMinutes(), 5);
}

TEST_F(PromptedCommands, SetTimeClearsTheStatusLineForAnAnswerThatIsNoTime) {
  for (const std::string answer : {"0705", "7:30", "", "0", " 07:05"}) {
    ShowSomeStatus();
    Answer("Command35", {answer});
    EXPECT_TRUE(Sent().empty()) << '"' << answer << '"';
    EXPECT_TRUE(StatusCleared()) << '"' << answer << '"';
    EXPECT_TRUE(desktop.MessageBoxes().empty());
  }
}

TEST_F(PromptedCommands, SetTimeRefusesAPieceWithNoByteForm) {
  const std::string before = State().TimeField;
  for (const std::string answer : {"12:", "12:-5"}) {
    desktop.boxes.clear();
    Answer("Command35", {answer});
    EXPECT_TRUE(Sent().empty()) << answer;
    ExpectRefusalBox("New Time of Day", answer, "HH:MM");
    EXPECT_EQ(State().TimeField, before);
  }
  Answer("Command35", {"08:15"});
  EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(PromptedCommands, ManualCommandSendsUpToFourHexBytes) {
  struct Case {
    std::string answer;
    std::string command;
  };
  const std::vector<Case> cases = {
      {"1a 05 00 15", Bytes({0x1A, 0x05, 0x00, 0x15})},
      {"07  d0", Bytes({0x07, 0xD0})},
      {"1A 05 00 15 20", Bytes({0x1A, 0x05, 0x00, 0x15})},
      {"3", Bytes({0x03})},
  };
  for (const auto& c : cases) {
    ClearSent();
    Answer("Command42", {c.answer});
    EXPECT_EQ(HexFrames(Sent()), HexFrames({Cmd(c.command)})) << c.answer;
    EXPECT_EQ(State().LastManualCommand, c.answer);
    Advance(60);
  }
  const auto boxes = desktop.InputBoxes();
  ASSERT_EQ(boxes.size(), cases.size());
  EXPECT_EQ(boxes[0].title, "Manual Command Mode");
  EXPECT_EQ(boxes[0].text, "Enter Command String  (1 to 4 cmds, sep w/spaces )");
  EXPECT_EQ(boxes[0].defaultAnswer, "");
  // Each prompt offers the command accepted before it.
  for (std::size_t i = 1; i < cases.size(); ++i)
    EXPECT_EQ(boxes[i].defaultAnswer, cases[i - 1].answer);
}

TEST_F(PromptedCommands, ManualCommandKeepsTheLastCommandForAnUnusableAnswer) {
  Answer("Command42", {"3"});
  for (const std::string answer : {"", "0", " 03"}) {
    ClearSent();
    ShowSomeStatus();
    Answer("Command42", {answer});
    EXPECT_TRUE(Sent().empty()) << '"' << answer << '"';
    EXPECT_TRUE(StatusCleared());
    EXPECT_EQ(State().LastManualCommand, "3");
  }
  EXPECT_EQ(desktop.InputBoxes().back().defaultAnswer, "3");
}

TEST_F(PromptedCommands, ManualCommandWithANonHexCharacterSendsNothing) {
  for (const std::string answer : {"03 zz", "g", "1a 05 0o 15"}) {
    ShowSomeStatus();
    Answer("Command42", {answer});
    EXPECT_TRUE(Sent().empty()) << answer;
    EXPECT_TRUE(StatusCleared()) << answer;
    EXPECT_FALSE(Radio().LastRefusal.empty());
    // Offered again, so that the typo can be mended.
    Answer("Command42", {""});
    EXPECT_EQ(desktop.InputBoxes().back().defaultAnswer, answer);
  }
  EXPECT_TRUE(desktop.MessageBoxes().empty());
  EXPECT_FALSE(desktop.ended);
}

// What the transceiver answers is decoded into the radio window.
TEST_F(PromptedCommands, ReadBacksAreDecoded) {
  Answer("Command35", {"09:41"});
  Advance(60);
  EXPECT_EQ(Radio().Text6, "TIME = 09:41");

  Answer("Command33", {"ab1cd"});
  Advance(60);
  EXPECT_EQ(Radio().Text6, "CALL = AB1CD     ");

  rig.SetVfo(7'050'000, 0x00, 2);
  Answer("Command42", {"03"});
  Advance(60);
  EXPECT_EQ(Radio().Text1, "07.050.0");
}

}  // namespace
}  // namespace tavrin::testing
