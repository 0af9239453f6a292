// SPDX-License-Identifier: GPL-3.0-or-later
// The serial double: opening and its error numbers, reading, the record of sent frames, and a
// device that vanishes.
#include "sim/sim_serial.h"

#include <gtest/gtest.h>

#include "platform/virtual_clock.h"
#include "sim/hex.h"
#include "sim/transceiver.h"

namespace tavrin {
namespace {

using sim::FromHex;
using sim::ToHex;

class SimSerialTest : public ::testing::Test {
 protected:
  void OpenAt(const std::string& settings) {
    serial.SetCommPort(1);
    serial.SetSettings(settings);
    ASSERT_FALSE(serial.Open().Failed());
  }
  VirtualClock clock;
  sim::Transceiver radio;
  SimSerial serial{clock, radio};
};

TEST_F(SimSerialTest, OpenErrors) {
  struct Case {
    const char* name;
    int port;
    const char* settings;
    bool held;
    int number;
    const char* description;
  };
  const Case cases[] = {
      {"first port", 1, "19200,N,8,1", false, 0, ""},
      {"third port, other format", 3, "4800,e,7,2", false, 0, ""},
      {"no port 4", 4, "19200,N,8,1", false, 8002, "Invalid port number"},
      {"no port 0", 0, "19200,N,8,1", false, 8002, "Invalid port number"},
      {"held by another program", 1, "19200,N,8,1", true, 8005, "Port already open"},
      {"no speed", 1, ",N,8,1", false, 380, "Invalid property value"},
      {"odd speed", 1, "12345,N,8,1", false, 380, "Invalid property value"},
      {"parity X", 1, "19200,X,8,1", false, 380, "Invalid property value"},
      {"nine data bits", 1, "19200,N,9,1", false, 380, "Invalid property value"},
      {"four data bits, which no port carries", 1, "19200,N,4,1", false, 380,
       "Invalid property value"},
      {"three stop bits", 1, "19200,N,8,3", false, 380, "Invalid property value"},
      {"three fields", 1, "19200,N,8", false, 380, "Invalid property value"},
      {"five fields", 1, "19200,N,8,1,1", false, 380, "Invalid property value"},
      {"empty", 1, "", false, 380, "Invalid property value"},
      {"words", 1, "fast please", false, 380, "Invalid property value"},
      {"huge number", 1, "99999999999999999999,N,8,1", false, 380, "Invalid property value"},
  };
  for (const Case& c : cases) {
    VirtualClock clock;
    sim::Transceiver radio;
    SimSerial port(clock, radio);
    port.SetCommPort(c.port);
    port.SetSettings(c.settings);
    port.SetHeldElsewhere(c.held);
    const PortError error = port.Open();
    EXPECT_EQ(error.number, c.number) << c.name;
    EXPECT_EQ(error.description, c.description) << c.name;
    EXPECT_EQ(port.PortOpen(), c.number == 0) << c.name;
  }
}

TEST_F(SimSerialTest, OpeningTwiceIsPortAlreadyOpen) {
  OpenAt("19200,N,8,1");
  EXPECT_EQ(serial.Open().number, kErrorPortAlreadyOpen);
  EXPECT_TRUE(serial.PortOpen());
  serial.Close();
  EXPECT_FALSE(serial.Open().Failed());
}

TEST_F(SimSerialTest, ExtraPortsCanBeAddedAndRemoved) {
  serial.SetPortExists(7, true);
  serial.SetPortExists(1, false);
  serial.SetCommPort(1);
  EXPECT_EQ(serial.Open().number, kErrorInvalidPort);
  serial.SetCommPort(7);
  EXPECT_FALSE(serial.Open().Failed());
}

TEST_F(SimSerialTest, ClosedPortDropsWritesAndReadsNothing) {
  serial.Output(FromHex("FE FE 64 E0 1C 00 01 FD"));
  clock.Advance(50);
  EXPECT_EQ(serial.Input(), "");
  EXPECT_TRUE(serial.SentFrames().empty());
  EXPECT_FALSE(radio.Transmitting());

  OpenAt("19200,N,8,1");
  serial.Output(FromHex("FE FE 64 E0 03 FD"));
  serial.Close();
  clock.Advance(50);
  EXPECT_EQ(serial.Input(), "");
  EXPECT_EQ(serial.Waiting(), 0u) << "bytes arriving at a closed port are lost";
}

TEST_F(SimSerialTest, RecordsSentFramesWithTheirTimes) {
  OpenAt("19200,N,8,1");
  serial.Output(FromHex("FE FE 64 E0 05 00 50 25 14 00 FD FE FE 64 E0 03 FD"));
  clock.Advance(10);
  serial.Output(FromHex("FE FE 64 E0 1A 05"));  // a frame written in two pieces
  clock.Advance(1);
  serial.Output(FromHex("16 FD"));
  ASSERT_EQ(serial.SentFrames().size(), 3u);
  EXPECT_EQ(
      serial.SentFrameBytes(),
      (std::vector<std::string>{FromHex("FE FE 64 E0 05 00 50 25 14 00 FD"),
                                FromHex("FE FE 64 E0 03 FD"), FromHex("FE FE 64 E0 1A 05 16 FD")}));
  EXPECT_EQ(serial.SentFrames()[0].micros, 0);
  EXPECT_EQ(serial.SentFrames()[1].micros, 0);
  EXPECT_DOUBLE_EQ(serial.SentFrames()[2].Ms(), 10.0);
  serial.ClearSentFrames();
  EXPECT_TRUE(serial.SentFrames().empty());
}

TEST_F(SimSerialTest, OnInputIsCalledAsBytesArrive) {
  OpenAt("19200,N,8,1");
  std::string seen;
  serial.OnInput([&] { seen += serial.Input(); });
  serial.Output(FromHex("FE FE 64 E0 19 00 FD"));
  clock.Advance(50);
  EXPECT_EQ(ToHex(seen), "FE FE 64 E0 19 00 FD FE FE E0 64 19 00 64 FD");
}

TEST_F(SimSerialTest, InputLengthLimitsARead) {
  OpenAt("19200,N,8,1");
  serial.Output(FromHex("FE FE 64 E0 03 FD"));
  clock.Advance(50);
  serial.SetInputLen(4);
  EXPECT_EQ(ToHex(serial.Input()), "FE FE 64 E0");
  serial.SetInputLen(0);
  EXPECT_EQ(serial.Input().size(), 13u);
}

TEST_F(SimSerialTest, VanishedDeviceClosesThePortTellsOnceAndComesBackWhenPluggedIn) {
  int gone = 0;
  serial.OnGone([&gone] { ++gone; });
  OpenAt("19200,N,8,1");
  serial.Output(FromHex("FE FE 64 E0 03 FD"));
  clock.Advance(2);  // part of the echo is waiting, the rest still on the line
  ASSERT_GT(serial.Waiting(), 0u);
  serial.Vanish();
  serial.Vanish();
  EXPECT_EQ(gone, 1);
  EXPECT_FALSE(serial.PortOpen()) << "a real port closes when its device goes";
  EXPECT_FALSE(serial.DevicePresent(1));
  clock.Advance(50);
  EXPECT_EQ(serial.Input(), "");
  serial.Output(FromHex("FE FE 64 E0 1C 00 01 FD"));
  clock.Advance(50);
  EXPECT_FALSE(radio.Transmitting()) << "writes after the device went are dropped";
  EXPECT_EQ(serial.SentFrames().size(), 1u);
  radio.TurnDial(100);  // a broadcast has nowhere to go either
  clock.Advance(50);
  EXPECT_EQ(serial.Open().number, kErrorInvalidPort);

  serial.PlugBackIn();
  EXPECT_TRUE(serial.DevicePresent(1));
  EXPECT_FALSE(serial.DevicePresent(4));
  EXPECT_FALSE(serial.PortOpen()) << "plugging in opens nothing";
  ASSERT_FALSE(serial.Open().Failed());
  EXPECT_EQ(serial.Input(), "") << "nothing from before the pull is left";
  serial.Output(FromHex("FE FE 64 E0 03 FD"));
  clock.Advance(50);
  EXPECT_EQ(serial.Input().size(), 17u) << "echo and answer on the new line";
  EXPECT_EQ(gone, 1);
}

TEST_F(SimSerialTest, CablePulledOnScheduleOrAfterFrames) {
  struct Case {
    const char* name;
    int frames;           // -1: pulled at a time instead
    std::int64_t atMs;    // when pulled, for the timed case
    std::size_t reached;  // frames that reached the transceiver
  };
  const Case cases[] = {
      {"at once", 0, 0, 0},
      {"after two frames", 2, 0, 2},
      {"at 120 ms", -1, 120, 3},
  };
  for (const Case& c : cases) {
    VirtualClock clock;
    sim::Transceiver radio;
    SimSerial port(clock, radio);
    int gone = 0;
    port.OnGone([&gone] { ++gone; });
    port.SetSettings("19200,N,8,1");
    ASSERT_FALSE(port.Open().Failed());
    if (c.frames >= 0) port.PullCableAfterFrames(c.frames);
    if (c.frames < 0) port.PullCableAt(c.atMs * 1000);
    // Five volume settings, 50 ms apart; the frames that got through set the volume.
    for (int v = 1; v <= 5 && port.PortOpen(); ++v) {
      port.Output(FromHex("FE FE 64 E0 14 01 0" + std::to_string(v) + " FD"));
      clock.Advance(50);
    }
    clock.Advance(200);
    EXPECT_EQ(port.SentFrames().size(), c.reached) << c.name;
    EXPECT_EQ(radio.Volume(), c.reached == 0 ? 25 : static_cast<int>(c.reached)) << c.name;
    EXPECT_EQ(gone, 1) << c.name;
    EXPECT_FALSE(port.PortOpen()) << c.name;
  }
}

}  // namespace
}  // namespace tavrin
