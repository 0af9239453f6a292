// SPDX-License-Identifier: GPL-3.0-or-later
// The link heals by itself: a pulled cable is seen at once, the port is opened again when the
// device is back and the panel synchronised; a transceiver that was off at start-up is
// synchronised when it answers; and a start-up asks each question once.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::BoxTexts;
using testing::Frame;
using testing::PortState;
using testing::ProgramFixture;

const std::vector<std::string> kSynchronisation = {Frame({0x03}), Frame({0x04}), Frame({0x12}),
                                                   Frame({0x1C, 0x00}), Frame({0x19, 0x00})};
const std::string kRadioNotReadyBox =
    "Unexpected Radio Condition: RADIO NOT READY or COM PORT ERROR! ... Check RADIO or run SETUP "
    "(menu) or Edit KESTRA.INI! ... The program keeps asking the transceiver and synchronises by "
    "itself as soon as it answers.";
const std::string kGone = "STATUS = RADIO NOT READY ... COM1 is gone ... looking for it";

// What each build sends to learn the transceiver's state when the line is back.
std::vector<std::string> StateQueries(Build build) {
  return build == Build::Belmarq ? std::vector<std::string>{Frame({0x19, 0x00})} : kSynchronisation;
}

class LinkRecoveryTest : public ProgramFixture {
 protected:
  ControlProgram& Started(Build build = Build::Tavrin) {
    WriteConfig();
    rig.SetVfo(14'195'000, 0x01, 2);
    ControlProgram& p = Start(build);
    ClearSent();
    desktop.boxes.clear();
    return p;
  }
  // The status line of the build's main window.
  [[nodiscard]] std::string StatusLine(const ControlProgram& p) const {
    return p.build == Build::Belmarq ? p.memory.Text9 : p.radio.Text7;
  }
  // The first frames sent since the last ClearSent: a first synchronisation goes on to set the
  // transceiver to the panel's marks, which is not what these tests look at.
  [[nodiscard]] std::vector<std::string> FirstSent(std::size_t count) const {
    std::vector<std::string> sent = Sent();
    if (sent.size() > count) sent.resize(count);
    return sent;
  }
};

