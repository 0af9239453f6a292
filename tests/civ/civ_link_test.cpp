// The link on the simulated bus: sending, the reply timer's status line and decoding, and the
// transceive handling of what the transceiver sends on its own (front-panel broadcasts).
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

std::string Status(const std::string& hex) { return "STATUS = " + ToDecimalList(FromHex(hex)); }
std::string Auto(const std::string& hex) { return "AUTO = " + ToDecimalList(FromHex(hex)); }

class CivLinkTest : public ProgramFixture {
 protected:
  ControlProgram& Started() {
    WriteConfig();
    ControlProgram& p = Start(Build::Tavrin, 500);
    ClearSent();
    return p;
  }
};

TEST_F(CivLinkTest, ReplyIsShownOnBothStatusLinesThenDecoded) {
  ControlProgram& p = Started();
  p.radio.ClickOption(31);  // "OpFq"
  EXPECT_TRUE(p.link.ReplyTimerArmed());
  Advance(49);
  EXPECT_NE(p.radio.Text7, Status("FE FE 64 E0 03 FD FE FE E0 64 03 00 50 19 14 00 FD"));
  Advance(2);
  EXPECT_FALSE(p.link.ReplyTimerArmed());
  EXPECT_EQ(p.radio.Text7, Status("FE FE 64 E0 03 FD FE FE E0 64 03 00 50 19 14 00 FD"));
  EXPECT_EQ(p.memory.Text9, p.radio.Text7);
  EXPECT_EQ(p.radio.Text1, "14.195.0");
  EXPECT_EQ(p.radio.Text2, " ");
  EXPECT_EQ(p.radio.Text3, " ");
}

TEST_F(CivLinkTest, NoAnswerShowsRadioNotReadyAndDecodesNothing) {
  ControlProgram& p = Started();
  rig.SetSilent(true);
  serial.Vanish();  // not even the echo comes back
  p.radio.Text1 = "old";
  p.radio.ClickOption(31);
  Advance(60);
  EXPECT_EQ(p.radio.Text7, "STATUS = RADIO NOT READY");
  EXPECT_EQ(p.memory.Text9, "STATUS = RADIO NOT READY");
  EXPECT_EQ(p.radio.Text1, "old");
  EXPECT_FALSE(desktop.ended);
}

TEST_F(CivLinkTest, NothingIsSentWhileThePortIsNotOpened) {
  ControlProgram& p = Program();
  p.InitFrameStrings();
  for (int opened : {0, 2}) {
    p.station.PortOpened = opened;
    p.link.SendCivCommand(std::string(1, '\x03'));
    EXPECT_FALSE(p.link.ReplyTimerArmed());
  }
  EXPECT_TRUE(Sent().empty());
}

TEST_F(CivLinkTest, TwoFramesBackToBackAreAnsweredInOneReply) {
  ControlProgram& p = Started();
  p.link.SendCivCommand(FromHex("1A 05 16 07 05"));
  p.link.SendCivCommand(FromHex("1A 05 16"));
  Advance(60);
  EXPECT_EQ(Sent(), (std::vector<std::string>{Frame({0x1A, 0x05, 0x16, 0x07, 0x05}),
                                              Frame({0x1A, 0x05, 0x16})}));
  EXPECT_EQ(p.radio.Text6, "TIME = 07:05");
}

TEST_F(CivLinkTest, ReplyCutShortAtLowSpeedKeepsTheProgramRunning) {
  // At 4800 baud 50 ms carry about 24 bytes: the memory read's answer does not fit.
  WriteConfig("KESTRA.TXT", "K1ABC", "COM1", "4800,N,8,1");
  rig.FillDemoChannels();
  ControlProgram& p = Start(Build::Tavrin, 800);
  ASSERT_FALSE(desktop.ended);
  p.radio.Text6 = "old";
  p.station.MemChannelText = "1";
  p.station.MemorySequenceBusy = true;
  p.radio.Mrd();
  Advance(55);
  EXPECT_EQ(p.radio.Text7.rfind("STATUS = ", 0), 0u);
  EXPECT_EQ(p.radio.Text6, "old");
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(desktop.ended);
  // The rest arrives after the window and is shown as unsolicited data, not decoded.
  Advance(100);
  EXPECT_EQ(p.radio.Text7.rfind("AUTO = ", 0), 0u);
  EXPECT_EQ(p.radio.Text6, "old");
}

