// SPDX-License-Identifier: GPL-3.0-or-later
// The reply decoder, fed straight with reply buffers as the reply timer collects them: the echo
// of what was sent, then the transceiver's answer. Each case lists every field and flag it
// must change; everything else must stay as it was.
#include "civ/reply_decoder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "sim/hex.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using sim::FromHex;
using testing::ProgramFixture;

using Snapshot = std::map<std::string, std::string>;

// Every field and flag the decoder may write, by name.
Snapshot Take(const ControlProgram& p) {
  const RadioMain& r = p.radio;
  const MemoryMain& m = p.memory;
  const Station& s = p.station;
  const auto flag = [](bool on) { return on ? "true" : "false"; };
  // clang-format off
  return {{"radio.Text1", r.Text1}, {"radio.Text2", r.Text2}, {"radio.Text3", r.Text3},
          {"radio.Text4", r.Text4}, {"radio.Text5", r.Text5}, {"radio.Text6", r.Text6},
          {"radio.Text7", r.Text7}, {"memory.Text1", m.Text1}, {"memory.Text2", m.Text2},
          {"memory.Text3", m.Text3}, {"memory.Text4", m.Text4}, {"memory.Text5", m.Text5},
          {"memory.Text6", m.Text6}, {"memory.Text7", m.Text7}, {"LastAntenna", s.LastAntenna},
          {"LastRxTx", s.LastRxTx}, {"SquelchState", std::to_string(s.SquelchState)},
          {"AwaitingSquelch", flag(s.AwaitingSquelch)}, {"EdgeUpper", flag(s.EdgeUpper)},
          {"FrequencyText", s.FrequencyText}, {"MemModeText", s.MemModeText},
          {"MemFilterText", s.MemFilterText}, {"MemSelectedText", s.MemSelectedText},
          {"DecodedLabel", s.DecodedLabel}, {"SyncStep", std::to_string(s.SyncStep)}};
  // clang-format on
}

struct RowCase {
  const char* name;
  std::string reply;
  // The shortest buffer from which the row decodes (the last byte it reads).
  std::size_t needed;
  Snapshot changes;
};

const std::string kName = "DX NET    ";
const std::string kSummary = "5      *      14.950.0      USB      Fil 2      " + kName;

