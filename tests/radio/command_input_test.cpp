// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions of what the operator types into CI-V bytes. The examples that the radio window's
// commands send are in their window tests; here are the rules' corners.
#include "radio/command_input.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "civ/command_bytes.h"

namespace tavrin {
namespace {

std::string B(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values) bytes += static_cast<char>(v);
  return bytes;
}

TEST(CommandInput, UnusableAnswers) {
  // Text; unusable for the prompted commands (empty, "0", leading blank); unusable for the
  // memory commands (empty, "0", exactly " ").
  const std::vector<std::tuple<std::string, bool, bool>> cases = {
      {"", true, true},     {"0", true, true},    {" ", true, true},
      {" 5", true, false},  {"5", false, false},  {"00", false, false},
      {"0 ", false, false}, {"5 ", false, false}, {"abc", false, false}};
  for (const auto& [text, radio, memory] : cases) {
    EXPECT_EQ(IsUnusableAnswer(text), radio) << '"' << text << '"';
    EXPECT_EQ(IsUnusableMemoryText(text), memory) << '"' << text << '"';
  }
}

TEST(CommandInput, SplitManualCommandReadsExactlyFourTokens) {
  const std::vector<std::pair<std::string, std::array<std::string, 4>>> cases = {
      {"1a 05 00 15", {"1a", "05", "00", "15"}},
      {"07  d0", {"07", "", "d0", ""}},
      {"1A 05 00 15 20", {"1A", "05", "00", "15"}},
      {"fe", {"fe", "", "", ""}},
      {"03 ", {"03", "", "", ""}},
      {"", {"", "", "", ""}},
      {"a b c d e f", {"a", "b", "c", "d"}},
      {"1 2 ", {"1", "2", "", ""}}};
  for (const auto& [text, tokens] : cases) EXPECT_EQ(SplitManualCommand(text), tokens) << text;
}

TEST(CommandInput, HexByteToken) {
  const std::vector<std::pair<std::string, std::optional<unsigned char>>> cases = {
      {"fe", 0xFE},         {"FE", 0xFE},         {"3", 0x03},
      {"a", 0x0A},          {"1a0", 0x1A},        {"00", 0x00},
      {"9F", 0x9F},         {"1az", 0x1A},        {"g", std::nullopt},
      {"1g", std::nullopt}, {"x1", std::nullopt}, {"", std::nullopt},
      {"{0", std::nullopt}, {"-1", std::nullopt}, {"\xE1\x31", std::nullopt}};
  for (const auto& [token, byte] : cases) EXPECT_EQ(HexByteToken(token), byte) << token;
}

TEST(CommandInput, ManualCommandCallSignAndTime) {
  EXPECT_EQ(ManualCommandBytes("1A 05 00 15 zz"), B({0x1A, 0x05, 0x00, 0x15}));
  EXPECT_EQ(ManualCommandBytes("q"), std::nullopt);
  EXPECT_EQ(CallSignBytes("w{1"), "W[1       ");
  // Answer; has the time form; its bytes.
  const std::vector<std::tuple<std::string, bool, std::optional<std::string>>> times = {
      {"12:5", true, B({0x12, 0x05})},
      {"12:5 ", true, B({0x12, 0x05})},
      // Characters that are no part of the two numbers: refused, not read as 0.
      {"23:59:30", true, std::nullopt},
      {"ab:cd", true, std::nullopt},
      {"1a:30", true, std::nullopt},
      {"-1:00", true, std::nullopt},
      {"12", false, std::nullopt}};
  for (const auto& [answer, form, bytes] : times) {
    EXPECT_EQ(HasTimeForm(answer), form) << answer;
    if (!form) continue;
    EXPECT_EQ(TimeBytes(answer), bytes) << answer;
  }
}

TEST(CommandInput, ChannelCodeAndFrequencyDigitsAtTheirLimits) {
  // Channel text; code; readable; unwritable.
  const std::vector<std::tuple<std::string, std::optional<std::string>, bool, bool>> channels = {
      {"7 ", B({0x00, 0x07}), true, false},  {"110", B({0x00, 0xBA}), false, false},
      {"179", B({0x00, 0xFF}), false, true}, {"180", std::nullopt, false, false},
      {"-5", std::nullopt, false, false},    {"100 ", B({0x01, 0x00}), true, false},
      {"abc", std::nullopt, false, false},   {"5x", std::nullopt, false, false},
      {"1e999", std::nullopt, false, false}};
  for (const auto& [text, code, readable, unwritable] : channels) {
    EXPECT_EQ(ChannelCode(text), code) << text;
    EXPECT_EQ(code && IsReadableChannelCode(*code), readable) << text;
    EXPECT_EQ(IsUnwritableChannelText(text), unwritable) << text;
  }
  using Bcd = std::array<unsigned char, 3>;  // MHz, 100/10 kHz, 1 kHz/100 Hz
  const std::vector<std::tuple<std::string, std::string, std::optional<Bcd>>> frequencies = {
      {"500", "00500", Bcd{0x00, 0x50, 0x00}},
      {"1422505", "1422505", Bcd{0x14, 0x22, 0x50}},  // past the sixth digit: ignored
      {"-14255", "-14255", std::nullopt}};
  for (const auto& [digits, padded, bytes] : frequencies) {
    EXPECT_EQ(PadFrequencyDigits(digits), padded) << digits;
    EXPECT_EQ(FrequencyBytes(padded), bytes) << digits;
  }
}

TEST(CommandInput, ModeWordsInAnyCase) {
  const std::vector<std::pair<std::string, unsigned char>> words = {
      {"LSB", 0x00},  {"USB", 0x01}, {"AM", 0x02},  {"CW", 0x03},
      {"RTTY", 0x04}, {"FM", 0x05},  {"CWR", 0x07}, {"RTTYR", 0x08}};
  for (const auto& [word, code] : words) {
    std::string lower = word;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string capitalised = word.substr(0, 1) + lower.substr(1);
    for (const std::string& spelling : {word, lower, capitalised})
      EXPECT_EQ(ModeCode(spelling), code) << spelling;
  }
  EXPECT_EQ(ModeCode("CWr"), 0x07);
  EXPECT_EQ(ModeCode("RTTYr"), 0x08);
  EXPECT_EQ(ModeCode("cW"), 0x03);
  for (const std::string word : {"", "L", "xyz", "usb ", "AM2", "RTT"})
    EXPECT_EQ(ModeCode(word), std::nullopt) << '"' << word << '"';
}

TEST(CommandInput, FilterSelectedAndRefusalTexts) {
  const std::vector<std::pair<std::string, std::optional<unsigned char>>> filters = {
      {"1", 0x01},         {"2", 0x02},        {"3", 0x03},          {"0", std::nullopt},
      {"4", std::nullopt}, {"", std::nullopt}, {"2 ", std::nullopt}, {"12", std::nullopt}};
  for (const auto& [digit, code] : filters) EXPECT_EQ(FilterCode(digit), code) << digit;

  // In any case, "Yes" and "No" as the prompt writes them too.
  for (const std::string yes : {"yes", "YES", "Yes", "yEs", "Y", "y"})
    EXPECT_EQ(SelectedFromAnswer(yes), "1") << yes;
  for (const std::string no : {"no", "NO", "No", "N", "n"})
    EXPECT_EQ(SelectedFromAnswer(no), "0") << no;
  for (const std::string other : {"1", "", "ja", "yess", "yes "})
    EXPECT_EQ(SelectedFromAnswer(other), std::nullopt) << other;
  const std::vector<std::pair<std::string, unsigned char>> flags = {
      {"1", 0x01}, {" 1", 0x01}, {"0", 0x00}, {"", 0x00}, {"x", 0x00}, {"2", 0x00}, {"255", 0x00}};
  for (const auto& [text, flag] : flags) EXPECT_EQ(SelectedByte(text), flag) << text;

  EXPECT_EQ(RefusalText("Audio level", "200", "0 to 99"),
            "Audio level 200 ... is not a usable value. Accepted: 0 to 99.");
  EXPECT_EQ(RefusalText("Channel", "", "1 to 101"), "Channel is missing. Accepted: 1 to 101.");
  EXPECT_EQ(RefusalText("Command", "03 zz", "hex", "holds zz"),
            "Command 03 zz ... holds zz. Accepted: hex.");
  EXPECT_EQ(FirstNonHexToken("03 zz 1g"), "zz");
  EXPECT_EQ(FirstNonHexToken("03  fe"), "");
}

// The range a box names is the range the check applies: both ends are taken, one step
// beyond either is not, and a text with anything but the number in it never is.
TEST(CommandInput, AcceptedFormsNameExactlyTheRangesTheyCheck) {
  const std::vector<std::pair<TypedValue, std::string>> numeric = {
      {TypedValue::AudioLevel, "a number from 0 to 179"},
      {TypedValue::TimeOfDay, "HH:MM, hh and mm each a number from 0 to 99"},
      {TypedValue::ChannelToSelect, "a number from 1 to 179"},
      {TypedValue::ChannelToRead, "a number from 1 to 101"},
      {TypedValue::ChannelToWrite, "a number from 1 to 179"}};
  for (const auto& [value, named] : numeric) {
    const ValueForm& form = FormOf(value);
    const std::string low = std::to_string(static_cast<int>(form.lowest));
    const std::string high = std::to_string(static_cast<int>(form.highest));
    SCOPED_TRACE(AcceptedText(value));
    EXPECT_EQ(AcceptedText(value).rfind(named, 0), 0u);
    EXPECT_TRUE(IsAcceptedNumber(value, low));
    EXPECT_TRUE(IsAcceptedNumber(value, high));
    EXPECT_TRUE(IsAcceptedNumber(value, high + " "));
    EXPECT_FALSE(IsAcceptedNumber(value, std::to_string(static_cast<int>(form.lowest) - 1)));
    EXPECT_FALSE(IsAcceptedNumber(value, std::to_string(static_cast<int>(form.highest) + 1)));
    for (const std::string other : {"", "abc", "12abc", "1e999", "&H10", "1 2"})
      EXPECT_FALSE(IsAcceptedNumber(value, other)) << '"' << other << '"';
  }
  // 174 to 178 would put a link code (FA to FE) in the frame: the end byte FD would cut it.
  for (const TypedValue value :
       {TypedValue::AudioLevel, TypedValue::ChannelToSelect, TypedValue::ChannelToWrite}) {
    SCOPED_TRACE(AcceptedText(value));
    EXPECT_NE(AcceptedText(value).find(" except 174 to 178"), std::string::npos);
    for (const std::string number : {"173", "173.4", "179", "178.6"})
      EXPECT_TRUE(IsAcceptedNumber(value, number)) << number;
    for (const std::string number : {"174", "175", "176", "177", "178", "173.5", "178.4"})
      EXPECT_FALSE(IsAcceptedNumber(value, number)) << number;
  }
  for (const std::string channel : {"174", "177", "178"})
    EXPECT_EQ(ChannelCode(channel), std::nullopt) << channel;
  EXPECT_EQ(ChannelCode("179"), std::string("\x00\xFF", 2));
  EXPECT_EQ(civ::FirstLinkCodeCharacter("K\xFC\xFDL"), "\xFC");
  EXPECT_EQ(civ::FirstLinkCodeCharacter("K\xF9\xFF"), "");
  // The byte of the number a typed text begins with; 18.5 rounds to 18.
  const std::pair<const char*, int> toBcd[] = {
      {"7", 0x07},    {"42", 0x42},    {"0", 0x00},   {"99", 0x99},  {"100", 0xA0},
      {"109", 0xA9},  {"110", 0xBA},   {"150", 0xE2}, {"179", 0xFF}, {"12.5", 0x12},
      {"18.5", 0x18}, {"12abc", 0x12}, {"25", 0x25},  {"  5", 0x05}};
  for (const auto& [text, byte] : toBcd) {
    const civ::BcdByte result = TextToBcd(text);
    EXPECT_TRUE(result.Ok()) << text;
    EXPECT_EQ(result.byte, byte) << text;
  }
  const std::pair<const char*, int> errors[] = {{"", 79}, {"180", 179}, {"1000", 179}, {"-5", 179}};
  for (const auto& [text, error] : errors) EXPECT_EQ(TextToBcd(text).error, error) << text;
  EXPECT_TRUE(IsAcceptedNumber(TypedValue::AudioLevel, "12.5"));
  EXPECT_FALSE(IsAcceptedNumber(TypedValue::ModeWord, "1"));
  EXPECT_EQ(RefusalOf(TypedValue::FilterDigit, "4"),
            "Filter 4 ... is not a usable value. Accepted: 1, 2 or 3.");
}

TEST(CommandInput, FrequenciesAsTypedAndAsTheWindowShowsThem) {
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      // Digits as the prompt asks for them, kept for the padding rule.
      {"14255", "14255"},
      {"142550", "142550"},
      {"7050", "7050"},
      {"500", "500"},
      {"14255 ", "14255"},
      // The display form: MHz, kHz and the 100 Hz digit.
      {"14.255.0", "142550"},
      {"14.255", "142550"},
      {"7.05", "070500"},
      {"7.050.5", "070505"},
      {"14.2555", "142555"},
      {"0.5", "005000"},
      // Nothing else.
      {"abcdef", std::nullopt},
      {"14a55", std::nullopt},
      {"14", std::nullopt},
      {"1425500", std::nullopt},
      {"-14255", std::nullopt},
      {"14.2.5", std::nullopt},
      {"14.25555", std::nullopt},
      {"140.255", std::nullopt},
      {".255", std::nullopt},
      {"14.255.05", std::nullopt},
      {"14,255", std::nullopt}};
  for (const auto& [typed, digits] : cases)
    EXPECT_EQ(FrequencyDigitsOf(typed), digits) << '"' << typed << '"';
}

}  // namespace
}  // namespace tavrin
