// SPDX-License-Identifier: GPL-3.0-or-later
// The byte forms on the CI-V bus: packed BCD both ways, frequency and time texts, decimal
// lists, and the mode, filter and S-meter tables.
#include "civ/encodings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tavrin {
namespace {

TEST(EncodingsTest, BcdBothWays) {
  const std::pair<unsigned char, int> toNumber[] = {{0x00, 0},  {0x09, 9},   {0x10, 10},
                                                    {0x0A, 10}, {0x42, 42},  {0x99, 99},
                                                    {0x1A, 20}, {0xFF, 165}, {0xA0, 100}};
  for (const auto& [byte, number] : toNumber) EXPECT_EQ(BcdToNumber(byte), number) << int{byte};
  // The leading number of the text; 18.5 rounds to 18.
  const std::pair<const char*, int> toBcd[] = {
      {"7", 0x07},    {"42", 0x42},    {"0", 0x00},   {"99", 0x99},  {"100", 0xA0},
      {"109", 0xA9},  {"110", 0xBA},   {"150", 0xE2}, {"179", 0xFF}, {"12.5", 0x12},
      {"18.5", 0x18}, {"12abc", 0x12}, {"25", 0x25},  {"  5", 0x05}};
  for (const auto& [text, byte] : toBcd) {
    const BcdByte result = NumberToBcd(text);
    EXPECT_TRUE(result.Ok()) << text;
    EXPECT_EQ(result.byte, byte) << text;
  }
  // Values without a byte give the error number instead.
  const std::pair<const char*, int> errors[] = {{"", 79}, {"180", 179}, {"1000", 179}, {"-5", 179}};
  for (const auto& [text, error] : errors) EXPECT_EQ(NumberToBcd(text).error, error) << text;
  for (int n = 0; n <= 99; ++n) EXPECT_EQ(BcdToNumber(NumberToBcd(std::to_string(n)).byte), n);
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
