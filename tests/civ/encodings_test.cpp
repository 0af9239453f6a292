// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol's vocabulary and the texts the windows show: packed BCD both ways, frames built,
// taken apart and cut from a stream, the memory record, the mode table's spellings, frequency
// and time texts, decimal lists, and the filter and S-meter tables.
#include "civ/encodings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "civ/bcd.h"
#include "civ/command_bytes.h"
#include "civ/frame.h"
#include "civ/memory_record.h"
#include "civ/mode_table.h"
#include "sim/hex.h"

namespace tavrin {
namespace {

TEST(EncodingsTest, BcdBothWays) {
  using civ::BcdToNumber;
  const std::pair<unsigned char, int> toNumber[] = {{0x00, 0},  {0x09, 9},   {0x10, 10},
                                                    {0x0A, 10}, {0x42, 42},  {0x99, 99},
                                                    {0x1A, 20}, {0xFF, 165}, {0xA0, 100}};
  for (const auto& [byte, number] : toNumber) EXPECT_EQ(BcdToNumber(byte), number) << int{byte};
  // 18.5 rounds to 18 (halves to the even neighbour), 12.5 to 12.
  const std::pair<double, int> toBcd[] = {{7, 0x07},   {42, 0x42},   {0, 0x00},    {99, 0x99},
                                          {100, 0xA0}, {109, 0xA9},  {110, 0xBA},  {150, 0xE2},
                                          {179, 0xFF}, {12.5, 0x12}, {18.5, 0x18}, {25, 0x25}};
  for (const auto& [number, byte] : toBcd) {
    const civ::BcdByte result = civ::NumberToBcd(number);
    EXPECT_TRUE(result.Ok()) << number;
    EXPECT_EQ(result.byte, byte) << number;
  }
  // Numbers without a byte give the error number instead.
  for (const double number : {180.0, 1000.0, -5.0})
    EXPECT_EQ(civ::NumberToBcd(number).error, 179) << number;
  for (int n = 0; n <= 99; ++n) EXPECT_EQ(BcdToNumber(civ::NumberToBcd(n).byte), n);

  // Frequencies as five bytes, the 10 Hz and 1 Hz digits first, and back; only BCD comes back.
  const std::vector<std::pair<std::int64_t, std::string>> frequencies = {
      {14'195'000, "00 50 19 14 00"},
      {7'050'000, "00 00 05 07 00"},
      {0, "00 00 00 00 00"},
      {civ::kHighestFrequencyHz, "99 99 99 99 99"},
      {1'296'123'456, "56 34 12 96 12"}};
  for (const auto& [hz, hex] : frequencies) {
    EXPECT_EQ(civ::FrequencyToBcd(hz), sim::FromHex(hex)) << hz;
    EXPECT_EQ(civ::FrequencyFromBcd(sim::FromHex(hex)), hz) << hex;
  }
  for (const char* hex : {"00 50 1A 14 00", "00 50 19 14", "00 50 19 14 00 00", "F0 00 00 00 00"})
    EXPECT_EQ(civ::FrequencyFromBcd(sim::FromHex(hex)), std::nullopt) << hex;
}

TEST(EncodingsTest, FramesBuiltTakenApartAndCutFromAStream) {
  EXPECT_EQ(civ::ControllerFrame(civ::Bytes({civ::kMeter, civ::kSquelchState})),
            sim::FromHex("FE FE 64 E0 15 01 FD"));
  EXPECT_EQ(civ::AnswerHead(), sim::FromHex("FE FE E0 64"));
  const auto frame = civ::ParseFrame(sim::FromHex("FE FE E0 64 03 00 50 19 14 00 FD"));
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->to, 0xE0);
  EXPECT_EQ(frame->from, 0x64);
  EXPECT_EQ(frame->command, 0x03);
  EXPECT_EQ(frame->data, sim::FromHex("00 50 19 14 00"));
  for (const char* hex :
       {"FE FE E0 64 FD", "FE E0 64 03 FD", "FE FE E0 64 03 00", "FE FE E0 64 FE 03 FD"})
    EXPECT_EQ(civ::ParseFrame(sim::FromHex(hex)), std::nullopt) << hex;

  // Each frame up to its FD, and what follows the last FD as a piece of its own.
  const std::string stream = sim::FromHex("FE FE 00 64 01 03 01 FD FE FE 00 64 00 00 FD FE FE 00");
  const auto pieces = civ::SplitFrames(stream);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], sim::FromHex("FE FE 00 64 01 03 01 FD"));
  EXPECT_EQ(pieces[1], sim::FromHex("FE FE 00 64 00 00 FD"));
  EXPECT_EQ(pieces[2], sim::FromHex("FE FE 00"));
  EXPECT_TRUE(civ::SplitFrames("").empty());

