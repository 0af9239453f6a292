// SPDX-License-Identifier: GPL-3.0-or-later
// The transceiver's answers, byte for byte, without the bus: reads, settings and refusals as
// sequences of exchanges (each step a command and the whole answer frame).
#include "sim/transceiver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/hex.h"

namespace tavrin::sim {
namespace {

// The frame the controller sends for the command bytes given in hex.
std::string Command(const std::string& hex) { return FromHex("FE FE 64 E0 " + hex + " FD"); }

std::string Ask(Transceiver& radio, const std::string& hex) {
  return ToHex(radio.Handle(Command(hex)));
}

constexpr const char* kFb = "FE FE E0 64 FB FD";
constexpr const char* kFa = "FE FE E0 64 FA FD";

struct Step {
  std::string command;
  std::string answer;
};

struct Exchange {
  const char* name;
  std::vector<Step> steps;
};

void PrintTo(const Exchange& exchange, std::ostream* os) { *os << exchange.name; }

class Exchanges : public ::testing::TestWithParam<Exchange> {};

TEST_P(Exchanges, AnswersByteForByte) {
  Transceiver radio;
  for (const Step& step : GetParam().steps) {
    EXPECT_EQ(Ask(radio, step.command), step.answer) << "command " << step.command;
  }
}

// "NAME" padded to ten characters, in hex.
std::string Text10(std::string text) {
  text.resize(10, ' ');
  return ToHex(text);
}

INSTANTIATE_TEST_SUITE_P(
    Reads, Exchanges,
    ::testing::Values(
        Exchange{"Frequency", {{"03", "FE FE E0 64 03 00 50 19 14 00 FD"}}},
        Exchange{"Mode", {{"04", "FE FE E0 64 04 01 02 FD"}}},
        Exchange{"BandEdges", {{"02", "FE FE E0 64 02 00 00 00 14 00 2D 00 00 35 14 00 FD"}}},
        Exchange{"Identity", {{"19 00", "FE FE E0 64 19 00 64 FD"}}},
        Exchange{"Antenna", {{"12", "FE FE E0 64 12 00 FD"}}},
        Exchange{"ReceiveTransmit", {{"1C 00", "FE FE E0 64 1C 00 00 FD"}}},
        Exchange{"SquelchClosed", {{"15 01", "FE FE E0 64 15 01 00 FD"}}},
        Exchange{"SMeterQuiet", {{"15 02", "FE FE E0 64 15 02 00 00 FD"}}},
        Exchange{"Split", {{"0F", "FE FE E0 64 0F 00 FD"}}},
        Exchange{"Volume", {{"14 01", "FE FE E0 64 14 01 25 FD"}}},
        Exchange{"CallSign", {{"1A 05 15", "FE FE E0 64 1A 05 15 " + Text10("N0CALL") + " FD"}}},
        Exchange{"Clock", {{"1A 05 16", "FE FE E0 64 1A 05 16 12 00 FD"}}},
        Exchange{"DataMode", {{"1A 06", "FE FE E0 64 1A 06 00 00 FD"}}},
        Exchange{"BlankChannel", {{"1A 00 00 07", "FE FE E0 64 1A 00 00 07 FF FD"}}},
        Exchange{"BlankP2", {{"1A 00 01 01", "FE FE E0 64 1A 00 01 01 FF FD"}}}));

INSTANTIATE_TEST_SUITE_P(
    Settings, Exchanges,
    ::testing::Values(
        Exchange{"Frequency",
                 {{"05 00 50 25 14 00", kFb}, {"03", "FE FE E0 64 03 00 50 25 14 00 FD"}}},
        Exchange{"FrequencyMovesBandEdges",
                 {{"05 00 00 05 07 00", kFb},
                  {"02", "FE FE E0 64 02 00 00 00 07 00 2D 00 00 30 07 00 FD"}}},
        Exchange{"ModeAndFilter", {{"06 07 03", kFb}, {"04", "FE FE E0 64 04 07 03 FD"}}},
        Exchange{"ModeKeepsFilter", {{"06 04", kFb}, {"04", "FE FE E0 64 04 04 02 FD"}}},
        Exchange{"Transmit", {{"1C 00 01", kFb}, {"1C 00", "FE FE E0 64 1C 00 01 FD"}}},
        Exchange{"Antenna2", {{"12 01", kFb}, {"12", "FE FE E0 64 12 01 FD"}}},
        Exchange{"SplitOn", {{"0F 01", kFb}, {"0F", "FE FE E0 64 0F 01 FD"}}},
        Exchange{"Volume", {{"14 01 50", kFb}, {"14 01", "FE FE E0 64 14 01 50 FD"}}},
        Exchange{"Speech", {{"13 00", kFb}}},
        Exchange{"CallSign",
                 {{"1A 05 15 " + Text10("AB1CD"), kFb},
                  {"1A 05 15", "FE FE E0 64 1A 05 15 " + Text10("AB1CD") + " FD"}}},
        Exchange{"ShortCallSignIsPadded",
                 {{"1A 05 15 " + ToHex("K1"), kFb},
                  {"1A 05 15", "FE FE E0 64 1A 05 15 " + Text10("K1") + " FD"}}},
        Exchange{"Clock", {{"1A 05 16 07 05", kFb}, {"1A 05 16", "FE FE E0 64 1A 05 16 07 05 FD"}}},
        Exchange{"DataModeOff", {{"1A 06 00 00", kFb}}},
        Exchange{"SubReceiver",
                 {{"07 D1", kFb},
                  {"03", "FE FE E0 64 03 00 00 05 07 00 FD"},
                  {"07 D0", kFb},
                  {"03", "FE FE E0 64 03 00 50 19 14 00 FD"}}},
        Exchange{"ExchangeMainAndSub",
                 {{"07 B0", kFb},
                  {"03", "FE FE E0 64 03 00 00 05 07 00 FD"},
                  {"04", "FE FE E0 64 04 00 02 FD"}}},
        // What a network client's split requests send: the receivers exchanged, the other
        // receiver's value set, exchanged back; the main receiver is left as it was.
        Exchange{"SplitValuesOnTheOtherReceiver",
                 {{"07 B0", kFb},
                  {"05 00 55 07 14 00", kFb},
                  {"06 01 01", kFb},
                  {"07 B0", kFb},
                  {"03", "FE FE E0 64 03 00 50 19 14 00 FD"},
                  {"04", "FE FE E0 64 04 01 02 FD"},
                  {"07 D1", kFb},
                  {"03", "FE FE E0 64 03 00 55 07 14 00 FD"},
                  {"04", "FE FE E0 64 04 01 01 FD"}}},
        Exchange{"EqualiseSub",
                 {{"07 B1", kFb}, {"07 D1", kFb}, {"03", "FE FE E0 64 03 00 50 19 14 00 FD"}}},
        Exchange{"DualWatch", {{"07 C1", kFb}, {"07 C0", kFb}}}));

INSTANTIATE_TEST_SUITE_P(
    Refusals, Exchanges,
    ::testing::Values(
        Exchange{"UnknownCommand", {{"20", kFa}, {"3F 01", kFa}}},
        Exchange{"ReadWithData", {{"03 00", kFa}, {"04 01", kFa}, {"02 00", kFa}}},
        Exchange{"FrequencyTooShort", {{"05 00 50 25 14", kFa}}},
        Exchange{"FrequencyNotBcd", {{"05 00 5A 25 14 00", kFa}}},
        Exchange{"FrequencyOutOfRange", {{"05 00 00 00 00 00", kFa}, {"05 00 00 00 00 02", kFa}}},
        Exchange{"UnknownMode", {{"06 06", kFa}, {"06 09 01", kFa}, {"06 4C 02", kFa}}},
        Exchange{"UnknownFilter",
                 {{"06 01 04", kFa}, {"06 01 00", kFa}, {"04", "FE FE E0 64 04 01 02 FD"}}},
        Exchange{"ModeWithoutData", {{"06", kFa}}},
        Exchange{"VfoSubcommand", {{"07 E5", kFa}, {"07 C0 00", kFa}}},
        Exchange{"ChannelCode",
                 {{"08 00 00", kFa}, {"08 01 02", kFa}, {"08 00 E2", kFa}, {"08 02 00", kFa}}},
        Exchange{"Split", {{"0F 02", kFa}}}, Exchange{"Antenna", {{"12 02", kFa}}},
        Exchange{"Speech", {{"13", kFa}, {"13 03", kFa}}},
        Exchange{"Level", {{"14 01 E2", kFa}, {"14 02", kFa}, {"14", kFa}, {"14 01 25 00", kFa}}},
        Exchange{"Meter", {{"15 03", kFa}, {"15", kFa}}},
        Exchange{"Identity", {{"19 01", kFa}, {"19", kFa}}},
        Exchange{"Clock",
                 {{"1A 05 16 24 00", kFa},
                  {"1A 05 16 12 60", kFa},
                  {"1A 05 16 25 75", kFa},
                  {"1A 05 16 12", kFa},
                  {"1A 05 16", "FE FE E0 64 1A 05 16 12 00 FD"}}},
        Exchange{"CallSignTooLong",
                 {{"1A 05 15 " + ToHex("ABCDEFGHIJKL"), kFa},
                  {"1A 05 15", "FE FE E0 64 1A 05 15 " + Text10("N0CALL") + " FD"}}},
        Exchange{"CallSignControlCharacter", {{"1A 05 15 41 0D", kFa}}},
        Exchange{"SettingsSubcommand",
                 {{"1A", kFa}, {"1A 05", kFa}, {"1A 05 17", kFa}, {"1A 07", kFa}}},
        Exchange{"MemoryChannelCode",
                 {{"1A 00 00 00", kFa},
                  {"1A 00 01 02", kFa},
                  {"1A 00 00", kFa},
                  {"1A 00", kFa},
                  {"1A 00 00 9A", kFa}}},
        Exchange{"Transmit", {{"1C 00 02", kFa}, {"1C 01", kFa}, {"1C", kFa}}}));

TEST(TransceiverAddressing, AnswersTheControllerThatAsked) {
  Transceiver radio;
  EXPECT_EQ(ToHex(radio.Handle(FromHex("FE FE 64 E1 19 00 FD"))), "FE FE E1 64 19 00 64 FD");
  EXPECT_EQ(ToHex(radio.Handle(FromHex("FE FE 64 E1 1C 00 01 FD"))), "FE FE E1 64 FB FD");
}

TEST(TransceiverAddressing, StaysSilentForFramesNotMeantForIt) {
  Transceiver radio;
  const std::vector<std::string> frames = {
      "FE FE 66 E0 03 FD",        // another transceiver
      "FE FE 00 E0 03 FD",        // a broadcast
      "FE FE 64 64 03 FD",        // its own address as sender
      "FE FE 64 E0 FD",           // no command
      "FE FE 64 E0 03",           // no end
      "FE 64 E0 03 FD",           // one preamble byte
      "FE FE 64 E0 05 FE 00 FD",  // preamble inside
      "",
  };
  for (const auto& hex : frames) EXPECT_EQ(radio.Handle(FromHex(hex)), "") << hex;
  radio.SetSilent(true);
  EXPECT_EQ(radio.Handle(Command("1C 00 01")), "");
  radio.SetSilent(false);
  EXPECT_EQ(Ask(radio, "1C 00"), "FE FE E0 64 1C 00 00 FD")
      << "a silent transceiver carries out nothing";
}

}  // namespace
}  // namespace tavrin::sim
