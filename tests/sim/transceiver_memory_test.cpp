// SPDX-License-Identifier: GPL-3.0-or-later
// Memory channels: write, select, read, clear, the transfers between VFO and memory, and the
// squelch that follows the operated channel.
#include <gtest/gtest.h>

#include <string>

#include "sim/hex.h"
#include "sim/transceiver.h"

namespace tavrin::sim {
namespace {

constexpr const char* kFb = "FE FE E0 64 FB FD";
constexpr const char* kFa = "FE FE E0 64 FA FD";
constexpr const char* kTone = "00 00 08 85 00 08 85";

class MemoryTest : public ::testing::Test {
 protected:
  std::string Ask(const std::string& hex) {
    return ToHex(radio.Handle(FromHex("FE FE 64 E0 " + hex + " FD")));
  }
  static std::string Name(std::string text) {
    text.resize(10, ' ');
    return ToHex(text);
  }
  // The 25 bytes after the channel code: select, frequency, mode, filter, tone, name.
  static std::string Record(const std::string& select, const std::string& frequency,
                            const std::string& modeFilter, const std::string& name) {
    return select + " " + frequency + " " + modeFilter + " " + kTone + " " + Name(name);
  }
  Transceiver radio;
};

TEST_F(MemoryTest, WriteSelectReadClearRoundTrip) {
  const std::string record = Record("01", "00 50 22 14 00", "01 03", "ABC");
  EXPECT_EQ(Ask("1A 00 00 23 " + record), kFb);
  EXPECT_FALSE(radio.MemoryMode()) << "writing a channel does not select it";

  EXPECT_EQ(Ask("08 00 23"), kFb);
  EXPECT_TRUE(radio.MemoryMode());
  EXPECT_EQ(radio.CurrentChannel(), 23);
  EXPECT_EQ(Ask("03"), "FE FE E0 64 03 00 50 22 14 00 FD");
  EXPECT_EQ(Ask("04"), "FE FE E0 64 04 01 03 FD");
  // 8 header bytes, 25 record bytes, FD: 34 bytes.
  EXPECT_EQ(Ask("1A 00 00 23"), "FE FE E0 64 1A 00 00 23 " + record + " FD");
  EXPECT_EQ(radio.Handle(FromHex("FE FE 64 E0 1A 00 00 23 FD")).size(), 34u);

  EXPECT_EQ(Ask("0B"), kFb);
  EXPECT_EQ(Ask("1A 00 00 23"), "FE FE E0 64 1A 00 00 23 FF FD");
  EXPECT_EQ(Ask("03"), "FE FE E0 64 03 FF FD") << "a blank channel has no frequency";
  EXPECT_EQ(Ask("04"), "FE FE E0 64 04 FF FD");
  EXPECT_EQ(Ask("05 00 00 25 14 00"), kFa) << "nothing to tune on a blank channel";

  EXPECT_EQ(Ask("07"), kFb);
  EXPECT_FALSE(radio.MemoryMode());
  EXPECT_EQ(Ask("03"), "FE FE E0 64 03 00 50 19 14 00 FD") << "the VFO kept its frequency";
}

TEST_F(MemoryTest, ChannelCodesIncludingP1P2AndTheShortForm) {
  struct Case {
    const char* code;
    int channel;
  };
  for (const Case c : {Case{"00 01", 1}, Case{"00 99", 99}, Case{"01 00", 100}, Case{"01 01", 101},
                       Case{"05", 5}, Case{"42", 42}}) {
    EXPECT_EQ(Ask(std::string("08 ") + c.code), kFb) << c.code;
    EXPECT_EQ(radio.CurrentChannel(), c.channel) << c.code;
  }
  EXPECT_EQ(Ask("1A 00 01 00 " + Record("00", "00 00 25 14 00", "00 01", "P1 LOW")), kFb);
  EXPECT_EQ(radio.Channel(100).name, "P1 LOW    ");
  EXPECT_EQ(Ask("1A 00 01 00"),
            "FE FE E0 64 1A 00 01 00 " + Record("00", "00 00 25 14 00", "00 01", "P1 LOW") + " FD");
  EXPECT_EQ(Ask("1A 00 05"), kFa) << "reading takes only the two-byte code";
}

TEST_F(MemoryTest, RefusedWritesLeaveTheChannelAlone) {
  const std::string good = Record("00", "00 00 05 07 00", "00 02", "40M");
  ASSERT_EQ(Ask("1A 00 00 02 " + good), kFb);
  const char* refused[] = {
      "1A 00 00 00 ",  // channel 0
      "1A 00 01 02 ",  // no channel 102
      "1A 00 00 E2 ",  // not BCD
  };
  for (const char* prefix : refused) EXPECT_EQ(Ask(prefix + good), kFa) << prefix;
  const std::string bad[] = {
      Record("00", "00 00 05 07 00", "4C 02", "L MODE"),   // a letter where the mode goes
      Record("00", "00 00 05 07 00", "06 02", "MODE 6"),   // no mode 06
      Record("00", "00 00 05 07 00", "00 34", "FILTER"),   // filter "4" as typed
      Record("02", "00 00 05 07 00", "00 02", "SELECT"),   // select is 00 or 01
      Record("00", "00 A0 05 07 00", "00 02", "NOT BCD"),  // frequency digits
      Record("00", "00 00 00 00 00", "00 02", "ZERO HZ"),  // nothing to tune
  };
  for (const std::string& record : bad) EXPECT_EQ(Ask("1A 00 00 02 " + record), kFa) << record;
  EXPECT_EQ(Ask("1A 00 00 02 00 00 00 05 07 00 00 02"), kFa) << "short record";
  EXPECT_EQ(Ask("1A 00 00 02"), "FE FE E0 64 1A 00 00 02 " + good + " FD");
}

TEST_F(MemoryTest, BlankingByCodeAndFF) {
  radio.SetChannel(9, MemoryChannel::Filled(21'300'000, kModeAm, 1, "AM"));
  EXPECT_EQ(Ask("1A 00 00 09 FF"), kFb);
  EXPECT_TRUE(radio.Channel(9).blank);
}

TEST_F(MemoryTest, VfoToMemoryAndBack) {
  ASSERT_EQ(Ask("08 00 04"), kFb);
  ASSERT_EQ(Ask("07"), kFb);
  ASSERT_EQ(Ask("05 00 40 07 18 00"), kFb);
  EXPECT_EQ(Ask("09"), kFb) << "VFO written to channel 4";
  EXPECT_FALSE(radio.Channel(4).blank);
  EXPECT_EQ(radio.Channel(4).frequencyHz, 18'074'000);
  EXPECT_EQ(radio.Channel(4).mode, kModeUsb);

  radio.SetChannel(6, MemoryChannel::Filled(3'700'000, kModeLsb, 3, "80M"));
  ASSERT_EQ(Ask("08 00 06"), kFb);
  EXPECT_EQ(Ask("0A"), kFb) << "channel 6 copied to the VFO";
  EXPECT_FALSE(radio.MemoryMode());
  EXPECT_EQ(Ask("03"), "FE FE E0 64 03 00 00 70 03 00 FD");
  EXPECT_EQ(Ask("04"), "FE FE E0 64 04 00 03 FD");

  ASSERT_EQ(Ask("08 00 07"), kFb);
  EXPECT_EQ(Ask("0A"), kFa) << "a blank channel has nothing to copy";
  EXPECT_EQ(Ask("09"), kFa) << "nothing shown to write";
}

TEST_F(MemoryTest, TuningInMemoryModeLeavesTheStoredChannel) {
  radio.SetChannel(1, MemoryChannel::Filled(14'195'000, kModeUsb, 2, "DX NET"));
  ASSERT_EQ(Ask("08 00 01"), kFb);
  EXPECT_EQ(Ask("05 00 00 20 14 00"), kFb);
  EXPECT_EQ(Ask("03"), "FE FE E0 64 03 00 00 20 14 00 FD");
  EXPECT_EQ(radio.Channel(1).frequencyHz, 14'195'000);
  ASSERT_EQ(Ask("08 00 01"), kFb);
  EXPECT_EQ(Ask("03"), "FE FE E0 64 03 00 50 19 14 00 FD") << "selecting again reloads it";
}

TEST_F(MemoryTest, SquelchFollowsTheOperatedChannelOrVfo) {
  radio.SetChannelSignal(3, true);
  struct Step {
    const char* command;
    const char* squelch;
    const char* meter;
  };
  const Step steps[] = {
      {"07", "00", "00 00"},        // VFO, no signal there
      {"08 00 03", "01", "01 20"},  // channel 3 carries a signal: open, S9
      {"08 00 04", "00", "00 00"},
      {"08 03", "01", "01 20"},  // the short code too
  };
  for (const Step& step : steps) {
    ASSERT_EQ(Ask(step.command), kFb) << step.command;
    EXPECT_EQ(Ask("15 01"), std::string("FE FE E0 64 15 01 ") + step.squelch + " FD")
        << step.command;
    EXPECT_EQ(Ask("15 02"), std::string("FE FE E0 64 15 02 ") + step.meter + " FD") << step.command;
  }
  radio.SetVfoSignal(true);
  ASSERT_EQ(Ask("07"), kFb);
  EXPECT_EQ(Ask("15 01"), "FE FE E0 64 15 01 01 FD");
}

TEST(TransceiverFrontPanel, DialAndModeSendBroadcastsWhenTransceiveIsOn) {
  Transceiver radio;
  std::vector<std::string> sent;
  radio.OnBroadcast([&sent](const std::string& frame) { sent.push_back(ToHex(frame)); });
  radio.TurnDial(1000);
  radio.TurnDial(-100);
  radio.ChangeMode(kModeCw, 1);
  radio.ChangeMode(0x06, 1);  // no such mode: ignored
  radio.SetTransceive(false);
  radio.TurnDial(100);
  radio.SetTransceive(true);
  radio.SetSilent(true);
  radio.TurnDial(100);
  EXPECT_EQ(sent, (std::vector<std::string>{"FE FE 00 64 00 00 60 19 14 00 FD",
                                            "FE FE 00 64 00 00 59 19 14 00 FD",
                                            "FE FE 00 64 01 03 01 FD"}));
  EXPECT_EQ(sent[0].size(), 11u * 3 - 1);
  EXPECT_EQ(radio.FrequencyHz(), 14'196'000) << "turned while transceive was off, not while silent";
  EXPECT_EQ(radio.Mode(), kModeCw);
}

TEST(TransceiverFrontPanel, DemoChannels) {
  Transceiver radio;
  radio.FillDemoChannels();
  EXPECT_EQ(radio.Channel(1).name, "DX NET    ");
  EXPECT_EQ(radio.Channel(2).frequencyHz, 7'050'000);
  EXPECT_EQ(radio.Channel(5).frequencyHz, 50'125'000);
  EXPECT_TRUE(radio.Channel(3).blank);
  EXPECT_TRUE(radio.Channel(0).blank);
  EXPECT_TRUE(radio.Channel(102).blank);
}

}  // namespace
}  // namespace tavrin::sim
