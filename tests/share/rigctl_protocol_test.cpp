// SPDX-License-Identifier: GPL-3.0-or-later
// The rigctld text protocol without sockets: request lines to CI-V frames, reply buffers to
// answers, answers to text. The expected texts are those Hamlib 4.5's rigctld gives for the
// same requests on the simulated transceiver.
#include <gtest/gtest.h>

#include <string>

#include "share/rigctl_answers.h"
#include "support/program_fixture.h"

namespace tavrin::share {
namespace {

using tavrin::testing::Bytes;
using tavrin::testing::Frame;

// The reply buffer of an exchange: the echo of what was sent, then the transceiver's answer.
std::string Reply(const std::string& sent, std::initializer_list<int> answer) {
  return sent + Bytes({0xFE, 0xFE, 0xE0, 0x64}) + Bytes(answer) + Bytes({0xFD});
}

// The one request on a line.
RigctlRequest Parse(const std::string& line) {
  auto requests = ParseRequestLine(line);
  EXPECT_EQ(requests.size(), 1U) << line;
  return requests.empty() ? RigctlRequest{} : requests.front();
}

// The frames of all its exchanges, one after another.
std::string FramesFor(RigctlRequest& request, const SharedRigState& state = {}) {
  std::string frames;
  for (const std::string& exchange : ExchangesFor(request, state)) frames += exchange;
  return frames;
}

// The whole way of one request: its frames, the transceiver's answer to the first exchange
// (an acknowledgement to any further one), the text.
std::string Serve(const std::string& line, std::initializer_list<int> answer,
                  SharedRigState& state) {
  RigctlRequest request = Parse(line);
  const std::vector<std::string> exchanges = ExchangesFor(request, state);
  if (exchanges.empty()) return FormatAnswer(request, LocalAnswer(request, state));
  std::vector<std::string> replies{Reply(exchanges[0], answer)};
  for (std::size_t i = 1; i < exchanges.size(); ++i) replies.push_back(Reply(exchanges[i], {0xFB}));
  return FormatAnswer(request, AnswerFromReplies(request, replies, state));
}

TEST(RigctlProtocolTest, RequestsSendTheFramesTheirValuesNeed) {
  const struct {
    const char* line;
    std::string frames;
  } cases[] = {
      {"f", Frame({0x03})},
      {"\\get_freq", Frame({0x03})},
      {"F 7074000", Frame({0x05, 0x00, 0x40, 0x07, 0x07, 0x00}) + Frame({0x03})},
      {"F 14074123.4", Frame({0x05, 0x23, 0x41, 0x07, 0x14, 0x00}) + Frame({0x03})},
      {"F 1296000000", Frame({0x05, 0x00, 0x00, 0x00, 0x96, 0x12}) + Frame({0x03})},
      {"m", Frame({0x04})},
      {"M USB 2400", Frame({0x06, 0x01, 0x02}) + Frame({0x04})},
      {"M USB 0", Frame({0x06, 0x01, 0x02}) + Frame({0x04})},
      {"M LSB 3000", Frame({0x06, 0x00, 0x01}) + Frame({0x04})},
      {"M CW 250", Frame({0x06, 0x03, 0x03}) + Frame({0x04})},
      {"M RTTYR -1", Frame({0x06, 0x08}) + Frame({0x04})},
      {"+M CWR 500", Frame({0x06, 0x07, 0x02}) + Frame({0x04})},
      {"V Main", Frame({0x07, 0xD0})},
      {"V VFOB", Frame({0x07, 0xD1})},
      {"V VFO", Frame({0x07})},
      {"V MEM", Frame({0x08})},
      {"T 1", Frame({0x1C, 0x00, 0x01})},
      {"T 0", Frame({0x1C, 0x00, 0x00})},
      {"T 3", Frame({0x1C, 0x00, 0x01})},
      {"t", Frame({0x1C, 0x00})},
      {"s", Frame({0x0F})},
      {"S 1 Sub", Frame({0x0F, 0x01})},
      {";\\set_split_vfo 0 Main", Frame({0x0F, 0x00})},
      // Answered here: nothing for the transceiver.
      {"V currVFO", ""},
      {"v", ""},
      {"\\dump_state", ""},
      {"\\chk_vfo", ""},
      {"\\get_powerstat", ""},
      {"q", ""},
      // Values that are not values: nothing is sent.
      {"F abc", ""},
      {"F -5", ""},
      {"F 99999999999", ""},
      {"F nan", ""},
      {"M FOO 0", ""},
      {"M PKTUSB 0", ""},
      {"M USB abc", ""},
      {"M USB -2", ""},
      {"M USB", ""},
      {"V foo", ""},
      {"T 5", ""},
      {"T", ""},
      {"S 2 Sub", ""},
      {"S 1 Nowhere", ""},
      {"I 14x", ""},
      {"X PKTUSB 0", ""},
      {"\\get_vfo_info Nowhere", ""},
      // The other receiver's values: exchanged with the operated one, and back.
      {"i", Frame({0x07, 0xB0}) + Frame({0x03}) + Frame({0x07, 0xB0})},
      {"I 7050000.5", Frame({0x07, 0xB0}) + Frame({0x05, 0x01, 0x00, 0x05, 0x07, 0x00}) +
                          Frame({0x03}) + Frame({0x07, 0xB0})},
      {"x", Frame({0x07, 0xB0}) + Frame({0x04}) + Frame({0x07, 0xB0})},
      {"X CW 250", Frame({0x07, 0xB0}) + Frame({0x06, 0x03, 0x03}) + Frame({0x04}) +
                       Frame({0x07, 0xB0})},
      {"\\get_vfo_info currVFO", Frame({0x03}) + Frame({0x04}) + Frame({0x0F})},
      {"\\get_vfo_info Sub", Frame({0x07, 0xD1}) + Frame({0x03}) + Frame({0x07, 0xD1}) +
                                  Frame({0x04}) + Frame({0x07, 0xD0}) + Frame({0x0F})},
      {"l RFPOWER", ""},
      {"\\bogus", ""},
  };
  for (const auto& c : cases) {
    RigctlRequest request = Parse(c.line);
    EXPECT_EQ(FramesFor(request), c.frames) << c.line;
  }
}

// Several commands on a line, as rigctld reads them: each takes its arguments, the prefix
// before a command sets that command's form alone, and what follows an unknown command or
// missing arguments is not read.
TEST(RigctlProtocolTest, ALineHoldsCommandsOneAfterAnother) {
  const struct {
    const char* line;
    std::vector<std::string> names;  // of the requests read, "?" for no command
    std::vector<char> forms;         // '-' plain, else the separator of the extended form
    std::vector<int> errors;
  } cases[] = {
      {"fmv", {"get_freq", "get_mode", "get_vfo"}, {'-', '-', '-'}, {0, 0, 0}},
      {"f m  v\r", {"get_freq", "get_mode", "get_vfo"}, {'-', '-', '-'}, {0, 0, 0}},
      {"+f +m +v", {"get_freq", "get_mode", "get_vfo"}, {'\n', '\n', '\n'}, {0, 0, 0}},
      {"f;m", {"get_freq", "get_mode"}, {'-', ';'}, {0, 0}},
      {";f m", {"get_freq", "get_mode"}, {';', '-'}, {0, 0}},
      {"|f|m,t", {"get_freq", "get_mode", "get_ptt"}, {'|', '|', ','}, {0, 0, 0}},
      {"F 7074000 f", {"set_freq", "get_freq"}, {'-', '-'}, {0, 0}},
      {"M USB 2400 +m", {"set_mode", "get_mode"}, {'-', '\n'}, {0, 0}},
      {"\\get_freq \\get_mode", {"get_freq", "get_mode"}, {'-', '-'}, {0, 0}},
      {"J 0 f", {"set_rit", "get_freq"}, {'-', '-'}, {kRigNotAvailable, 0}},
      {"1_", {"dump_caps", "get_info"}, {'-', '-'}, {0, 0}},
      {"fkf", {"get_freq", "?"}, {'-', '-'}, {0, kRigNotImplemented}},
      {"f \\bogus f", {"get_freq", "bogus"}, {'-', '-'}, {0, kRigNotImplemented}},
      {"f M USB", {"get_freq", "set_mode"}, {'-', '-'}, {0, kRigInvalid}},
      {"f + m", {"get_freq", "?"}, {'-', '\n'}, {0, kRigNotImplemented}},
      {"q f", {"quit"}, {'-'}, {0}},
  };
  for (const auto& c : cases) {
    const std::vector<RigctlRequest> requests = ParseRequestLine(c.line);
    ASSERT_EQ(requests.size(), c.names.size()) << c.line;
    for (std::size_t i = 0; i < requests.size(); ++i) {
      const RigctlRequest& request = requests[i];
      EXPECT_EQ(request.name.empty() ? "?" : request.name, c.names[i]) << c.line << " " << i;
      EXPECT_EQ(request.extended ? request.separator : '-', c.forms[i]) << c.line << " " << i;
      EXPECT_EQ(request.error, c.errors[i]) << c.line << " " << i;
    }
  }
  // A line of more commands than a client needs is refused whole.
  const std::vector<RigctlRequest> flood = ParseRequestLine(std::string(40, 'f'));
  ASSERT_EQ(flood.size(), 1U);
  EXPECT_EQ(flood[0].error, kRigInvalid);
  EXPECT_EQ(ParseRequestLine(std::string(32, 'f')).size(), 32U);
}

TEST(RigctlProtocolTest, AnswersReadFromTheReplyAsRigctldWritesThem) {
  const struct {
    const char* line;
    std::initializer_list<int> answer;  // after FE FE E0 64, before FD
    const char* text;
  } cases[] = {
      {"f", {0x03, 0x00, 0x50, 0x19, 0x14, 0x00}, "14195000\n"},
      {"+f", {0x03, 0x00, 0x50, 0x19, 0x14, 0x00}, "get_freq:\nFrequency: 14195000\nRPRT 0\n"},
      {";f", {0x03, 0x00, 0x00, 0x00, 0x07, 0x00}, "get_freq:;Frequency: 7000000;RPRT 0\n"},
      {"|f", {0x03, 0x00, 0x00, 0x00, 0x07, 0x00}, "get_freq:|Frequency: 7000000|RPRT 0\n"},
      {"f", {0x03, 0xFF}, "RPRT -9\n"},                          // a blank memory channel
      {"f", {0x03, 0x00, 0x5A, 0x19, 0x14, 0x00}, "RPRT -8\n"},  // not BCD
      {"f", {0xFA}, "RPRT -9\n"},
      {"F 7074000", {0x03, 0x00, 0x40, 0x07, 0x07, 0x00}, "RPRT 0\n"},
      {"+F 7074000", {0x03, 0x00, 0x40, 0x07, 0x07, 0x00}, "set_freq: 7074000\nRPRT 0\n"},
      {"F 20000", {0x03, 0x00, 0x40, 0x07, 0x07, 0x00}, "RPRT -9\n"},  // not taken
      {"m", {0x04, 0x01, 0x02}, "USB\n2400\n"},
      {"m", {0x04, 0x03, 0x02}, "CW\n500\n"},
      {"m", {0x04, 0x02, 0x02}, "AM\n6000\n"},
      {"m", {0x04, 0x05, 0x02}, "FM\n12000\n"},
      {"m", {0x04, 0x08, 0x01}, "RTTYR\n3000\n"},
      {"m", {0x04, 0x07, 0x03}, "CWR\n250\n"},
      {"m", {0x04, 0x06, 0x02}, "RPRT -8\n"},  // no mode of this transceiver
      {"+m", {0x04, 0x01, 0x02}, "get_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n"},
      {"M LSB 2400", {0x04, 0x00, 0x02}, "RPRT 0\n"},
      {"M LSB 2400", {0x04, 0x00, 0x03}, "RPRT -9\n"},
      {"M LSB -1", {0x04, 0x00, 0x03}, "RPRT 0\n"},
      {"+M USB 2400", {0x04, 0x01, 0x02}, "set_mode: USB 2400\nRPRT 0\n"},
      {"T 1", {0xFB}, "RPRT 0\n"},
      {"T 1", {0xFA}, "RPRT -9\n"},
      {"+T 0", {0xFB}, "set_ptt: 0\nRPRT 0\n"},
      {";T 1", {0xFB}, "set_ptt: 1;RPRT 0\n"},
      {"t", {0x1C, 0x00, 0x01}, "1\n"},
      {"+t", {0x1C, 0x00, 0x00}, "get_ptt:\nPTT: 0\nRPRT 0\n"},
      {"V Sub", {0xFB}, "RPRT 0\n"},
      {"+V Main", {0xFB}, "set_vfo: Main\nRPRT 0\n"},
      {"s", {0x0F, 0x00}, "0\nNone\n"},
      {"+s", {0x0F, 0x00}, "get_split_vfo:\nSplit: 0\nTX VFO: None\nRPRT 0\n"},
      {"v", {}, "RPRT -11\n"},
      {"+v", {}, "get_vfo:\nRPRT -11\n"},
      {"V currVFO", {}, "RPRT 0\n"},
      {"\\chk_vfo", {}, "0\n"},
      {"+\\chk_vfo", {}, "ChkVFO: 0\n"},
      {"\\get_powerstat", {}, "1\n"},
      {"+\\get_powerstat", {}, "get_powerstat:\nPower Status: 1\nRPRT 0\n"},
      {"\\get_info", {}, "None\n"},
      {"+\\get_info", {}, "get_info:\nInfo: None\nRPRT 0\n"},
      {"q", {}, "RPRT 0\n"},
      {"+q", {}, "RPRT 0\n"},
      {"\\get_lock_mode", {}, "0\nRPRT 0\n"},
      {"+\\get_lock_mode", {}, "get_lock_mode:\nLocked: 0\nRPRT 0\n"},
      {"\\set_lock_mode 1", {}, "RPRT 0\n"},
      {"\\set_lock_mode 7", {}, "RPRT -1\n"},
      {"F abc", {}, "RPRT -1\n"},
      {"+F abc", {}, "set_freq: abc\nRPRT -1\n"},
      {"M PKTUSB 0", {}, "RPRT -9\n"},
      {"M FOO 0", {}, "RPRT -1\n"},
      {"V foo", {}, "RPRT -1\n"},
      {"T 5", {}, "RPRT -1\n"},
      {"j", {}, "RPRT -11\n"},
      {"+j", {}, "get_rit:\nRPRT -11\n"},
      {"+J 0", {}, "set_rit: 0\nRPRT -11\n"},
      {";J 0", {}, "set_rit: 0;RPRT -11\n"},
      {"+l RFPOWER", {}, "get_level: RFPOWER\nRPRT -11\n"},
      {"+k", {}, "RPRT -4\n"},
      {"i", {0x03, 0x00, 0x00, 0x05, 0x07, 0x00}, "7050000\n"},
      {"+i", {0x03, 0x00, 0x00, 0x05, 0x07, 0x00}, "get_split_freq:\nTX Frequency: 7050000\nRPRT 0\n"},
      {"i", {0xFA}, "RPRT -9\n"},
      {"x", {0x04, 0x00, 0x01}, "LSB\n0\n"},
      {"+x", {0x04, 0x03, 0x02}, "get_split_mode:\nTX Mode: CW\nTX Passband: 0\nRPRT 0\n"},
      {"I 14075500", {0x03, 0x00, 0x55, 0x07, 0x14, 0x00}, "RPRT 0\n"},
      {"+I 14075500", {0x03, 0x00, 0x55, 0x07, 0x14, 0x00}, "set_split_freq: 14075500\nRPRT 0\n"},
      {"I 14075500", {0x03, 0x00, 0x00, 0x05, 0x07, 0x00}, "RPRT -9\n"},
      {"X USB 2400", {0x04, 0x01, 0x02}, "RPRT 0\n"},
      {"X USB 2400", {0x04, 0x00, 0x02}, "RPRT -9\n"},
      {"I abc", {}, "RPRT -1\n"},
      {"X FOO 0", {}, "RPRT -1\n"},
      {"\\get_vfo_info Main", {0x03, 0x00, 0x50, 0x19, 0x14, 0x00}, "RPRT -8\n"},  // no mode after
      {"+\\get_vfo_info Nowhere", {}, "get_vfo_info: Nowhere\nRPRT -1\n"},
      {"l RFPOWER", {}, "RPRT -11\n"},
      {"\\get_level RFPOWER", {}, "RPRT -11\n"},
      {"k", {}, "RPRT -4\n"},
      {"\\bogus", {}, "RPRT -4\n"},
      {"+", {}, "RPRT -4\n"},
  };
  for (const auto& c : cases) {
    SharedRigState state;
    EXPECT_EQ(Serve(c.line, c.answer, state), c.text) << c.line;
  }
}

TEST(RigctlProtocolTest, AMissingOrSilentAnswerIsATimeout) {
  SharedRigState state;
  for (const char* line : {"f", "T 1", "M USB 2400", "i", "X USB 2400", "\\get_vfo_info Sub"}) {
    RigctlRequest request = Parse(line);
    const std::vector<std::string> exchanges = ExchangesFor(request, state);
    const std::vector<std::string> silence(exchanges.size());
    EXPECT_EQ(FormatAnswer(request, AnswerFromReplies(request, silence, state)), "RPRT -5\n")
        << line;
    EXPECT_EQ(FormatAnswer(request, AnswerFromReplies(request, exchanges, state)), "RPRT -5\n")
        << line << " (echo alone)";
  }
}

// The values read on the other receiver count only when the receivers were put back.
TEST(RigctlProtocolTest, ASplitValueCountsOnlyWithTheReceiversPutBack) {
  SharedRigState state;
  RigctlRequest request = Parse("i");
  const std::vector<std::string> exchanges = ExchangesFor(request, state);
  ASSERT_EQ(exchanges.size(), 2U);
  const std::string read = Reply(exchanges[0], {0x03, 0x00, 0x00, 0x05, 0x07, 0x00});
  for (const auto& [back, text] : {std::pair{Reply(exchanges[1], {0xFB}), "7050000\n"},
                                   std::pair{Reply(exchanges[1], {0xFA}), "RPRT -9\n"},
                                   std::pair{std::string(), "RPRT -5\n"}})
    EXPECT_EQ(FormatAnswer(request, AnswerFromReplies(request, {read, back}, state)), text);
}

TEST(RigctlProtocolTest, TheTransmitVfoNamedBySplitIsToldBySplitReads) {
  SharedRigState state;
  EXPECT_EQ(Serve("S 1 VFOB", {0xFB}, state), "RPRT 0\n");
  EXPECT_EQ(Serve("s", {0x0F, 0x01}, state), "1\nSub\n") << "VFOB is the sub receiver";
  EXPECT_EQ(Serve("S 0 Main", {0xFA}, state), "RPRT -9\n");  // refused: still Sub
  EXPECT_EQ(Serve("s", {0x0F, 0x01}, state), "1\nSub\n");
  EXPECT_EQ(Serve("\\set_lock_mode 1", {}, state), "RPRT 0\n");
  EXPECT_EQ(Serve("\\get_lock_mode", {}, state), "1\nRPRT 0\n");
}

// The receiver a client selected decides which one the VFO summary must select first.
TEST(RigctlProtocolTest, TheReceiverAClientSelectedIsRemembered) {
  SharedRigState state;
  EXPECT_EQ(Serve("V Sub", {0xFA}, state), "RPRT -9\n");
  EXPECT_EQ(state.receiver, "Main");
  EXPECT_EQ(Serve("V VFOB", {0xFB}, state), "RPRT 0\n");
  EXPECT_EQ(state.receiver, "Sub");
  EXPECT_EQ(Serve("V MEM", {0xFB}, state), "RPRT 0\n");
  EXPECT_EQ(state.receiver, "Sub");
  RigctlRequest request = Parse("\\get_vfo_info Main");
  EXPECT_EQ(FramesFor(request, state), Frame({0x07, 0xD0}) + Frame({0x03}) + Frame({0x07, 0xD0}) +
                                           Frame({0x04}) + Frame({0x07, 0xD1}) + Frame({0x0F}));
  request = Parse("\\get_vfo_info Sub");
  EXPECT_EQ(FramesFor(request, state), Frame({0x03}) + Frame({0x04}) + Frame({0x0F}));
}

TEST(RigctlProtocolTest, BlankLinesAreNoRequests) {
  for (const char* line : {"", "  ", "\r", "\t \r"}) EXPECT_TRUE(ParseRequestLine(line).empty()) << line;
  EXPECT_EQ(Parse("f\r").command, RigctlCommand::GetFreq);
}

TEST(RigctlProtocolTest, TheStateDumpDescribesThisTransceiver) {
  const std::vector<std::string> lines = DumpStateLines();
  ASSERT_GT(lines.size(), 10U);
  EXPECT_EQ(lines[0], "1");  // protocol version
  EXPECT_EQ(lines[3], "30000.000000 199999999.000000 0x1bf -1 -1 0x16000000 0x0");
  EXPECT_EQ(lines.back(), "done");
  // The filters: normal, wide, narrow per group, as "m" reports them.
  const auto has = [&lines](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  for (const char* line : {"0x11c 2400", "0x11c 3000", "0x11c 1800", "0x82 500", "0x1 6000",
                           "0x20 12000", "has_get_vfo=0", "ptt_type=0x1"})
    EXPECT_TRUE(has(line)) << line;
  RigctlRequest request = Parse("+\\dump_state");
  SharedRigState state;
  const std::string text = FormatAnswer(request, LocalAnswer(request, state));
  EXPECT_EQ(text.substr(0, 14), "dump_state:\n1\n");
  EXPECT_EQ(text.substr(text.size() - 12), "done\nRPRT 0\n");
}

// The capabilities say what this port does: what it answers is Y, what it refuses N.
TEST(RigctlProtocolTest, TheCapabilitiesSayWhatThePortDoes) {
  SharedRigState state;
  const std::string plain = Serve("\\dump_caps", {}, state);
  EXPECT_EQ(plain.substr(0, 26), "Caps dump for model: 3047\n");
  EXPECT_EQ(plain.substr(plain.size() - 36), "\nOverall backend warnings: 0\nRPRT 0\n");
  EXPECT_EQ(Serve("1", {}, state), plain);
  const struct {
    const char* capability;
    const char* line;  // a request it stands for
    bool answered;
  } cases[] = {{"set Frequency", "F 7074000", true},    {"get Frequency", "f", true},
               {"set Mode", "M USB 2400", true},        {"get Mode", "m", true},
               {"set VFO", "V Sub", true},              {"get VFO", "v", false},
               {"set PTT", "T 0", true},                {"get PTT", "t", true},
               {"set Split Freq", "I 7050000", true},   {"get Split Freq", "i", true},
               {"set Split Mode", "X LSB 2400", true},  {"get Split Mode", "x", true},
               {"set Split VFO", "S 0 Main", true},     {"get Split VFO", "s", true},
               {"set RIT", "J 0", false},               {"get RIT", "j", false},
               {"set Level", "L AF 0.5", false},        {"get Level", "l AF", false},
               {"set Power Stat", "\\set_powerstat 1", false},
               {"get Power Stat", "\\get_powerstat", true},
               {"send Morse", "b CQ", false},           {"Scan", "g VFO 0", false}};
  for (const auto& c : cases) {
    const std::string line = std::string("\nCan ") + c.capability + ":\t" + (c.answered ? "Y" : "N");
    EXPECT_NE(plain.find(line + "\n"), std::string::npos) << c.capability;
    RigctlRequest request = Parse(c.line);
    const bool refused = ExchangesFor(request, state).empty() &&
                         LocalAnswer(request, state).error == kRigNotAvailable;
    EXPECT_EQ(refused, !c.answered) << c.line;
  }
  EXPECT_NE(plain.find("\nCan send Voice:\tN\n"), std::string::npos);
}

}  // namespace
}  // namespace tavrin::share