  // The first whole answer behind an echo, past line noise and the head of a cut one; none
  // while its FD has not come.
  const struct {
    const char* reply;
    const char* answer;  // "" for none
  } answers[] = {
      {"FE FE 64 E0 03 FD FE FE E0 64 03 00 50 19 14 00 FD", "FE FE E0 64 03 00 50 19 14 00 FD"},
      {"FE FE 64 E0 04 FD FE FE FE E0 64 FB FD", "FE FE E0 64 FB FD"},
      {"FE FE 64 E0 03 FD FE FE E0 64 03 00 50 FE FE E0 64 03 00 50 19 14 00 FD",
       "FE FE E0 64 03 00 50 19 14 00 FD"},
      {"FE FE E0 64 03 00 FE 12 FD FE FE E0 64 FA FD", "FE FE E0 64 FA FD"},
      {"FE FE 00 64 01 03 01 FD", ""},
      {"FE FE 64 E0 03 FD FE FE E0 64 03 00", ""},
  };
  for (const auto& c : answers) {
    const std::string reply = sim::FromHex(c.reply);
    const auto found = civ::FindAnswer(reply);
    EXPECT_EQ(found ? std::string(*found) : std::string(), sim::FromHex(c.answer)) << c.reply;
  }
  EXPECT_TRUE(civ::IsAcknowledgement(sim::FromHex("FE FE E0 64 FA FD")));
  EXPECT_FALSE(civ::IsAcknowledgement(sim::FromHex("FE FE E0 64 03 FD")));
  for (int byte = 0; byte < 256; ++byte)
    EXPECT_EQ(civ::IsLinkCode(static_cast<unsigned char>(byte)), byte >= 0xFA && byte <= 0xFE);
}

TEST(EncodingsTest, TheMemoryRecordTypedAndBack) {
  // Channel 23, selected, 14.225.0 MHz, USB, filter 3, the 88.5 Hz tones, "ABC".
  const std::string bytes =
      sim::FromHex("00 23 01 00 50 22 14 00 01 03 00 00 08 85 00 08 85") + "ABC       ";
  const auto record = civ::MemoryRecord::FromBytes(bytes);
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->channel, sim::FromHex("00 23"));
  EXPECT_EQ(record->selected, 0x01);
  EXPECT_EQ(civ::FrequencyFromBcd(record->frequency), 14'225'000);
  EXPECT_EQ(record->mode, 0x01);
  EXPECT_EQ(record->filter, 0x03);
  EXPECT_EQ(record->tone, civ::DefaultToneBlock());
  EXPECT_EQ(record->label, "ABC       ");
  EXPECT_EQ(record->Bytes(), bytes);
  EXPECT_TRUE(record->WellFormed());
  EXPECT_EQ(civ::MemoryRecord::FromBytes(bytes.substr(1)), std::nullopt);
  EXPECT_EQ(civ::MemoryRecord{}.Bytes(),
            std::string(10, '\0') + civ::DefaultToneBlock() + std::string(10, ' '));
  // One byte changed at a time: only what is checked spoils the record.
  const struct {
    std::size_t at;
    unsigned char byte;
    bool wellFormed;
  } changes[] = {{2, 0x02, false},  {4, 0x5A, false}, {8, 0x06, false}, {9, 0x04, false},
                 {12, 0xF0, false}, {0, 0x01, true},  {17, 0xFD, true}};
  for (const auto& c : changes) {
    std::string changed = bytes;
    changed[c.at] = static_cast<char>(c.byte);
    EXPECT_EQ(civ::MemoryRecord::FromBytes(changed)->WellFormed(), c.wellFormed) << c.at;
  }
  // Channel codes both ways: 1 to 99 in BCD, P1 and P2.
  for (int channel = 1; channel <= 101; ++channel)
    EXPECT_EQ(civ::ChannelOfCode(civ::MemoryChannelCode(channel)), channel) << channel;
  EXPECT_EQ(civ::MemoryChannelCode(42), sim::FromHex("00 42"));
  EXPECT_EQ(civ::MemoryChannelCode(101), sim::FromHex("01 01"));
  for (const char* hex : {"00 00", "00 1A", "01 02", "02 00", "00"})
    EXPECT_EQ(civ::ChannelOfCode(sim::FromHex(hex)), std::nullopt) << hex;
  EXPECT_EQ(civ::LabelBytes("TWELVE CHARS"), "TWELVE CHA");
  EXPECT_EQ(civ::LabelBytes(""), std::string(10, ' '));
}

