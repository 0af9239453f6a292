// SPDX-License-Identifier: GPL-3.0-or-later
// The link on the simulated bus: replies cut short by the reply window, the line's quiet time,
// and the transceive handling of what the transceiver sends on its own (front-panel
// broadcasts). Sending and the reply tick with its status line are covered with start-up.
#include "civ/civ_link.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "civ/encodings.h"
#include "sim/hex.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using sim::FromHex;
using testing::Frame;
using testing::ProgramFixture;

std::string Auto(const std::string& hex) { return "AUTO = " + ToDecimalList(FromHex(hex)); }

class CivLinkTest : public ProgramFixture {
 protected:
  ControlProgram& Started() {
    program.reset();
    rig.SetVfo(14'195'000, sim::kModeUsb, 2);
    WriteConfig();
    ControlProgram& p = Start(Build::Tavrin, 500);
    ClearSent();
    return p;
  }
};

TEST_F(CivLinkTest, TheReplyWindowGrowsOnASlowLineAndAReplyCutShortKeepsTheProgramRunning) {
  // A memory read with its echo is 45 bytes: 24 ms at 19200 baud, 94 ms at 4800. The window
  // carries the same bytes at every speed; a transceiver that answers later than that has its
  // reply cut short.
  const struct {
    const char* settings;
    int windowMs;
    std::int64_t answerDelayMicros;
    bool decoded;
  } cases[] = {
      {"19200,N,8,1", 50, 0, true},
      {"9600,N,8,1", 100, 0, true},
      {"4800,N,8,1", 200, 0, true},
      {"4800,N,8,1", 200, 150'000, false},
  };
  rig.FillDemoChannels();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.settings) + " " + std::to_string(c.answerDelayMicros));
    program.reset();
    serial.Line().SetAnswerDelay(0);
    WriteConfig("KESTRA.TXT", "K1ABC", "COM1", c.settings);
    ControlProgram& p = Start(Build::Tavrin, 1500);
    ASSERT_FALSE(desktop.ended);
    EXPECT_EQ(p.link.ReplyWindowMs(), c.windowMs);
    serial.Line().SetAnswerDelay(c.answerDelayMicros);
    p.radio.Text6 = "old";
    p.radio.ReadMemoryChannel("1");
    Advance(c.windowMs + 5);
    EXPECT_EQ(p.radio.Text7.rfind("STATUS = ", 0), 0u);
    EXPECT_EQ(p.radio.Text6 != "old", c.decoded);
    EXPECT_TRUE(desktop.boxes.empty());
    if (c.decoded) continue;
    // The rest arrives after the window and is shown as unsolicited data, not decoded.
    Advance(200);
    EXPECT_EQ(p.radio.Text7.rfind("AUTO = ", 0), 0u);
    EXPECT_EQ(p.radio.Text6, "old");
    EXPECT_FALSE(desktop.ended);
  }
}

TEST_F(CivLinkTest, FrontPanelBroadcastsAreShownDecodedAndMarked) {
  struct Case {
    int mode, filter;  // turned to first, -1 for none
    int dialHz;
    const char *autoLine, *text1, *text4, *text5;
    std::vector<int> marks;  // of the options Usb 5, CWr 7, F1 34, F2 35
    std::vector<std::string> sent;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {-1, 0, 1000, "FE FE 00 64 00 00 60 19 14 00 FD", "14.196.0", "USB", "Fil 2", {5, 35}, {}},
      // One "AUTO = " line, two frames; marking the options sends their frames.
      {sim::kModeCw, 1, -5000, "FE FE 00 64 01 03 01 FD FE FE 00 64 00 00 00 19 14 00 FD",
       "14.190.0", "CW", "Fil 1", {7, 34}, {Frame({0x06, 0x03}), Frame({0x06, 0x03, 0x01})}},
      // The marked mode again: nothing to send.
      {sim::kModeUsb, 2, 0, "FE FE 00 64 01 01 02 FD", "14.195.0", "USB", "Fil 2", {5, 35}, {}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.autoLine);
    ControlProgram& p = Started();
    p.radio.Text2 = p.radio.Text3 = p.radio.Text6 = "old";
    if (c.mode >= 0)
      rig.ChangeMode(static_cast<std::uint8_t>(c.mode), static_cast<std::uint8_t>(c.filter));
    if (c.dialHz != 0) rig.TurnDial(c.dialHz);
    Advance(20);
    EXPECT_EQ(p.radio.Text7, Auto(c.autoLine));
    EXPECT_EQ(p.memory.Text9, p.radio.Text7);
    EXPECT_EQ(p.radio.Text1, c.text1);
    EXPECT_EQ(p.radio.Text4, c.text4);
    EXPECT_EQ(p.radio.Text5, c.text5);
    EXPECT_EQ(p.radio.Text2 + p.radio.Text3 + p.radio.Text6, "");
    std::vector<int> marks;
    for (const int option : {5, 7, 34, 35}) {
      if (p.radio.OptionMarked[static_cast<std::size_t>(option)]) marks.push_back(option);
    }
    EXPECT_EQ(marks, c.marks);
    EXPECT_EQ(Sent(), c.sent);
  }
}

