// SPDX-License-Identifier: GPL-3.0-or-later
// "Set Vol", "Set Call ", "Set Time" and "Manual Commands  " on the scripted desktop and the
// in-process transceiver.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/program_fixture.h"

namespace tavrin::testing {
namespace {

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
    Reset();
  }

  RadioMain& Radio() { return program->radio; }
  Station& State() { return program->station; }

  // Forgets frames and boxes and puts a line on both status fields, so that a case can see
  // whether a command cleared it.
  void Reset() {
    ClearSent();
    desktop.boxes.clear();
    Radio().Text7 = "STATUS =  254 254";
    program->memory.Text9 = "STATUS =  254 254";
  }
  bool StatusCleared() { return Radio().Text7 == " " && program->memory.Text9 == " "; }
  bool StatusKept() {
    return Radio().Text7 == "STATUS =  254 254" && program->memory.Text9 == "STATUS =  254 254";
  }

  void Answer(const std::string& control, const std::string& answer) {
    desktop.Type(answer);
    Radio().Click(control);
  }
};

TEST_F(PromptedCommands, AnswersAreSentAsTheirBytesAndReadBack) {
  struct Case {
    std::string control;
    std::string answer;
    std::vector<std::string> frames;
  };
  const std::vector<Case> cases = {
      // The level's range is not enforced: what has a byte form is sent as it is.
      {"Command2", "25", {Cmd(Bytes({0x14, 0x01, 0x25}))}},
      {"Command2", "0", {Cmd(Bytes({0x14, 0x01, 0x00}))}},
      {"Command2", "99", {Cmd(Bytes({0x14, 0x01, 0x99}))}},
      {"Command2", "150", {Cmd(Bytes({0x14, 0x01, 0xE2}))}},
      {"Command2", "179", {Cmd(Bytes({0x14, 0x01, 0xFF}))}},
      {"Command2", "12.5", {Cmd(Bytes({0x14, 0x01, 0x12}))}},
      {"Command2", "42", {Cmd(Bytes({0x14, 0x01, 0x42}))}},
      // Longer than ten characters: nothing is cut.
      {"Command33", "k1abc/portab", {Cmd("\x1A\x05\x15K1ABC/PORTAB"), Cmd("\x1A\x05\x15")}},
      {"Command33", "ab1cd", {Cmd(Bytes({0x1A, 0x05, 0x15}) + "AB1CD     "), Cmd("\x1A\x05\x15")}},
      // The time's ranges are not enforced either; the transceiver refuses 25:75 itself.
      {"Command35", "25:75", {Cmd(Bytes({0x1A, 0x05, 0x16, 0x25, 0x75})), Cmd("\x1A\x05\x16")}},
      {"Command35", "12:5", {Cmd(Bytes({0x1A, 0x05, 0x16, 0x12, 0x05})), Cmd("\x1A\x05\x16")}},
      {"Command35", "07:05", {Cmd(Bytes({0x1A, 0x05, 0x16, 0x07, 0x05})), Cmd("\x1A\x05\x16")}},
      // Up to four hexadecimal bytes; each prompt offers the command accepted before it.
      {"Command42", "1a 05 00 15", {Cmd(Bytes({0x1A, 0x05, 0x00, 0x15}))}},
      {"Command42", "07  d0", {Cmd(Bytes({0x07, 0xD0}))}},
      {"Command42", "1A 05 00 15 20", {Cmd(Bytes({0x1A, 0x05, 0x00, 0x15}))}},
      {"Command42", "3", {Cmd(Bytes({0x03}))}},
  };
  // Title, prompt and default of each question.
  const std::map<std::string, std::string> prompts = {
      {"Command2", "Set Audio Level|Enter  'AUDIO LEVEL'  (0-99)|25"},
      {"Command33", "New Call Sign|Enter  'CALLSIGN'  (1-10 Chars)|K1ABC"},
      {"Command35", "New Time of Day|Enter  'TIME'  (HH:MM)...where hh=00-23, mm=00-59|"},
      {"Command42", "Manual Command Mode|Enter Command String  (1 to 4 cmds, sep w/spaces )|"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control + " " + c.answer);
    Reset();
    const std::string lastManual = State().LastManualCommand;
    Answer(c.control, c.answer);
    EXPECT_EQ(Sent(), c.frames);
    EXPECT_TRUE(desktop.MessageBoxes().empty());
    EXPECT_TRUE(Radio().LastRefusal.empty());
    const auto boxes = desktop.InputBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title + "|" + boxes[0].text + "|" + boxes[0].defaultAnswer,
              prompts.at(c.control) + (c.control == "Command42" ? lastManual : ""));
    EXPECT_EQ(State().LastManualCommand, c.control == "Command42" ? c.answer : lastManual);
    Advance(60);
  }
  EXPECT_EQ(rig.Volume(), 42);
  EXPECT_EQ(rig.CallSign(), "AB1CD     ");
  EXPECT_EQ(State().CallSign, "K1ABC");  // the configured call sign is not changed
  EXPECT_EQ(State().TimeField, Bytes({0x07, 0x05}));
  EXPECT_EQ(rig.ClockHours(), 7);
  EXPECT_EQ(rig.ClockMinutes(), 5);
}