std::vector<RowCase> RowCases() {
  const std::string memoryAnswer = FromHex("FE FE E0 64 1A 00 00 05 01 00 00 95 14 00 01 02") +
                                   FromHex("00 00 08 85 00 08 85") + kName + FromHex("FD");
  // clang-format off
  const Snapshot memoryDisplay = {
      {"radio.Text1", "14.950.0"}, {"radio.Text2", "5"}, {"radio.Text3", "*"},
      {"radio.Text4", "USB"}, {"radio.Text5", "Fil 2"}, {"radio.Text6", kName},
      {"FrequencyText", "14.950.0"}, {"MemModeText", " 1"}, {"MemFilterText", " 2"},
      {"MemSelectedText", " 1"}, {"DecodedLabel", kName}};
  Snapshot memoryCopied = memoryDisplay;
  memoryCopied.insert({{"memory.Text1", "5"}, {"memory.Text2", "*"},
                       {"memory.Text3", "14.950.0"}, {"memory.Text4", "USB"},
                       {"memory.Text5", "Fil 2"}, {"memory.Text6", kName}});
  Snapshot memorySummary = memoryCopied;
  memorySummary["memory.Text7"] = kSummary;
  const Snapshot blankChannel = {
      {"radio.Text1", " "}, {"radio.Text2", " "}, {"radio.Text3", " "}, {"radio.Text4", " "},
      {"radio.Text5", " "}, {"radio.Text6", " "}, {"memory.Text1", "5"}, {"memory.Text2", ""},
      {"memory.Text3", ""}, {"memory.Text4", ""}, {"memory.Text5", ""}, {"memory.Text6", ""},
      {"memory.Text7", "Blank"}};
  const Snapshot nothingToReport = {
      {"radio.Text1", " "}, {"radio.Text2", " "}, {"radio.Text3", " "}, {"radio.Text4", " "},
      {"radio.Text5", " "}, {"radio.Text6", " "}};
  const Snapshot squelchUnknown = {{"SquelchState", "2"}, {"radio.Text6", ""},
      {"memory.Text7", ""}, {"AwaitingSquelch", "false"}};
  const std::string memoryRecord = FromHex("00 05 01 00 00 95 14 00 01 02 00 00 08 85 00 08 85");

  return {
      {"identity", FromHex("FE FE 64 E0 19 00 FD  FE FE E0 64 19 00 64 FD"), 14,
       {{"radio.Text6", "ID = 64"}}},
      {"antenna", FromHex("FE FE 64 E0 12 FD  FE FE E0 64 12 01 FD"), 12,
       {{"LastAntenna", "1"}, {"radio.Text6", "Ant = 1"}}},
      {"receive or transmit", FromHex("FE FE 64 E0 1C 00 FD  FE FE E0 64 1C 00 00 FD"), 14,
       {{"LastRxTx", "0"}, {"radio.Text6", "RxTx = 0"}}},
      {"squelch open", FromHex("FE FE 64 E0 15 01 FD  FE FE E0 64 15 01 01 FD"), 14,
       {{"SquelchState", "1"}, {"radio.Text6", "Squelch is Open"},
        {"memory.Text7", "Squelch is Open"}, {"AwaitingSquelch", "false"}}},
      {"squelch closed", FromHex("FE FE 64 E0 15 01 FD  FE FE E0 64 15 01 00 FD"), 14,
       {{"SquelchState", "0"}, {"radio.Text6", "Squelch is Closed"},
        {"memory.Text7", "Squelch is Closed"}, {"AwaitingSquelch", "false"}}},
      {"squelch unknown", FromHex("FE FE 64 E0 15 01 FD  FE FE E0 64 15 01 02 FD"), 14,
       squelchUnknown},
      {"S-meter", FromHex("FE FE 64 E0 15 02 FD  FE FE E0 64 15 02 01 20 FD"), 15,
       {{"radio.Text6", "S-Meter = S9"}}},
      {"read clock", FromHex("FE FE 64 E0 1A 05 16 FD  FE FE E0 64 1A 05 16 09 05 FD"), 17,
       {{"radio.Text6", "TIME = 09:05"}}},
      {"set clock then read", FromHex("FE FE 64 E0 1A 05 16 07 05 FD  FE FE 64 E0 1A 05 16 FD"
                                      "  FE FE E0 64 1A 05 16 07 05 FD"), 27,
       {{"radio.Text6", "TIME = 07:05"}}},
      {"read call sign",
       FromHex("FE FE 64 E0 1A 05 15 FD  FE FE E0 64 1A 05 15") + "K1ABC     " + FromHex("FD"), 25,
       {{"radio.Text6", "CALL = K1ABC     "}}},
      {"set call sign then read",
       FromHex("FE FE 64 E0 1A 05 15") + "AB1CD     " + FromHex("FD  FE FE 64 E0 1A 05 15 FD"), 17,
       {{"radio.Text6", "CALL = AB1CD     "}}},
      {"operating frequency", FromHex("FE FE 64 E0 03 FD  FE FE E0 64 03 00 50 19 14 00 FD"), 15,
       {{"radio.Text1", "14.195.0"}, {"FrequencyText", "14.195.0"}, {"radio.Text2", " "},
        {"radio.Text3", " "}}},
      {"operating frequency, nothing to report", FromHex("FE FE 64 E0 03 FD  FE FE E0 64 03 FF FD"),
       12, nothingToReport},
      {"operating mode", FromHex("FE FE 64 E0 04 FD  FE FE E0 64 04 07 03 FD"), 13,
       {{"MemModeText", " 7"}, {"radio.Text4", "CWr"}, {"MemFilterText", " 3"},
        {"radio.Text5", "Fil 3"}, {"radio.Text2", " "}, {"radio.Text3", " "}}},
      {"operating mode without text", FromHex("FE FE 64 E0 04 FD  FE FE E0 64 04 06 09 FD"), 13,
       {{"MemModeText", " 6"}, {"MemFilterText", " 9"}, {"radio.Text2", " "},
        {"radio.Text3", " "}}},
      {"operating mode, nothing to report", FromHex("FE FE 64 E0 04 FD  FE FE E0 64 04 FF FD"), 12,
       nothingToReport},
      {"lower band edge",
       FromHex("FE FE 64 E0 02 FD  FE FE E0 64 02 00 00 00 14 00 2D 00 00 35 14 00 FD"), 15,
       {{"radio.Text1", "14.000.0"}, {"FrequencyText", "14.000.0"}, {"radio.Text2", " "},
        {"radio.Text3", " "}, {"radio.Text4", " "}, {"radio.Text5", " "}, {"radio.Text6", " "},
        {"EdgeUpper", "true"}}},
      {"set frequency then read", FromHex("FE FE 64 E0 05 00 50 19 14 00 FD  FE FE 64 E0 03 FD"
                                          "  FE FE E0 64 03 00 50 19 14 00 FD"), 26,
       {{"radio.Text1", "14.195.0"}, {"FrequencyText", "14.195.0"}, {"radio.Text2", " "},
        {"radio.Text3", " "}, {"radio.Text6", " "}}},
      {"set mode", FromHex("FE FE 64 E0 06 07 FD  FE FE E0 64 FB FD"), 11,
       {{"MemModeText", " 7"}, {"radio.Text4", "CWr"}, {"radio.Text2", " "}, {"radio.Text3", " "},
        {"radio.Text6", " "}}},
      {"set mode and filter", FromHex("FE FE 64 E0 06 01 02 FD  FE FE E0 64 FB FD"), 11,
       {{"MemFilterText", " 2"}, {"radio.Text5", "Fil 2"}, {"radio.Text2", " "},
        {"radio.Text3", " "}, {"radio.Text6", " "}}},
      {"write memory", FromHex("FE FE 64 E0 1A 00") + memoryRecord + kName + FromHex("FD"), 33,
       memoryDisplay},
      // The fixture awaits the squelch, as a scan does: the progress line stays.
      {"select then read memory",
       FromHex("FE FE 64 E0 08 00 05 FD  FE FE 64 E0 1A 00 00 05 FD") + memoryAnswer, 50,
       memoryCopied},
      {"select then clear memory",
       FromHex("FE FE 64 E0 08 00 05 FD  FE FE 64 E0 0B FD  FE FE E0 64 FB FD"), 13, {}},
      {"select then read blank memory",
       FromHex("FE FE 64 E0 08 00 05 FD  FE FE 64 E0 1A 00 00 05 FD  FE FE E0 64 1A 00 00 05 FF"
               " FD"),
       26, blankChannel},
      {"read memory", FromHex("FE FE 64 E0 1A 00 00 05 FD") + memoryAnswer, 42, memorySummary},
      {"read blank memory", FromHex("FE FE 64 E0 1A 00 00 05 FD  FE FE E0 64 1A 00 00 05 FF FD"),
       18, blankChannel},
      {"accepted", FromHex("FE FE 64 E0 07 FD  FE FE E0 64 FB FD"), 11, {}},
      {"refused", FromHex("FE FE 64 E0 13 05 FD  FE FE E0 64 FA FD"), 11, {}},
  };
  // clang-format on
}