TEST_F(LinkRecoveryTest, PulledCableIsShownAtOnceAndThePortComesBackWithTheSynchronisation) {
  for (const Build build : {Build::Tavrin, Build::Korvid, Build::Belmarq}) {
    SCOPED_TRACE(static_cast<int>(build));
    program.reset();
    serial.PlugBackIn();
    serial.Close();
    ControlProgram& p = Started(build);
    ASSERT_EQ(PortState(serial), "COM1 19200,N,8,1");

    serial.PullCableAt(clock.NowMicros() + 10'000);
    Advance(100);
    EXPECT_EQ(StatusLine(p), kGone) << "within 100 ms of the pull";
    EXPECT_TRUE(p.station.PortGone);

    // While it is gone nothing goes out, whatever the operator does, and nothing asks.
    p.radio.OpFq();
    p.radio.RigId();
    Advance(5000);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(StatusLine(p), kGone);

    serial.PlugBackIn();
    Advance(2000);
    EXPECT_EQ(PortState(serial), "COM1 19200,N,8,1") << "re-opened within 2 s";
    EXPECT_FALSE(p.station.PortGone);
    EXPECT_EQ(Sent(), StateQueries(build));
    if (build == Build::Tavrin) {
      EXPECT_EQ(p.radio.Text1, "14.195.0");
    }
    EXPECT_EQ(BoxTexts(desktop), std::vector<std::string>{}) << "a cable coming back asks nothing";
    EXPECT_FALSE(desktop.ended);
  }
}

TEST_F(LinkRecoveryTest, CablePulledInTheMiddleOfTheSynchronisationStartsItAgainWhenBack) {
  WriteConfig();
  Program().Begin();
  program->splash.Continue();
  serial.PullCableAfterFrames(2);  // OpFq and OpMd get out
  Advance(400);
  EXPECT_EQ(program->radio.Text7, kGone);
  EXPECT_TRUE(desktop.boxes.empty()) << "no RADIO NOT READY box for a pulled cable";
  ClearSent();
  serial.PlugBackIn();
  Advance(1500);
  EXPECT_EQ(FirstSent(kSynchronisation.size()), kSynchronisation);
  EXPECT_FALSE(desktop.ended);
}

TEST_F(LinkRecoveryTest, SilentTransceiverAtStartUpIsReportedOnceThenSynchronisedWhenItAnswers) {
  for (const Build build : {Build::Tavrin, Build::Korvid, Build::Belmarq}) {
    SCOPED_TRACE(static_cast<int>(build));
    program.reset();
    desktop.boxes.clear();
    serial.Close();
    rig.SetSilent(true);
    WriteConfig();
    ControlProgram& p = Start(build, 600);
    EXPECT_EQ(BoxTexts(desktop), std::vector<std::string>{kRadioNotReadyBox});
    EXPECT_FALSE(desktop.ended) << "the program runs on, Setup within reach";
    EXPECT_EQ(StatusLine(p), "STATUS = RADIO NOT READY");
    // It keeps asking the identity, about once a second, and says nothing more.
    ClearSent();
    Advance(3000);
    const std::vector<std::string> asked = Sent();
    EXPECT_GE(asked.size(), 2u);
    EXPECT_LE(asked.size(), 4u);
    for (const std::string& frame : asked) EXPECT_EQ(frame, Frame({0x19, 0x00}));
    EXPECT_EQ(StatusLine(p), "STATUS = RADIO NOT READY");
    EXPECT_EQ(desktop.boxes.size(), 1u);

    rig.SetSilent(false);
    ClearSent();
    Advance(1500);
    std::vector<std::string> expected = {Frame({0x19, 0x00})};
    if (build != Build::Belmarq) {
      expected.insert(expected.end(), kSynchronisation.begin(), kSynchronisation.end());
    }
    EXPECT_EQ(FirstSent(expected.size()), expected);
    EXPECT_FALSE(p.station.AwaitingRadio);
    ClearSent();
    Advance(3000);
    EXPECT_TRUE(Sent().empty()) << "once answered, it stops asking";
    EXPECT_EQ(desktop.boxes.size(), 1u);
  }
}

TEST_F(LinkRecoveryTest, CableBackOnASilentTransceiverFailsQuietlyAndWaitsForIt) {
  ControlProgram& p = Started();
  serial.Vanish();
  rig.SetSilent(true);
  serial.PlugBackIn();
  Advance(2000);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_TRUE(p.station.AwaitingRadio);
  rig.SetSilent(false);
  ClearSent();
  Advance(1500);
  EXPECT_EQ(Sent().size(), 1 + kSynchronisation.size());
  EXPECT_TRUE(desktop.boxes.empty());
}

// No device behind COM1 at start-up: the operator is asked, the start-up ends (belmarq's identity
// check too, with its RADIO NOT READY box), and the port opens by itself when the device appears.
TEST_F(LinkRecoveryTest, PortMissingAtStartUpOpensWhenItsDeviceTurnsUp) {
  for (const Build build : {Build::Tavrin, Build::Korvid, Build::Belmarq}) {
    SCOPED_TRACE(static_cast<int>(build));
    program.reset();
    desktop = FakeDesktop();
    serial.Close();
    serial.SetPortExists(1, false);
    WriteConfig();
    for (int i = 0; i < 4; ++i) desktop.Type("COM1");
    ControlProgram& p = Start(build, 600);
    ASSERT_EQ(PortState(serial), "closed");
    EXPECT_FALSE(desktop.ended);
    if (build == Build::Belmarq) {
      EXPECT_EQ(BoxTexts(desktop).back(), kRadioNotReadyBox) << "the identity check ends";
    }
    const std::size_t boxes = desktop.boxes.size();
    serial.SetPortExists(1, true);
    ClearSent();
    Advance(1500);
    EXPECT_EQ(PortState(serial), "COM1 19200,N,8,1");
    EXPECT_EQ(FirstSent(StateQueries(build).size()), StateQueries(build));
    EXPECT_EQ(desktop.boxes.size(), boxes);
    EXPECT_EQ(p.station.PortOpened, 1);
  }
}

// The device is there but this user may not open it: one box naming the device, its group and
// the cure; then the port is looked for once a second, and when the permission is given while the
// program runs, it opens and the panel synchronises within two seconds, without a restart.
TEST_F(LinkRecoveryTest, DeviceThisUserMayNotOpenIsExplainedOnceAndOpensWhenAllowed) {
  const std::string advice =
      "/dev/ttyUSB0 belongs to the group dialout. Add yourself with: sudo adduser alice dialout, "
      "then log out and in again.";
  for (const Build build : {Build::Tavrin, Build::Korvid, Build::Belmarq}) {
    SCOPED_TRACE(static_cast<int>(build));
    program.reset();
    desktop = FakeDesktop();
    serial.Close();
    ClearSent();
    serial.FailOpensWith(PortError{kErrorPermissionDenied, "Permission denied", advice});
    WriteConfig();
    ControlProgram& p = Start(build, 600);
    EXPECT_EQ(BoxTexts(desktop),
              std::vector<std::string>{
                  "Comm Port Error - Permission Denied: Error Code 70 ... Permission denied ... "
                  "COM1 ... 19200,N,8,1 ... " +
                  advice + " ... The program keeps trying and opens the port as soon as it may."});
    ASSERT_FALSE(desktop.boxes.empty());
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(PortState(serial), "closed");
    Advance(5000);
    EXPECT_EQ(desktop.boxes.size(), 1u) << "said once";
    EXPECT_TRUE(Sent().empty());

    serial.FailOpensWith(std::nullopt);
    Advance(2000);
    EXPECT_EQ(PortState(serial), "COM1 19200,N,8,1");
    EXPECT_EQ(FirstSent(StateQueries(build).size()), StateQueries(build));
    EXPECT_EQ(p.station.SyncStep, 0) << "synchronised";
    EXPECT_FALSE(p.station.AwaitingRadio || p.station.PortGone || desktop.ended);
    EXPECT_EQ(desktop.boxes.size(), 1u);
  }
}

}  // namespace
}  // namespace tavrin
