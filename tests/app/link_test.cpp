// The send operation and the reply tick as the started program uses them: a frame goes out
// only while the port is open, the answer is collected 50 ms later and shown on the status
// line of both main windows, and a vanished device leaves the program running.
#include <gtest/gtest.h>

#include <string>

#include "support/program_fixture.h"

namespace tavrin {
namespace {

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

constexpr const char* kFrequencyExchange =
    "STATUS =  254 254 100 224 3 253 254 254 224 100 3 0 80 25 20 0 253";

TEST_F(LinkTest, AnswerIsShownFiftyMillisecondsAfterTheSend) {
  ControlProgram& p = Started();
  p.link.SendCivCommand("\x03");
  EXPECT_EQ(Sent(), (std::vector<std::string>{Frame({0x03})}));
  EXPECT_TRUE(p.link.ReplyTimerArmed());
  Advance(49);
  EXPECT_TRUE(p.link.ReplyTimerArmed());
  EXPECT_NE(p.radio.Text7, kFrequencyExchange);
  Advance(1);
  EXPECT_FALSE(p.link.ReplyTimerArmed());
  EXPECT_EQ(p.radio.Text7, kFrequencyExchange);
  EXPECT_EQ(p.memory.Text9, kFrequencyExchange);
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

TEST_F(LinkTest, VanishedDeviceShowsRadioNotReadyAndTheProgramRuns) {
  ControlProgram& p = Started();
  p.link.SendCivCommand("\x03");
  serial.Vanish();  // the cable is pulled while the answer is awaited
  Advance(50);
  EXPECT_EQ(p.radio.Text7, "STATUS = RADIO NOT READY");
  EXPECT_EQ(p.memory.Text9, "STATUS = RADIO NOT READY");
  for (int i = 0; i < 3; ++i) {
    p.link.SendCivCommand("\x03");
    Advance(60);
    EXPECT_EQ(p.radio.Text7, "STATUS = RADIO NOT READY");
  }
  EXPECT_FALSE(desktop.ended);
  EXPECT_FALSE(p.station.Ended);
  EXPECT_FALSE(p.link.ReplyTimerArmed());
}

TEST_F(LinkTest, NothingIsSentUnlessPortOpenedIsOne) {
  for (const int opened : {0, 2, -1}) {
    SCOPED_TRACE(opened);
    program.reset();
    ClearSent();
    ControlProgram& p = Program();
    p.InitFrameStrings();
    serial.Close();
    serial.SetCommPort(1);
    serial.SetSettings("19200,N,8,1");
    ASSERT_FALSE(serial.Open().Failed());
    p.station.PortOpened = opened;
    p.link.SendCivCommand("\x03");
    EXPECT_FALSE(p.link.ReplyTimerArmed());
    Advance(100);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(p.radio.Text7, "");
  }
}

}  // namespace
}  // namespace tavrin
