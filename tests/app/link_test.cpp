// SPDX-License-Identifier: GPL-3.0-or-later
// The send operation and the reply tick as the started program uses them: a frame goes out
// only while the port is open, the answer is collected 50 ms later, shown on the status line
// of both main windows and decoded, and a vanished device leaves the program running.
#include <gtest/gtest.h>

#include <string>

#include "sim/hex.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using sim::FromHex;
using testing::Frame;
using testing::ProgramFixture;

class LinkTest : public ProgramFixture {
 protected:
  ControlProgram& Started() {
    WriteConfig();
    rig.SetVfo(14'195'000, 0x01, 2);
    ControlProgram& p = Start();
    ClearSent();
    return p;
  }
};

TEST_F(LinkTest, AnswerIsShownAndDecodedFiftyMillisecondsAfterTheSend) {
  const std::string exchange = "STATUS =  254 254 100 224 3 253 254 254 224 100 3 0 80 25 20 0 253";
  ControlProgram& p = Started();
  p.link.SendCivCommand("\x03");
  EXPECT_EQ(Sent(), (std::vector<std::string>{Frame({0x03})}));
  Advance(49);
  EXPECT_TRUE(p.link.ReplyTimerArmed());
  EXPECT_NE(p.radio.Text7, exchange);
  Advance(1);
  EXPECT_FALSE(p.link.ReplyTimerArmed());
  EXPECT_EQ(p.radio.Text7, exchange);
  EXPECT_EQ(p.memory.Text9, exchange);
  EXPECT_EQ(p.radio.Text1, "14.195.0");
  EXPECT_EQ(p.radio.Text2, " ");
  EXPECT_EQ(p.radio.Text3, " ");
}

TEST_F(LinkTest, FramesSentBackToBackAreAnsweredInOneTick) {
  ControlProgram& p = Started();
  p.link.SendCivCommand("\x04");
  p.link.SendCivCommand("\x03");
  Advance(50);
  EXPECT_FALSE(p.link.ReplyTimerArmed());
  EXPECT_EQ(Sent(), (std::vector<std::string>{Frame({0x04}), Frame({0x03})}));
  // Both echoes first, then the answer to the last frame.
  EXPECT_EQ(p.radio.Text7,
            "STATUS =  254 254 100 224 4 253 254 254 100 224 3 253 254 254 224 100 3 0 80 25 20 "
            "0 253");
  // Set time then read time: the decoder finds the time behind both echoes.
  ClearSent();
  p.link.SendCivCommand(FromHex("1A 05 16 07 05"));
  p.link.SendCivCommand(FromHex("1A 05 16"));
  Advance(60);
  EXPECT_EQ(Sent(), (std::vector<std::string>{Frame({0x1A, 0x05, 0x16, 0x07, 0x05}),
                                              Frame({0x1A, 0x05, 0x16})}));
  EXPECT_EQ(p.radio.Text6, "TIME = 07:05");
}

TEST_F(LinkTest, ReplyTimerRunsFromTheFirstOfSeveralSends) {
  ControlProgram& p = Started();
  p.link.SendCivCommand("\x04");
  Advance(20);
  p.link.SendCivCommand("\x03");
  Advance(29);
  EXPECT_TRUE(p.link.ReplyTimerArmed());
  Advance(1);
  EXPECT_FALSE(p.link.ReplyTimerArmed());
  EXPECT_EQ(p.radio.Text7.rfind("STATUS =  254 254 100 224 4 253", 0), 0u) << p.radio.Text7;
}

TEST_F(LinkTest, NoAnswerShowsRadioNotReadyDecodesNothingAndTheProgramRuns) {
  ControlProgram& p = Started();
  p.radio.Text1 = "old";
  for (int i = 0; i < 3; ++i) {
    p.link.SendCivCommand("\x03");
    if (i == 0) serial.Vanish();  // the cable is pulled while the answer is awaited
    Advance(60);
    EXPECT_EQ(p.radio.Text7.rfind("STATUS = RADIO NOT READY", 0), 0u) << p.radio.Text7;
    EXPECT_EQ(p.memory.Text9, p.radio.Text7);
  }
  EXPECT_EQ(p.radio.Text1, "old");
  EXPECT_FALSE(p.link.ReplyTimerArmed());
  EXPECT_FALSE(desktop.ended);
  EXPECT_FALSE(p.station.Ended);
}

