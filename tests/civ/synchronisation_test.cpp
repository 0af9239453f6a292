// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up synchronisation against the simulated transceiver: one query per reply, then the
// radio window's options marked to the transceiver's state (each mark sends its own frame, but
// for the receive/transmit marks, which only show the state), or
// the "RADIO NOT READY" end when the transceiver stays silent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/hex.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using sim::FromHex;
using testing::BoxTexts;
using testing::Frame;
using testing::ProgramFixture;

const std::vector<std::string> kQueries = {Frame({0x03}), Frame({0x04}), Frame({0x12}),
                                           Frame({0x1C, 0x00}), Frame({0x19, 0x00})};

std::vector<int> MarkedOptions(const RadioMain& radio) {
  std::vector<int> marked;
  for (int n = 1; n < static_cast<int>(radio.OptionMarked.size()); ++n) {
    if (radio.OptionMarked[static_cast<std::size_t>(n)]) marked.push_back(n);
  }
  return marked;
}

class SynchronisationTest : public ProgramFixture {};

TEST_F(SynchronisationTest, QueriesOnePerReplyThenMarksTheTransceiversState) {
  struct Case {
    std::vector<std::string> rigSettings;  // frames the transceiver was set with beforehand
    std::int64_t hz;
    std::uint8_t mode, filter;
    const char *frequencyText, *modeText, *filterText;
    std::vector<int> marked;
    std::vector<std::string> markFrames;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {{}, 14'195'000, sim::kModeUsb, 2, "14.195.0", "USB", "Fil 2", {1, 5, 11, 35},
       {Frame({0x12, 0x00}), Frame({0x06, 0x01}),
        Frame({0x06, 0x01, 0x02})}},
      {{}, 145'500'000, sim::kModeFm, 1, "45.500.0", "FM", "Fil 1", {1, 4, 11, 34},
       {Frame({0x12, 0x00}), Frame({0x06, 0x05}),
        Frame({0x06, 0x05, 0x01})}},
      // Transmitting on antenna 2.
      {{"FE FE 64 E0 12 01 FD", "FE FE 64 E0 1C 00 01 FD"}, 7'050'000, sim::kModeCwReverse, 3,
       "07.050.0", "CWr", "Fil 3", {2, 8, 12, 36},
       {Frame({0x12, 0x01}), Frame({0x06, 0x07}),
        Frame({0x06, 0x07, 0x03})}},
  };
  // clang-format on
  WriteConfig();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.modeText);
    program.reset();
    serial.Close();
    ClearSent();
    for (const std::string& frame : c.rigSettings) rig.Handle(FromHex(frame));
    rig.SetVfo(c.hz, c.mode, c.filter);
    ControlProgram& p = Start(Build::Tavrin, 500);
    std::vector<std::string> expected = kQueries;
    expected.insert(expected.end(), c.markFrames.begin(), c.markFrames.end());
    EXPECT_EQ(Sent(), expected);
    // One query per reply: each goes out as the reply timer fires, 50 ms after the one before.
    const auto& frames = serial.SentFrames();
    ASSERT_GE(frames.size(), kQueries.size());
    for (std::size_t i = 1; i < kQueries.size(); ++i) {
      EXPECT_NEAR(frames[i].Ms() - frames[i - 1].Ms(), 50.0, 1.0) << i;
    }
    EXPECT_EQ(p.station.SyncStep, 0);
    EXPECT_EQ(MarkedOptions(p.radio), c.marked);
    EXPECT_EQ(p.radio.Text1, c.frequencyText);
    EXPECT_EQ(p.radio.Text4, c.modeText);
    EXPECT_EQ(p.radio.Text5, c.filterText);
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_FALSE(desktop.ended);
  }
}

// A transceiver that is switched off: the box says so, and the program runs on with its menus
// (Setup among them) and waits for the transceiver to answer.
TEST_F(SynchronisationTest, SilentTransceiverShowsRadioNotReadyAndTheProgramRunsOn) {
  rig.SetSilent(true);
  WriteConfig();
  ControlProgram& p = Start(Build::Tavrin, 500);
  EXPECT_EQ(Sent(), kQueries);
  EXPECT_EQ(BoxTexts(desktop),
            std::vector<std::string>{"Unexpected Radio Condition: RADIO NOT READY or COM PORT "
                                     "ERROR! ... Check RADIO or run SETUP (menu) or Edit "
                                     "KESTRA.INI! ... Restart Program now!"});
  ASSERT_FALSE(desktop.boxes.empty());
  EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
  EXPECT_FALSE(desktop.ended);
  EXPECT_EQ(p.station.SyncStep, 0);
  EXPECT_TRUE(p.station.AwaitingRadio);
  EXPECT_EQ(p.radio.Text7, "STATUS = RADIO NOT READY");
  EXPECT_EQ(MarkedOptions(p.radio), std::vector<int>{});
}

TEST_F(SynchronisationTest, NoSynchronisationWithoutAnOpenPort) {
  // A configuration whose last line is not END leaves the port closed.
  WriteFile("KESTRA.INI", "[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\nEND \r\n");
  ControlProgram& p = Start(Build::Tavrin, 500);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(p.station.SyncStep, 0);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(desktop.ended);
}

// The last step itself, on replies of every length around the 15 bytes of an identity answer.
TEST_F(SynchronisationTest, FinishNeedsFifteenBytes) {
  for (std::size_t length : {0u, 7u, 14u, 15u, 40u}) {
    program.reset();
    desktop = FakeDesktop();
    ControlProgram& p = Program();
    p.InitFrameStrings();
    p.station.SyncStep = 6;
    p.synchronisation.SynchronisationStep(std::string(length, '\x01'));
    EXPECT_EQ(p.station.SyncStep, 0);
    EXPECT_EQ(desktop.boxes.size(), length < 15 ? 1u : 0u) << length;
    EXPECT_EQ(p.station.AwaitingRadio, length < 15) << length;
    EXPECT_FALSE(desktop.ended);
  }
}

}  // namespace
}  // namespace tavrin