TEST_F(CivLinkTest, WithAutoStatusOffBroadcastsAreDiscarded) {
  ControlProgram& p = Started();
  p.radio.ToggleAutoStatus();
  rig.TurnDial(1000);
  Advance(20);
  EXPECT_EQ(p.radio.Text1, " ");
  EXPECT_EQ(p.radio.Text7, " ");
  EXPECT_EQ(serial.Waiting(), 0u);
  // Switching it on again does not bring them back.
  p.radio.ToggleAutoStatus();
  Advance(20);
  EXPECT_EQ(p.radio.Text1, " ");
  EXPECT_EQ(p.radio.Text7, " ");
}

TEST_F(CivLinkTest, BroadcastDuringTheReplyWindowBelongsToTheReply) {
  ControlProgram& p = Started();
  p.radio.ClickOption(31);  // "OpFq"
  rig.TurnDial(1000);
  Advance(100);
  EXPECT_EQ(p.radio.Text7.rfind("STATUS = ", 0), 0u);
  EXPECT_NE(p.radio.Text7.find(ToDecimalList(FromHex("FE FE 00 64 00"))), std::string::npos);
  EXPECT_EQ(serial.Waiting(), 0u);
  // Then the program is idle: no timer runs and nothing is sent.
  EXPECT_FALSE(p.link.Timer1.Enabled() || p.link.Timer2.Enabled());
  const std::string status = p.radio.Text7;
  ClearSent();
  Advance(2000);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(p.radio.Text7, status);
}

// A dial turn whose broadcast is on the line when the reply window closes: the window takes
// its head, the rest comes after. The turn, and the ones after it, still reach the panel.
TEST_F(CivLinkTest, BroadcastCutByTheReplyWindowIsDecodedWhole) {
  for (const int cutAtMs : {45, 47, 49}) {
    SCOPED_TRACE(cutAtMs);
    ControlProgram& p = Started();
    p.radio.ClickOption(31);  // "OpFq"
    Advance(cutAtMs);
    rig.TurnDial(1000);  // 11 bytes, about 5.7 ms at 19200 baud
    Advance(20);
    EXPECT_EQ(p.radio.Text1, "14.196.0");
    rig.TurnDial(1000);
    Advance(20);
    EXPECT_EQ(p.radio.Text1, "14.197.0");
  }
}

TEST_F(CivLinkTest, QuietTimeFollowsTheLineSpeed) {
  ControlProgram& p = Program();
  const std::pair<const char*, int> cases[] = {
      {"19200,N,8,1", 2}, {"9600,N,8,1", 4}, {"4800,N,8,1", 7}, {"1200,N,8,1", 25},
      {"1200,E,8,2", 30}, {"", 100},         {"fast", 100}};
  for (const auto& [settings, ms] : cases) {
    serial.SetSettings(settings);
    EXPECT_EQ(p.link.QuietMs(), ms) << settings;
  }
}

// What the transceive timer does with data it read, fed directly.
TEST_F(CivLinkTest, UnsolicitedDataIsCutIntoFramesOnlyWhenItBeginsAsABroadcast) {
  const struct {
    const char* name;
    const char* data;
    const char* text1;  // "old" when not decoded
    const char* text4;
    const char* text2;  // "" when some frame was handed on
  } cases[] = {
      {"late answer", "FE FE E0 64 03 00 50 19 14 00 FD", "old", "old", "old"},
      {"late answer then broadcast", "FE FE E0 64 FB FD FE FE 00 64 00 00 50 19 14 00 FD", "old",
       "old", "old"},
      {"frequency then mode", "FE FE 00 64 00 00 50 19 14 00 FD FE FE 00 64 01 00 02 FD",
       "14.195.0", "LSB", ""},
      {"broadcast then late answer", "FE FE 00 64 00 00 50 19 14 00 FD FE FE E0 64 FB FD",
       "14.195.0", "old", ""},
      {"no end byte: one frame", "FE FE 00 64 00 01 02", "old", "old", ""},
      {"mode frame with a data byte", "FE FE 00 64 01 03 01 00 FD", "old", "old", ""},
      {"mode frame without its end", "FE FE 00 64 01 03 01 00", "old", "old", "old"},
      {"frequency frame without its end", "FE FE 00 64 00 00 50 19 14 00 00", "old", "old", "old"},
      // An echo of the program's own frame cut into a broadcast (a collision on the bus): the
      // bytes behind the echo have the length and command byte of a mode frame, no header.
      {"broadcast cut by an echo", "FE FE 00 FE FE 64 E0 06 08 FD 64 00 01 04 01 00 00 FD", "old",
       "old", ""},
      {"frequency digit that is no digit", "FE FE 00 64 00 00 5A 19 14 00 FD", "old", "old", ""},
      {"broadcast of another transceiver", "FE FE 00 5C 00 00 50 19 14 00 FD", "old", "old", ""},
      {"too short to tell", "FE FE", "old", "old", "old"},
      {"lone end byte", "FD", "old", "old", "old"},
  };
  ControlProgram& p = Program();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    p.radio.Text1 = p.radio.Text2 = p.radio.Text3 = p.radio.Text4 = p.radio.Text6 = "old";
    p.link.HandleUnsolicited(FromHex(c.data));
    EXPECT_EQ(p.radio.Text7, Auto(c.data));
    EXPECT_EQ(p.radio.Text1, c.text1);
    EXPECT_EQ(p.radio.Text4, c.text4);
    for (const std::string* field : {&p.radio.Text2, &p.radio.Text3, &p.radio.Text6})
      EXPECT_EQ(*field, c.text2);
  }
}

}  // namespace
}  // namespace tavrin
