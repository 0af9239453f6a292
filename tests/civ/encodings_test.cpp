// The byte forms on the CI-V bus: packed BCD both ways, frequency and time texts, decimal
// lists, and the mode, filter and S-meter tables.
#include "civ/encodings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tavrin {
namespace {

TEST(BcdToNumberTest, HighNibbleTimesTenPlusLowNibble) {
  const struct {
    unsigned char byte;
    int number;
  } cases[] = {{0x00, 0},  {0x09, 9},  {0x10, 10},  {0x0A, 10}, {0x42, 42},
               {0x99, 99}, {0x1A, 20}, {0xFF, 165}, {0xA0, 100}};
  for (const auto& c : cases) EXPECT_EQ(BcdToNumber(c.byte), c.number) << int{c.byte};
}

TEST(NumberToBcdTest, ConvertsTheLeadingNumber) {
  const struct {
    const char* text;
    int byte;
  } cases[] = {{"7", 0x07},     {"42", 0x42},  {"0", 0x00},   {"99", 0x99},  {"100", 0xA0},
               {"109", 0xA9},   {"110", 0xBA}, {"150", 0xE2}, {"179", 0xFF}, {"12.5", 0x12},
               {"12abc", 0x12}, {"25", 0x25},  {"  5", 0x05}};
  for (const auto& c : cases) {
    const BcdByte result = NumberToBcd(c.text);
    EXPECT_TRUE(result.Ok()) << c.text;
    EXPECT_EQ(result.byte, c.byte) << c.text;
  }
}

TEST(NumberToBcdTest, ReportsTheErrorNumberForValuesWithoutAByte) {
  const struct {
    const char* text;
    int error;
  } cases[] = {{"", 79}, {"180", 179}, {"1000", 179}, {"-5", 179}};
  for (const auto& c : cases) EXPECT_EQ(NumberToBcd(c.text).error, c.error) << c.text;
}

TEST(NumberToBcdTest, RoundTripsEveryTwoDigitNumber) {
  for (int n = 0; n <= 99; ++n) {
    const BcdByte result = NumberToBcd(std::to_string(n));
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(BcdToNumber(result.byte), n);
  }
}

TEST(FormatFrequencyTest, MegahertzKilohertzAndHundredHertz) {
  const struct {
    int a, b, c;
    const char* text;
  } cases[] = {{14, 19, 50, "14.195.0"},
               {7, 5, 0, "07.050.0"},
               {0, 0, 0, "00.000.0"},
               {99, 99, 99, "99.999.9"},
               // Not BCD: a tens value of 16 shows the character after '9' + 6, '@'.
               {165, 0, 0, "@5.000.0"}};
  for (const auto& c : cases) EXPECT_EQ(FormatFrequency(c.a, c.b, c.c), c.text);
}

TEST(FormatTimeTest, TwoDigitsEach) {
  EXPECT_EQ(FormatTime(9, 5), "09:05");
  EXPECT_EQ(FormatTime(23, 59), "23:59");
  EXPECT_EQ(FormatTime(0, 0), "00:00");
}

TEST(ToDecimalListTest, OneBlankBeforeEachValue) {
  EXPECT_EQ(ToDecimalList(std::string("\xFE\xFE\x64\xE0\x03\xFD", 6)), " 254 254 100 224 3 253");
  EXPECT_EQ(ToDecimalList(std::string(1, '\0')), " 0");
  EXPECT_EQ(ToDecimalList(""), "");
}

TEST(ModeAndFilterTextTest, KnownCodesOnly) {
  const struct {
    int code;
    std::optional<std::string> text;
  } modes[] = {{0, "LSB"},   {1, "USB"},        {2, "AM"},          {3, "CW"},
               {4, "RTTY"},  {5, "FM"},         {6, std::nullopt},  {7, "CWr"},
               {8, "RTTYr"}, {9, std::nullopt}, {255, std::nullopt}};
  for (const auto& m : modes) EXPECT_EQ(ModeText(m.code), m.text) << m.code;
  EXPECT_EQ(FilterText(1), "Fil 1");
  EXPECT_EQ(FilterText(3), "Fil 3");
  EXPECT_EQ(FilterText(0), std::nullopt);
  EXPECT_EQ(FilterText(4), std::nullopt);
}

TEST(SMeterLabelTest, LastRowThatHoldsWins) {
  const struct {
    int high, low;
    const char* label;
  } cases[] = {{0, 0, "S0"},
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
  for (const auto& c : cases)
    EXPECT_EQ(SMeterLabel(c.high, c.low), c.label) << c.high << " " << c.low;
}

}  // namespace
}  // namespace tavrin