class ReplyDecoderTest : public ProgramFixture {
 protected:
  void SetUp() override {
    program.reset();
    p = &Program();
    p->InitFrameStrings();
    RadioMain& r = p->radio;
    r.Text1 = r.Text2 = r.Text3 = r.Text4 = r.Text5 = r.Text6 = r.Text7 = "old";
    MemoryMain& m = p->memory;
    m.Text1 = m.Text2 = m.Text3 = m.Text4 = m.Text5 = m.Text6 = m.Text7 = "old";
    Station& s = p->station;
    s.MemChannelText = "5";
    s.AwaitingSquelch = true;
    s.SquelchState = 7;
  }

  // What decoding `reply` changed, compared with before.
  Snapshot Changes(const std::string& reply) {
    const Snapshot before = Take(*p);
    p->decoder.DecodeReply(reply);
    Snapshot changed;
    for (const auto& [name, value] : Take(*p)) {
      if (before.at(name) != value) changed[name] = value;
    }
    return changed;
  }

  // The expected changes less those that leave a field at the value it had.
  Snapshot RealChanges(const Snapshot& expected) const {
    const Snapshot before = Take(*p);
    Snapshot real;
    for (const auto& [name, value] : expected) {
      if (before.at(name) != value) real[name] = value;
    }
    return real;
  }

  ControlProgram* p = nullptr;
};

TEST_F(ReplyDecoderTest, EveryRowChangesExactlyItsFieldsAndNothingWhenCutShort) {
  for (const RowCase& row : RowCases()) {
    SCOPED_TRACE(row.name);
    // From the last byte it reads on, the row decodes as from the whole reply.
    for (const std::size_t length : {row.reply.size(), row.needed}) {
      SetUp();
      const Snapshot expected = RealChanges(row.changes);
      EXPECT_EQ(Changes(row.reply.substr(0, length)), expected) << "at " << length;
    }
    // Any shorter buffer is a missing answer: nothing changes and the program runs on.
    for (std::size_t length = 0; length < row.needed; ++length) {
      SetUp();
      EXPECT_EQ(Changes(row.reply.substr(0, length)), Snapshot{}) << "at " << length;
    }
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_FALSE(desktop.ended || p->station.Ended);
  }
}