TEST_F(CivLinkTest, DialBroadcastIsShownAndDecoded) {
  ControlProgram& p = Started();
  rig.TurnDial(1000);
  Advance(20);
  EXPECT_EQ(p.radio.Text7, Auto("FE FE 00 64 00 00 60 19 14 00 FD"));
  EXPECT_EQ(p.memory.Text9, p.radio.Text7);
  EXPECT_EQ(p.radio.Text1, "14.196.0");
  EXPECT_EQ(p.radio.Text2, "");
  EXPECT_EQ(p.radio.Text3, "");
  EXPECT_EQ(p.radio.Text6, "");
  EXPECT_TRUE(Sent().empty());
}

TEST_F(CivLinkTest, BroadcastBurstIsOneAutoLineAndTwoFrames) {
  ControlProgram& p = Started();
  rig.ChangeMode(sim::kModeCw, 1);
  rig.TurnDial(-5000);
  Advance(20);
  EXPECT_EQ(p.radio.Text7, Auto("FE FE 00 64 01 03 01 FD FE FE 00 64 00 00 00 19 14 00 FD"));
  EXPECT_EQ(p.radio.Text1, "14.190.0");
  EXPECT_EQ(p.radio.Text4, "CW");
  EXPECT_EQ(p.radio.Text5, "Fil 1");
  // The matching options are marked as program code marks them, which sends their frames.
  EXPECT_TRUE(p.radio.OptionMarked[7]);
  EXPECT_TRUE(p.radio.OptionMarked[34]);
  EXPECT_FALSE(p.radio.OptionMarked[5]);
  EXPECT_FALSE(p.radio.OptionMarked[35]);
  EXPECT_EQ(Sent(), (std::vector<std::string>{Frame({0x06, 0x03}), Frame({0x06, 0x03, 0x01})}));
}

TEST_F(CivLinkTest, ModeBroadcastOfTheMarkedModeSendsNothing) {
  ControlProgram& p = Started();
  ASSERT_TRUE(p.radio.OptionMarked[5]);   // "Usb" after the synchronisation
  ASSERT_TRUE(p.radio.OptionMarked[35]);  // "F2"
  rig.ChangeMode(sim::kModeUsb, 2);
  Advance(20);
  EXPECT_EQ(p.radio.Text4, "USB");
  EXPECT_TRUE(Sent().empty());
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
  p.radio.ClickOption(31);
  rig.TurnDial(1000);
  Advance(100);
  EXPECT_EQ(p.radio.Text7.rfind("STATUS = ", 0), 0u);
  EXPECT_NE(p.radio.Text7.find(ToDecimalList(FromHex("FE FE 00 64 00"))), std::string::npos);
  EXPECT_EQ(serial.Waiting(), 0u);
}

TEST_F(CivLinkTest, IdleProgramHasNoTimerRunning) {
  ControlProgram& p = Started();
  EXPECT_FALSE(p.link.Timer1.Enabled());
  EXPECT_FALSE(p.link.Timer2.Enabled());
  const std::string status = p.radio.Text7;
  Advance(2000);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(p.radio.Text7, status);
}

TEST_F(CivLinkTest, QuietTimeFollowsTheLineSpeed) {
  ControlProgram& p = Program();
  const struct {
    const char* settings;
    int ms;
  } cases[] = {{"19200,N,8,1", 2}, {"9600,N,8,1", 4}, {"4800,N,8,1", 7},
               {"1200,N,8,1", 25}, {"", 100},         {"fast", 100}};
  for (const auto& c : cases) {
    p.station.CommBaud = c.settings;
    EXPECT_EQ(p.link.QuietMs(), c.ms) << c.settings;
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
      {"too short to tell", "FE FE", "old", "old", "old"},
      {"lone end byte", "FD", "old", "old", "old"},
  };
  ControlProgram& p = Program();
  p.InitFrameStrings();
  for (const auto& c : cases) {
    p.radio.Text1 = p.radio.Text2 = p.radio.Text3 = p.radio.Text4 = p.radio.Text6 = "old";
    p.link.HandleUnsolicited(FromHex(c.data));
    EXPECT_EQ(p.radio.Text7, Auto(c.data)) << c.name;
    EXPECT_EQ(p.radio.Text1, c.text1) << c.name;
    EXPECT_EQ(p.radio.Text4, c.text4) << c.name;
    EXPECT_EQ(p.radio.Text2, c.text2) << c.name;
    EXPECT_EQ(p.radio.Text3, c.text2) << c.name;
    EXPECT_EQ(p.radio.Text6, c.text2) << c.name;
  }
}

}  // namespace
}  // namespace tavrin