TEST_F(PromptedCommands, UnusableOrRefusedAnswersSendNothingAndTheProgramGoesOn) {
  struct Case {
    std::string control;
    std::vector<std::string> answers;
    bool cleared;                    // the status line, else left as it was
    const char* box = nullptr;       // title of the critical refusal box, if one
    const char* accepted = nullptr;  // named in it
    bool offeredAgain = false;       // as the next manual command, so that a typo can be mended
  };
  const std::vector<Case> cases = {
      // "Set Vol" takes 0 as a level: only an empty answer or a leading blank is ignored.
      {"Command2", {"", " 5"}, false},
      {"Command33", {"", "0", " k1abc"}, true},
      {"Command35", {"", "0", " 07:05"}, true},
      {"Command42", {"", "0", " 03"}, true},
      // Values with no byte form, and answers that are no number at all (which would mute the
      // audio or set the clock to 00:00): a box names them and what is accepted.
      {"Command2",
       {"200", "180", "-5", "abc", "12abc", "1e999", "174", "177", "178"},
       true,
       "Set Audio Level",
       "Accepted: a number from 0 to 179"},
      {"Command35",
       {"0705", "7:30", "12:", "12:-5", "ab:cd", "12:30:45"},
       true,
       "New Time of Day",
       "Accepted: HH:MM, hh and mm each a number from 0 to 99"},
      // A character that is not hexadecimal refuses the whole command; the box names it.
      {"Command42", {"03 zz"}, true, "Manual Command Mode", "holds zz, which", true},
      {"Command42", {"g", "1a 05 0o 15"}, true, "Manual Command Mode", "hexadecimal", true},
  };
  Answer("Command42", "3");
  const std::string time = State().TimeField;
  for (const auto& c : cases) {
    for (const auto& answer : c.answers) {
      SCOPED_TRACE(c.control + " \"" + answer + '"');
      Reset();
      Answer(c.control, answer);
      EXPECT_TRUE(Sent().empty());
      EXPECT_TRUE(c.cleared ? StatusCleared() : StatusKept());
      EXPECT_FALSE(Radio().LastRefusal.empty());
      EXPECT_EQ(State().LastManualCommand, c.offeredAgain ? answer : "3");
      EXPECT_EQ(State().TimeField, time);
      const auto boxes = desktop.MessageBoxes();
      if (c.box == nullptr) {
        EXPECT_TRUE(boxes.empty());
        continue;
      }
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].title, c.box);
      EXPECT_EQ(boxes[0].icon, BoxIcon::Critical);
      EXPECT_EQ(boxes[0].buttons, BoxButtons::Ok);
      EXPECT_NE(boxes[0].text.find(answer + " ..."), std::string::npos) << boxes[0].text;
      EXPECT_NE(boxes[0].text.find(c.accepted), std::string::npos) << boxes[0].text;
    }
  }
  EXPECT_FALSE(desktop.ended);
  EXPECT_FALSE(State().Ended);
}

// What the transceiver answers is decoded into the radio window.
TEST_F(PromptedCommands, ReadBacksAreDecoded) {
  Answer("Command35", "09:41");
  Advance(60);
  EXPECT_EQ(Radio().Text6, "TIME = 09:41");

  Answer("Command33", "ab1cd");
  Advance(60);
  EXPECT_EQ(Radio().Text6, "CALL = AB1CD     ");

  rig.SetVfo(7'050'000, 0x00, 2);
  Answer("Command42", "03");
  Advance(60);
  EXPECT_EQ(Radio().Text1, "07.050.0");
}

}  // namespace
}  // namespace tavrin::testing