TEST(EncodingsTest, EverySpellingOfAModeLeadsToTheSameCode) {
  const struct {
    int code;
    const char* shown;
    const char* option;
    const char* rigctl;
    const char* chirp;
  } modes[] = {{0x00, "LSB", "Lsb", "LSB", "LSB"},     {0x01, "USB", "Usb", "USB", "USB"},
               {0x02, "AM", "Am", "AM", "AM"},         {0x03, "CW", "Cw", "CW", "CW"},
               {0x04, "RTTY", "Rtty", "RTTY", "RTTY"}, {0x05, "FM", "Fm", "FM", "FM"},
               {0x07, "CWr", "Cwr", "CWR", "CWR"},     {0x08, "RTTYr", "Rttyr", "RTTYR", "RTTYR"}};
  ASSERT_EQ(civ::Modes().size(), std::size(modes));
  for (const auto& m : modes) {
    const civ::Mode* mode = civ::ModeOfCode(m.code);
    ASSERT_NE(mode, nullptr) << m.shown;
    EXPECT_EQ(civ::ModeShownAs(m.shown), mode);
    EXPECT_EQ(std::string(mode->option), m.option);
    EXPECT_EQ(civ::ModeOfRigctl(m.rigctl), mode);
    EXPECT_EQ(std::string(mode->chirp), m.chirp);
    EXPECT_EQ(civ::ModeOfChirp(m.option), mode);  // a spreadsheet's "Cwr" too
    // What a mode field shows, typed back in any case, is the same mode.
    EXPECT_EQ(civ::ModeTypedAs(m.shown), mode);
    EXPECT_EQ(civ::ModeTypedAs(m.option), mode);
    // The normal filter is the middle passband, the wide one above it.
    EXPECT_GT(mode->passbandHz[0], mode->passbandHz[1]);
    EXPECT_GT(mode->passbandHz[1], mode->passbandHz[2]);
  }
  EXPECT_EQ(civ::ModeOfCode(0x06), nullptr);
  EXPECT_EQ(civ::ModeShownAs("Usb"), nullptr);
  EXPECT_EQ(civ::ModeOfRigctl("PKTUSB"), nullptr);
  // CHIRP's modes that this transceiver lacks.
  for (const char* word : {"NFM", "WFM", "NAM", "DV", "DIG", "PKT", "NCW", "Auto", ""})
    EXPECT_EQ(civ::ModeOfChirp(word), nullptr) << word;
  for (const char* word : {"", "usb ", "SSB"}) EXPECT_EQ(civ::ModeTypedAs(word), nullptr) << word;
  for (int code = 1; code <= 3; ++code) {
    const civ::Filter* filter = civ::FilterOfCode(code);
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(civ::FilterShownAs("Fil " + std::to_string(code)), filter);
    EXPECT_EQ(civ::FilterTypedAs(std::to_string(code)), filter);
    EXPECT_EQ(std::string(filter->option), "F" + std::to_string(code));
  }
  EXPECT_EQ(civ::FilterOfCode(4), nullptr);
}

TEST(EncodingsTest, FrequencyTimeAndDecimalTexts) {
  EXPECT_EQ(FormatFrequency(14, 19, 50), "14.195.0");
  EXPECT_EQ(FormatFrequency(7, 5, 0), "07.050.0");
  EXPECT_EQ(FormatFrequency(0, 0, 0), "00.000.0");
  EXPECT_EQ(FormatFrequency(99, 99, 99), "99.999.9");
  // Not BCD: a tens value of 16 shows the character after '9' + 6, '@'.
  EXPECT_EQ(FormatFrequency(165, 0, 0), "@5.000.0");
  EXPECT_EQ(FormatTime(9, 5), "09:05");
  EXPECT_EQ(FormatTime(23, 59), "23:59");
  EXPECT_EQ(FormatTime(0, 0), "00:00");
  // One blank before each value, in decimal.
  EXPECT_EQ(ToDecimalList(std::string("\xFE\xFE\x64\xE0\x03\xFD", 6)), " 254 254 100 224 3 253");
  EXPECT_EQ(ToDecimalList(std::string(1, '\0')), " 0");
  EXPECT_EQ(ToDecimalList(""), "");
}

TEST(EncodingsTest, ModeFilterAndSMeterTables) {
  const std::pair<int, std::optional<std::string>> modes[] = {
      {0, "LSB"},        {1, "USB"}, {2, "AM"},    {3, "CW"},         {4, "RTTY"},        {5, "FM"},
      {6, std::nullopt}, {7, "CWr"}, {8, "RTTYr"}, {9, std::nullopt}, {255, std::nullopt}};
  for (const auto& [code, text] : modes) EXPECT_EQ(ModeText(code), text) << code;
  EXPECT_EQ(FilterText(1), "Fil 1");
  EXPECT_EQ(FilterText(3), "Fil 3");
  EXPECT_EQ(FilterText(0), std::nullopt);
  EXPECT_EQ(FilterText(4), std::nullopt);
  // The last row that holds wins.
  const struct {
    int high, low;
    const char* label;
  } levels[] = {{0, 0, "S0"},
                {0, 24, "S0"},
                {0, 0x20, "S1"},
                {0, 40, "S2"},
                {0, 60, "S3"},
                {0, 80, "S4"},
                {0, 100, "S5"},
                {0, 125, "S6"},
                {0, 150, "S7"},
                {0, 255, "S7"},
                {1, 9, "S7"},
                {1, 10, "S8"},
                {1, 0x20, "S9"},
                {1, 50, "S9 + 10db"},
                {1, 85, "S9 + 20db"},
                {1, 115, "S9 + 30db"},
                {1, 130, "S9 + 40db"},
                {1, 145, "S9 + 50db"},
                {2, 0x41, "VERY POWERFUL"},
                {255, 0, "VERY POWERFUL"}};
  for (const auto& c : levels)
    EXPECT_EQ(SMeterLabel(c.high, c.low), c.label) << c.high << " " << c.low;
}

}  // namespace
}  // namespace tavrin
