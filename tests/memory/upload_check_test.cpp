// SPDX-License-Identifier: GPL-3.0-or-later
// "Update Rig" never reports a line it could not send as loaded: each channel's read-back is
// compared with the record sent, and a port that goes away stops the upload with the first
// line not stored.
#include <gtest/gtest.h>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

using sim::AnswerFault;

class UploadCheckTest : public MemoryFixture {
 protected:
  void SetUp() override {
    StartProgram();
    std::string file;
    for (int n = 1; n <= 40; ++n)
      file += Line(std::to_string(n),
                   "14.0" + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".0", "USB",
                   "Fil 2", "", "CH" + std::to_string(n));
    WriteFile("KESTRA.TXT", file + kEndLine);
  }
  void StartUpdateRig() {
    desktop.AnswerYes();
    Memory().Click("Command3");
  }
};

TEST_F(UploadCheckTest, EveryChannelIsReadBackAndCounted) {
  StartUpdateRig();
  AdvanceWhileRunning();
  EXPECT_EQ(Memory().Text7, "END ... 40 channels written and verified");
  EXPECT_EQ(Messages().back(), (std::pair<std::string, std::string>{
                                   "Update Rig", "40 channels written and verified"}));
  EXPECT_EQ(desktop.boxes.back().icon, BoxIcon::Information);
  EXPECT_EQ(Contents(40), (Stored{false, 14'040'000, sim::kModeUsb, 2, false, "CH40      "}));
}

// Noise and broadcasts on the line delay a read-back or put bytes around it: it is found all
// the same, and no channel that was stored is reported as not written.
TEST_F(UploadCheckTest, ANoisyLineOrAFloodOfBroadcastsVerifiesEveryChannel) {
  constexpr std::int64_t kMicros = 60'000'000;
  for (const LineDisturbance& c : kLineDisturbances) {
    SCOPED_TRACE(c.name);
    for (int n = 1; n <= 40; ++n) rig.SetChannel(n, sim::MemoryChannel{});
    desktop.boxes.clear();
    c.start(serial.Line(), clock.NowMicros(), kMicros);
    StartUpdateRig();
    AdvanceWhileRunning();
    EXPECT_EQ(Memory().Text7, "END ... 40 channels written and verified");
    EXPECT_EQ(Contents(40), (Stored{false, 14'040'000, sim::kModeUsb, 2, false, "CH40      "}));
    Advance(static_cast<int>(kMicros / 1000));  // the line is quiet again
  }
}

TEST_F(UploadCheckTest, AReadBackThatDiffersOrDoesNotComeIsNamed) {
  // Channel 7 comes back with another label, channel 9's read-back is garbled on the line.
  serial.Line().AlterMemoryAnswer(7, {AnswerFault::Kind::ChangeByte, 24, 'X'}, 1);
  serial.Line().AlterMemoryAnswer(9, {AnswerFault::Kind::InsertByte, 12, 0x00}, 1);
  StartUpdateRig();
  AdvanceWhileRunning();
  const std::string summary =
      "38 channels written and verified ... 2 channels not as written: channel 7 (read back "
      "differs), channel 9 (no answer)";
  EXPECT_EQ(Memory().Text7, "END ... " + summary);
  EXPECT_EQ(Messages().back(), (std::pair<std::string, std::string>{"Update Rig", summary}));
  EXPECT_EQ(desktop.boxes.back().icon, BoxIcon::Exclamation);
}

TEST_F(UploadCheckTest, APulledCableStopsTheUploadAndNamesTheFirstLineNotStored) {
  StartUpdateRig();
  // Channels 1 to 12 go out and are read back; the cable comes out with channel 13's frames.
  ASSERT_TRUE(AdvanceUntil([this] {
    return SentStartingWith(Bytes({0x08})).size() == 12 && !program->link.ReplyTimerArmed();
  }));
  serial.Vanish();
  Advance(200 * 5);
  EXPECT_FALSE(Runs("Update Rig"));
  EXPECT_FALSE(desktop.ended);
  const std::string what =
      "The transceiver's port went away ... line 13 and the lines after it were not stored ... "
      "12 channels written and verified";
  EXPECT_EQ(Messages().back(), (std::pair<std::string, std::string>{"Update Rig", what}));
  EXPECT_EQ(Memory().Text7, "Update Rig stopped ... " + what);
  EXPECT_EQ(SentStartingWith(Bytes({0x08})).size(), 12u) << "nothing read into a closed port";
  EXPECT_TRUE(rig.Channel(13).blank);
}

}  // namespace
}  // namespace tavrin::testing