// The transceiver's bare "accepted" (FB) or "refused" (FA) where a row expects its answer is
// never data: a refused antenna query once read as "Ant = 253".
TEST_F(ReplyDecoderTest, AcceptedAndRefusedAnswersAreNeverData) {
  const std::pair<const char*, const char*> queries[] = {
      {"read antenna", "12"},
      {"read receive/transmit", "1C 00"},
      {"read squelch", "15 01"},
      {"read S-meter", "15 02"},
      {"read identity", "19 00"},
      {"read frequency", "03"},
      {"read mode", "04"},
      {"read band edges", "02"},
      {"read clock", "1A 05 16"},
      {"read call sign", "1A 05 15"},
      {"read memory 5", "1A 00 00 05"},
      {"set frequency, read back", "05 00 50 19 14 00 FD FE FE 64 E0 03"},
      {"set clock, read back", "1A 05 16 07 05 FD FE FE 64 E0 1A 05 16"},
      {"select memory 5, read it", "08 00 05 FD FE FE 64 E0 1A 00 00 05"},
  };
  for (const auto& [name, command] : queries) {
    for (const char* acknowledgement : {"FA", "FB"}) {
      SCOPED_TRACE(std::string(name) + ", answered " + acknowledgement);
      // Padding behind it stands for whatever else the read brought in.
      const std::string reply = FromHex(std::string("FE FE 64 E0 ") + command + " FD") +
                                FromHex(std::string("FE FE E0 64 ") + acknowledgement + " FD") +
                                std::string(40, '\x01');
      SetUp();
      EXPECT_EQ(Changes(reply), Snapshot{});
    }
  }
  // The echo-only rows still read what was sent: the set-mode echo shows its mode.
  SetUp();
  EXPECT_EQ(Changes(FromHex("FE FE 64 E0 06 07 FD FE FE E0 64 FB FD")).at("radio.Text4"), "CWr");
}

TEST_F(ReplyDecoderTest, MemoryChannelCodes) {
  const std::pair<const char*, const char*> cases[] = {
      {"00 01", "1"}, {"00 99", "99"}, {"01 00", "P1"}, {"01 01", "P2"}, {"02 00", "old"}};
  for (const auto& [hex, shown] : cases) {
    SCOPED_TRACE(hex);
    SetUp();
    const std::string code = FromHex(hex);
    p->decoder.DecodeReply(FromHex("FE FE 64 E0 1A 00") + code + FromHex("FD FE FE E0 64 1A 00") +
                           code + FromHex("00 00 00 05 07 00 00 01 00 00 08 85 00 08 85") +
                           "40M       " + FromHex("FD"));
    EXPECT_EQ(p->radio.Text2, shown);
    EXPECT_EQ(p->radio.Text1, "07.050.0");
    EXPECT_EQ(p->radio.Text3, " ");
    EXPECT_EQ(p->radio.Text4, "LSB");
    EXPECT_EQ(p->memory.Text1, shown);
  }
}

TEST_F(ReplyDecoderTest, SelectThenReadShowsTheSummaryUnlessAScanAwaitsTheSquelch) {
  const std::string reply = RowCases()[21].reply;
  ASSERT_EQ(std::string(RowCases()[21].name), "select then read memory");
  p->decoder.DecodeReply(reply);
  EXPECT_EQ(p->memory.Text7, "old");
  EXPECT_EQ(p->memory.Text3, "14.950.0");
  p->station.AwaitingSquelch = false;
  p->decoder.DecodeReply(reply);
  EXPECT_EQ(p->memory.Text7, kSummary);
}

TEST_F(ReplyDecoderTest, BandEdgesAlternateLowerAndUpper) {
  const std::string reply =
      FromHex("FE FE 64 E0 02 FD  FE FE E0 64 02 00 00 00 14 00 2D 00 00 35 14 00 FD");
  for (const char* edge : {"14.000.0", "14.350.0", "14.000.0"}) {
    p->decoder.DecodeReply(reply);
    EXPECT_EQ(p->radio.Text1, edge);
  }
  // A reply cut short before the upper edge shows nothing and does not flip the toggle: the
  // next whole one shows the upper edge.
  p->decoder.DecodeReply(reply.substr(0, 20));
  EXPECT_EQ(p->radio.Text1, "14.000.0");
  EXPECT_TRUE(p->station.EdgeUpper);
  p->decoder.DecodeReply(reply);
  EXPECT_EQ(p->radio.Text1, "14.350.0");
}

}  // namespace
}  // namespace tavrin