// Frames are dropped unless PortOpened is 1 and the port is open: also after a re-open that
// failed, which leaves PortOpened at 1.
TEST_F(LinkTest, NothingIsSentUnlessThePortIsOpened) {
  for (const int opened : {0, 2, -1, 1}) {
    SCOPED_TRACE(opened);
    program.reset();
    ControlProgram& p = Program();
    p.InitFrameStrings();
    serial.Close();
    serial.SetHeldElsewhere(false);
    p.station.CommPort = "COM1";
    p.station.CommBaud = "19200,N,8,1";
    p.OpenCommPort();
    ASSERT_TRUE(serial.PortOpen());
    p.station.PortOpened = opened;
    if (opened == 1) {
      // Another program takes the port while it is re-opened.
      serial.SetHeldElsewhere(true);
      p.OpenCommPort();
      ASSERT_EQ(p.station.PortOpened, 1);
      ASSERT_FALSE(serial.PortOpen());
    }
    ClearSent();
    p.link.SendCivCommand("\x03");
    EXPECT_FALSE(p.link.ReplyTimerArmed());
    Advance(100);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(p.radio.Text7, "");
    EXPECT_FALSE(desktop.ended);
  }
}

// A broadcast that is still arriving when a command goes out: what had come is taken as
// unsolicited data first, what follows in front of the echo too, and both the broadcast and
// the answer are decoded. Before, every send within a broadcast's bytes lost its answer.
TEST_F(LinkTest, CommandSentWhileABroadcastArrivesKeepsBothTheBroadcastAndItsAnswer) {
  // At 4800 baud the reply timer waits 200 ms: the rest of a broadcast that has only begun,
  // the echo and the answer fit in it whenever the send comes.
  struct Case {
    const char* settings;
    int firstMs, lastMs;  // sends from firstMs to lastMs after the dial turn
  };
  for (const Case c : {Case{"19200,N,8,1", 0, 8}, Case{"4800,N,8,1", 0, 30}}) {
    for (int delay = c.firstMs; delay <= c.lastMs; ++delay) {
      SCOPED_TRACE(std::string(c.settings) + ", " + std::to_string(delay) + " ms");
      program.reset();
      serial.Close();
      WriteConfig("KESTRA.TXT", "K1ABC", "COM1", c.settings);
      rig.SetVfo(14'195'000, 0x01, 2);
      ControlProgram& p = Start(Build::Tavrin, 1500);
      rig.SetVfo(14'195'000, 0x00, 2);  // LSB now, without a broadcast
      rig.TurnDial(1'000);              // broadcasts 14.196.0
      Advance(delay);
      p.radio.OpMd();
      Advance(200);
      EXPECT_EQ(p.radio.Text1, "14.196.0") << "the broadcast";
      EXPECT_EQ(p.radio.Text4, "LSB") << "the answer";
    }
  }
}

// A fast turn of the dial is a steady stream of broadcasts; the reads forced in the middle of
// it keep the head of the frame they cut and decode it with its rest, so the panel ends on the
// transceiver's frequency.
TEST_F(LinkTest, SteadyStreamOfBroadcastsEndsOnTheTransceiversFrequency) {
  ControlProgram& p = Started();
  for (int step = 0; step < 160; ++step) {
    rig.TurnDial(100);
    Advance(1);
  }
  Advance(1500);  // the line carries a broadcast in about 6 ms, so they queue up
  EXPECT_EQ(rig.FrequencyHz(), 14'211'000);
  EXPECT_EQ(p.radio.Text1, "14.211.0");
}

}  // namespace
}  // namespace tavrin
