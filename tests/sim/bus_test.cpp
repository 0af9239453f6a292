// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated line: echo, byte times at each speed, bursts answered only at their end,
// broadcasts that wait for the line, and garbage that never upsets the transceiver.
#include "sim/bus.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/virtual_clock.h"
#include "sim/hex.h"
#include "sim/sim_serial.h"
#include "sim/transceiver.h"

namespace tavrin {
namespace {

using sim::FromHex;
using sim::ToHex;

class BusTest : public ::testing::Test {
 protected:
  void OpenAt(int baud) {
    serial.SetCommPort(1);
    serial.SetSettings(std::to_string(baud) + ",N,8,1");
    ASSERT_FALSE(serial.Open().Failed());
  }
  std::string SendAndCollect(const std::string& hex, int ms = 50) {
    serial.Output(FromHex(hex));
    clock.Advance(ms);
    return ToHex(serial.Input());
  }
  VirtualClock clock;
  sim::Transceiver radio;
  SimSerial serial{clock, radio};
};

TEST_F(BusTest, BytesArriveOneByteTimeApartAtEverySpeed) {
  struct Case {
    int baud;
    std::int64_t byteMicros;
  };
  for (const Case c : {Case{19200, 521}, Case{9600, 1042}, Case{4800, 2083}, Case{38400, 260}}) {
    VirtualClock clock;
    sim::Transceiver radio;
    SimSerial port(clock, radio);
    port.SetSettings(std::to_string(c.baud) + ",N,8,1");
    ASSERT_FALSE(port.Open().Failed());
    EXPECT_EQ(port.ByteMicros(), c.byteMicros) << c.baud;
    const std::int64_t b = c.byteMicros;
    port.Output(FromHex("FE FE 64 E0 03 FD"));
    clock.AdvanceMicros(b - 1);
    EXPECT_EQ(port.Waiting(), 0u) << c.baud;
    clock.AdvanceMicros(1);
    EXPECT_EQ(port.Waiting(), 1u) << c.baud << ": the first echo byte after one byte time";
    clock.AdvanceMicros(5 * b);
    EXPECT_EQ(port.Waiting(), 6u) << c.baud << ": the whole echo";
    // Two byte times of turnaround, then the answer's first byte.
    clock.AdvanceMicros(3 * b - 1);
    EXPECT_EQ(port.Waiting(), 6u) << c.baud;
    clock.AdvanceMicros(1);
    EXPECT_EQ(port.Waiting(), 7u) << c.baud;
    clock.AdvanceMicros(10 * b);
    EXPECT_EQ(ToHex(port.Input()), "FE FE 64 E0 03 FD FE FE E0 64 03 00 50 19 14 00 FD") << c.baud;
  }
}

TEST_F(BusTest, EveryFrameOfABurstIsCarriedOutButOnlyTheLastAnswered) {
  struct Case {
    const char* name;
    const char* sent;
    const char* received;
  };
  const Case cases[] = {
      {"set frequency, read it", "FE FE 64 E0 05 00 50 25 14 00 FD FE FE 64 E0 03 FD",
       "FE FE 64 E0 05 00 50 25 14 00 FD FE FE 64 E0 03 FD FE FE E0 64 03 00 50 25 14 00 FD"},
      {"set clock, read it", "FE FE 64 E0 1A 05 16 07 05 FD FE FE 64 E0 1A 05 16 FD",
       "FE FE 64 E0 1A 05 16 07 05 FD FE FE 64 E0 1A 05 16 FD FE FE E0 64 1A 05 16 07 05 FD"},
      {"set mode, read it", "FE FE 64 E0 06 04 01 FD FE FE 64 E0 04 FD",
       "FE FE 64 E0 06 04 01 FD FE FE 64 E0 04 FD FE FE E0 64 04 04 01 FD"},
      {"refused set, read", "FE FE 64 E0 06 09 FD FE FE 64 E0 04 FD",
       "FE FE 64 E0 06 09 FD FE FE 64 E0 04 FD FE FE E0 64 04 01 02 FD"},
  };
  for (const Case& c : cases) {
    VirtualClock clock;
    sim::Transceiver radio;
    SimSerial port(clock, radio);
    port.SetSettings("19200,N,8,1");
    ASSERT_FALSE(port.Open().Failed());
    port.Output(FromHex(c.sent));
    clock.Advance(50);
    EXPECT_EQ(ToHex(port.Input()), c.received) << c.name;
  }
}

TEST_F(BusTest, SetFrequencyBurstPutsTheFrequencyAtPositions24To26) {
  OpenAt(19200);
  const std::string reply =
      FromHex(SendAndCollect("FE FE 64 E0 05 00 50 25 14 00 FD FE FE 64 E0 03 FD"));
  ASSERT_EQ(reply.size(), 28u);
  EXPECT_EQ(ToHex(reply.substr(23, 3)), "50 25 14");
  EXPECT_EQ(radio.FrequencyHz(), 14'255'000);
}

TEST_F(BusTest, SelectAndClearBlanksTheChannelAndAnswersOnlyTheClear) {
  OpenAt(19200);
  radio.FillDemoChannels();
  EXPECT_EQ(SendAndCollect("FE FE 64 E0 08 00 02 FD FE FE 64 E0 0B FD"),
            "FE FE 64 E0 08 00 02 FD FE FE 64 E0 0B FD FE FE E0 64 FB FD");
  EXPECT_TRUE(radio.Channel(2).blank);
}

TEST_F(BusTest, FramesWithAPauseBetweenAreEachAnswered) {
  OpenAt(19200);
  serial.Output(FromHex("FE FE 64 E0 1C 00 FD"));
  clock.Advance(20);
  serial.Output(FromHex("FE FE 64 E0 12 FD"));
  clock.Advance(50);
  EXPECT_EQ(ToHex(serial.Input()),
            "FE FE 64 E0 1C 00 FD FE FE E0 64 1C 00 00 FD FE FE 64 E0 12 FD FE FE E0 64 12 00 FD");
}

TEST_F(BusTest, SelectAndReadFitTheReplyWindowOnlyAtHighSpeed) {
  struct Case {
    int baud;
    bool complete;
  };
  for (const Case c :
       {Case{38400, true}, Case{19200, true}, Case{9600, false}, Case{4800, false}}) {
    VirtualClock clock;
    sim::Transceiver radio;
    radio.FillDemoChannels();
    SimSerial port(clock, radio);
    port.SetSettings(std::to_string(c.baud) + ",N,8,1");
    ASSERT_FALSE(port.Open().Failed());
    port.Output(FromHex("FE FE 64 E0 08 00 01 FD FE FE 64 E0 1A 00 00 01 FD"));
    clock.Advance(50);
    const std::string reply = port.Input();
    EXPECT_EQ(reply.size() == 51, c.complete) << c.baud << " baud: " << reply.size() << " bytes";
    if (c.complete) {
      EXPECT_EQ(ToHex(reply.substr(17)),
                "FE FE E0 64 1A 00 00 01 00 00 50 19 14 00 01 02 00 00 08 85 00 08 85 " +
                    ToHex("DX NET    ") + " FD");
    }
  }
}

TEST_F(BusTest, WriteSelectReadOfAChannelFitsTheReplyWindowAt19200) {
  OpenAt(19200);
  const std::string record =
      "00 23 01 00 50 22 14 00 01 03 00 00 08 85 00 08 85 " + ToHex("ABC       ");
  const std::string reply = FromHex(SendAndCollect("FE FE 64 E0 1A 00 " + record +
                                                   " FD FE FE 64 E0 08 00 23 FD "
                                                   "FE FE 64 E0 1A 00 00 23 FD"));
  ASSERT_EQ(reply.size(), 34u + 8 + 9 + 34);
  EXPECT_EQ(ToHex(reply.substr(51)), "FE FE E0 64 1A 00 " + record + " FD");
}

TEST_F(BusTest, BroadcastWaitsForTheAnswerAndNeverInterleaves) {
  OpenAt(19200);
  serial.Output(FromHex("FE FE 64 E0 03 FD"));
  clock.Advance(2);  // the echo is still going out
  radio.TurnDial(1000);
  clock.Advance(50);
  EXPECT_EQ(ToHex(serial.Input()),
            "FE FE 64 E0 03 FD FE FE E0 64 03 00 60 19 14 00 FD "
            "FE FE 00 64 00 00 60 19 14 00 FD");
}

TEST_F(BusTest, ControllerBytesWaitForABroadcastOnTheLine) {
  OpenAt(19200);
  clock.Advance(100);
  radio.ChangeMode(sim::kModeAm, 3);
  clock.AdvanceMicros(3 * 521 + 1042);  // three bytes of the broadcast are out
  serial.Output(FromHex("FE FE 64 E0 04 FD"));
  clock.Advance(50);
  EXPECT_EQ(ToHex(serial.Input()),
            "FE FE 00 64 01 02 03 FD FE FE 64 E0 04 FD FE FE E0 64 04 02 03 FD");
}

TEST_F(BusTest, IdleBroadcastsArriveInOrder) {
  OpenAt(9600);
  radio.TurnDial(-1000);
  radio.ChangeMode(sim::kModeLsb, 1);
  clock.Advance(10);
  EXPECT_EQ(serial.Waiting(), 9u) << "on a quiet line they start at once; 19 bytes take 20 ms";
  clock.Advance(40);
  EXPECT_EQ(ToHex(serial.Input()), "FE FE 00 64 00 00 40 19 14 00 FD FE FE 00 64 01 00 01 FD");
}

TEST_F(BusTest, SilentTransceiverStillEchoes) {
  OpenAt(19200);
  radio.SetSilent(true);
  EXPECT_EQ(SendAndCollect("FE FE 64 E0 19 00 FD"), "FE FE 64 E0 19 00 FD");
}

TEST_F(BusTest, GarbageNeverUpsetsTheTransceiver) {
  OpenAt(19200);
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(1, 40);
  const std::string prefixes[] = {"", FromHex("FE FE 64 E0"), FromHex("FE FE 64 E0 1A 00"),
                                  FromHex("FE FE 64 E0 1A 05")};
  for (int round = 0; round < 1000; ++round) {
    std::string bytes = prefixes[round % 4];
    const int n = length(random);
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<char>(byte(random)));
    if (round % 3 == 0) bytes.push_back(static_cast<char>(0xFD));
    serial.Output(bytes);
    clock.AdvanceMicros((n + 30) * 600);  // room for the echo and an answer
    serial.Input();
  }
  clock.Advance(1000);
  serial.Input();
  // A valid frame after the noise is understood again.
  EXPECT_EQ(SendAndCollect("FD FE FE 64 E0 19 00 FD"),
            "FD FE FE 64 E0 19 00 FD FE FE E0 64 19 00 64 FD");
}

TEST_F(BusTest, MemoryAnswersAlteredOnTheirWayBackAsNoiseWouldAlterThem) {
  radio.SetChannel(60, sim::MemoryChannel::Filled(28'500'000, sim::kModeUsb, 2, "SIXTY"));
  const std::string read60 = "FE FE 64 E0 1A 00 00 60 FD";
  OpenAt(19200);
  const std::string echo = "FE FE 64 E0 1A 00 00 60 FD ";
  const std::string clean = SendAndCollect(read60, 80);
  ASSERT_EQ(clean.substr(0, echo.size()), echo);
  const std::string answer = clean.substr(echo.size());
  struct Case {
    const char* name;
    sim::AnswerFault fault;
    std::string expected;  // the answer as the controller receives it
  };
  const Case cases[] = {
      {"a byte more",
       {sim::AnswerFault::Kind::InsertByte, 8, 0x85},
       answer.substr(0, 8 * 3) + "85 " + answer.substr(8 * 3)},
      {"a byte changed", {sim::AnswerFault::Kind::ChangeByte, 0, 0x7E}, "7E" + answer.substr(2)},
      {"a byte lost", {sim::AnswerFault::Kind::DropByte, 1, 0}, answer.substr(3)},
  };
  for (const Case& c : cases) {
    serial.Line().AlterMemoryAnswer(60, c.fault);
    EXPECT_EQ(SendAndCollect("FE FE 64 E0 1A 00 00 05 FD", 80).find("85"), std::string::npos)
        << c.name << ": other channels are not touched";
    EXPECT_EQ(SendAndCollect(read60, 80), echo + c.expected) << c.name;
    EXPECT_EQ(SendAndCollect(read60, 80), clean) << c.name << ": only the next answer";
  }
  serial.Line().AlterMemoryAnswer(60, {sim::AnswerFault::Kind::ChangeByte, 0, 0x7E}, -1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SendAndCollect(read60, 80).substr(echo.size(), 2), "7E");
}

TEST_F(BusTest, LateAnswersAndNoiseBytes) {
  OpenAt(19200);
  serial.Line().SetAnswerDelay(60'000);
  EXPECT_EQ(SendAndCollect("FE FE 64 E0 03 FD", 50), "FE FE 64 E0 03 FD")
      << "the answer misses a 50 ms window";
  clock.Advance(40);
  EXPECT_EQ(ToHex(serial.Input()), "FE FE E0 64 03 00 50 19 14 00 FD");
  serial.Line().SetAnswerDelay(0);
  serial.Line().AddNoise(FromHex("00 FF 12"), clock.NowMicros() + 5'000);
  clock.Advance(4);
  EXPECT_EQ(serial.Waiting(), 0u);
  clock.Advance(10);
  EXPECT_EQ(ToHex(serial.Input()), "00 FF 12");
  EXPECT_EQ(SendAndCollect("FE FE 64 E0 03 FD"),
            "FE FE 64 E0 03 FD FE FE E0 64 03 00 50 19 14 00 FD")
      << "noise does not reach the transceiver";
}

// What the transceiver takes in is what reached it: a frame still on the line when the cable
// comes out is neither carried out nor reported as received (a log of the bus relies on it).
TEST_F(BusTest, AFrameCutOnTheLineNeverReachesTheTransceiver) {
  OpenAt(19200);
  std::vector<std::string> received;
  serial.Line().OnTransceiverReceives(
      [&](const std::string& bytes) { received.push_back(ToHex(bytes)); });
  const std::string setFrequency = "FE FE 64 E0 05 00 50 25 14 00 FD";
  serial.Output(FromHex(setFrequency));
  clock.AdvanceMicros(5 * serial.ByteMicros());
  serial.Line().Cut();
  clock.Advance(50);
  serial.Input();
  EXPECT_TRUE(received.empty()) << received.front();
  EXPECT_EQ(SendAndCollect("FE FE 64 E0 03 FD"),
            "FE FE 64 E0 03 FD FE FE E0 64 03 00 50 19 14 00 FD")
      << "the cut frame set no frequency";
  SendAndCollect(setFrequency);
  EXPECT_EQ(received, (std::vector<std::string>{"FE FE 64 E0 03 FD", setFrequency}));
}

TEST_F(BusTest, StrayBytesAtARateComeBetweenFramesNeverInsideOne) {
  OpenAt(19200);
  serial.Line().AddStrayBytes(500, 100'000, 3'000'000);
  clock.Advance(100);
  EXPECT_EQ(serial.Waiting(), 0u) << "not before their start";
  clock.Advance(500);
  const std::size_t stray = serial.Input().size();
  EXPECT_GE(stray, 249u);
  EXPECT_LE(stray, 251u);
  // Exchanges in the noise: the echo and the answer each arrive whole, with stray bytes
  // around them, between them too.
  const std::string echo = FromHex("FE FE 64 E0 03 FD");
  const std::string answer = FromHex("FE FE E0 64 03 00 50 19 14 00 FD");
  int between = 0;
  for (int i = 0; i < 40; ++i) {
    serial.Output(echo);
    clock.AdvanceMicros(50'000 + i * 137);
    const std::string reply = serial.Input();
    const std::size_t e = reply.find(echo);
    const std::size_t a = reply.find(answer);
    ASSERT_TRUE(e != std::string::npos && a != std::string::npos && e < a) << ToHex(reply);
    EXPECT_GT(reply.size(), echo.size() + answer.size());
    if (a > e + echo.size()) ++between;
  }
  EXPECT_GT(between, 0) << "a stray byte between an echo and its answer";
  clock.Advance(1000);  // past the end
  serial.Input();
  clock.Advance(100);
  EXPECT_EQ(serial.Waiting(), 0u) << "the noise has ended";
}

TEST_F(BusTest, AFloodOfBroadcastsPacedOrAtLineRate) {
  struct Case {
    const char* name;
    std::int64_t everyMicros;
    std::size_t broadcastsInASecond;
  };
  // A frequency broadcast is 11 bytes: 5.7 ms at 19200 baud.
  for (const Case c : {Case{"every 20 ms", 20'000, 50}, Case{"line rate", 0, 175}}) {
    VirtualClock clock;
    sim::Transceiver radio;
    SimSerial port(clock, radio);
    port.SetSettings("19200,N,8,1");
    ASSERT_FALSE(port.Open().Failed());
    port.Line().FloodBroadcasts(c.everyMicros, 0, 1'000'000);
    clock.Advance(1010);
    const std::string up = FromHex("FE FE 00 64 00 10 50 19 14 00 FD");
    const std::string down = FromHex("FE FE 00 64 00 00 50 19 14 00 FD");
    const std::string received = port.Input();
    EXPECT_EQ(received.size(), c.broadcastsInASecond * up.size()) << c.name;
    EXPECT_EQ(received.substr(0, 2 * up.size()), up + down) << c.name << ": up and down in turn";
    EXPECT_LE(radio.FrequencyHz() - 14'195'000, 10) << c.name << ": the dial went to and fro";
    clock.Advance(100);
    EXPECT_EQ(port.Waiting(), 0u) << c.name << ": the flood has ended";
  }
  // At line rate a broadcast takes the line between every echo and its answer.
  OpenAt(19200);
  serial.Line().FloodBroadcasts(0, 0);
  clock.Advance(3);
  serial.Input();
  const std::string reply = SendAndCollect("FE FE 64 E0 03 FD");
  EXPECT_NE(reply.find("FE FE 64 E0 03 FD FE FE 00 64 00"), std::string::npos) << reply;
  EXPECT_NE(reply.find("FD FE FE E0 64 03 "), std::string::npos) << reply;
}

}  // namespace
}  // namespace tavrin
