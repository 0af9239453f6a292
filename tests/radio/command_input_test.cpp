// Conversions of what the operator types into CI-V bytes.
#include "radio/command_input.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tavrin {
namespace {

std::string B(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values) bytes += static_cast<char>(v);
  return bytes;
}

TEST(CommandInput, UnusableAnswers) {
  struct Case {
    std::string text;
    bool radioUnusable;   // prompted commands: empty, "0", leading blank
    bool memoryUnusable;  // memory commands: empty, "0", exactly " "
  };
  const std::vector<Case> cases = {
      {"", true, true},     {"0", true, true},    {" ", true, true},
      {" 5", true, false},  {"5", false, false},  {"00", false, false},
      {"0 ", false, false}, {"5 ", false, false}, {"abc", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsUnusableAnswer(c.text), c.radioUnusable) << '"' << c.text << '"';
    EXPECT_EQ(IsUnusableMemoryText(c.text), c.memoryUnusable) << '"' << c.text << '"';
  }
}

TEST(CommandInput, SplitManualCommandReadsExactlyFourTokens) {
  struct Case {
    std::string text;
    std::array<std::string, 4> tokens;
  };
  const std::vector<Case> cases = {
      {"1a 05 00 15", {"1a", "05", "00", "15"}},
      {"07  d0", {"07", "", "d0", ""}},
      {"1A 05 00 15 20", {"1A", "05", "00", "15"}},
      {"fe", {"fe", "", "", ""}},
      {"03 ", {"03", "", "", ""}},
      {"", {"", "", "", ""}},
      {"a b c d e f", {"a", "b", "c", "d"}},
      {"1 2 ", {"1", "2", "", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitManualCommand(c.text), c.tokens) << c.text;
}

TEST(CommandInput, HexByteToken) {
  struct Case {
    std::string token;
    std::optional<unsigned char> byte;
  };
  const std::vector<Case> cases = {
      {"fe", 0xFE},         {"FE", 0xFE},         {"3", 0x03},
      {"a", 0x0A},          {"1a0", 0x1A},        {"00", 0x00},
      {"9F", 0x9F},         {"1az", 0x1A},        {"g", std::nullopt},
      {"1g", std::nullopt}, {"x1", std::nullopt}, {"", std::nullopt},
      {"{0", std::nullopt}, {"-1", std::nullopt}, {"\xE1\x31", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(HexByteToken(c.token), c.byte) << c.token;
}

TEST(CommandInput, ManualCommandBytesRefuseTheWholeCommandForOneBadToken) {
  struct Case {
    std::string answer;
    std::optional<std::string> bytes;
  };
  const std::vector<Case> cases = {
      {"1a 05 00 15", B({0x1A, 0x05, 0x00, 0x15})},
      {"3", B({0x03})},
      {"07  d0", B({0x07, 0xD0})},
      {"1A 05 00 15 20", B({0x1A, 0x05, 0x00, 0x15})},
      {"1A 05 00 15 zz", B({0x1A, 0x05, 0x00, 0x15})},  // past the fourth token: ignored
      {"03 zz", std::nullopt},
      {"q", std::nullopt},
      {"1a 05 0o 15", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ManualCommandBytes(c.answer), c.bytes) << c.answer;
}

TEST(CommandInput, CallSignIsPaddedToTenAndFolded) {
  EXPECT_EQ(CallSignBytes("ab1cd"), "AB1CD     ");
  EXPECT_EQ(CallSignBytes("k1abc/portab"), "K1ABC/PORTAB");  // longer: sent whole
  EXPECT_EQ(CallSignBytes("w{1"), "W[1       ");
}

TEST(CommandInput, TimeOfDay) {
  struct Case {
    std::string answer;
    bool form;
    std::optional<std::string> bytes;
  };
  const std::vector<Case> cases = {
      {"07:05", true, B({0x07, 0x05})}, {"25:75", true, B({0x25, 0x75})},
      {"12:5", true, B({0x12, 0x05})},  {"23:59:30", true, B({0x23, 0x59})},
      {"12:", true, std::nullopt},      {"12:-5", true, std::nullopt},
      {"-1:00", true, std::nullopt},    {"0705", false, std::nullopt},
      {"7:30", false, std::nullopt},    {"12", false, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasTimeForm(c.answer), c.form) << c.answer;
    if (c.form) {
      EXPECT_EQ(TimeBytes(c.answer), c.bytes) << c.answer;
    }
  }
}

TEST(CommandInput, ChannelCode) {
  struct Case {
    std::string text;
    std::optional<std::string> code;
    bool readable;
    bool unwritable;
  };
  const std::vector<Case> cases = {
      {"7", B({0x00, 0x07}), true, false},    {"7 ", B({0x00, 0x07}), true, false},
      {"42", B({0x00, 0x42}), true, false},   {"99", B({0x00, 0x99}), true, false},
      {"100", B({0x01, 0x00}), true, false},  {"101", B({0x01, 0x01}), true, false},
      {"102", B({0x00, 0xA2}), false, true},  {"105", B({0x00, 0xA5}), false, true},
      {"110", B({0x00, 0xBA}), false, false}, {"150", B({0x00, 0xE2}), false, false},
      {"179", B({0x00, 0xFF}), false, true},  {"180", std::nullopt, false, false},
      {"200", std::nullopt, false, false},    {"-5", std::nullopt, false, false},
      {"1000", std::nullopt, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChannelCode(c.text), c.code) << c.text;
    if (c.code) {
      EXPECT_EQ(IsReadableChannelCode(*c.code), c.readable) << c.text;
    }
    EXPECT_EQ(IsUnwritableChannelText(c.text), c.unwritable) << c.text;
  }
}

TEST(CommandInput, FrequencyDigits) {
  struct Case {
    std::string digits;
    std::string padded;
    std::optional<std::array<unsigned char, 3>> bytes;  // MHz, 100/10 kHz, 1 kHz/100 Hz
  };
  using A = std::array<unsigned char, 3>;
  const std::vector<Case> cases = {
      {"142250", "142250", A{0x14, 0x22, 0x50}},  // MmKkCc
      {"14255", "14255", A{0x14, 0x25, 0x50}},    // MMkkk: the 100 Hz digit is 0
      {"142505", "142505", A{0x14, 0x25, 0x05}},
      {"7050", "07050", A{0x07, 0x05, 0x00}},
      {"500", "00500", A{0x00, 0x50, 0x00}},
      {"1422505", "1422505", A{0x14, 0x22, 0x50}},  // past the sixth digit: ignored
      {"14", "14", std::nullopt},
      {"7", "7", std::nullopt},
      {"-14255", "-14255", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PadFrequencyDigits(c.digits), c.padded) << c.digits;
    EXPECT_EQ(FrequencyBytes(c.padded), c.bytes) << c.digits;
  }
}

TEST(CommandInput, ModeWordsInAnyCase) {
  struct Case {
    std::string word;
    std::optional<unsigned char> code;
  };
  const std::vector<Case> cases = {
      {"lsb", 0x00},         {"LSB", 0x00},          {"Lsb", 0x00},         {"usb", 0x01},
      {"USB", 0x01},         {"Usb", 0x01},          {"am", 0x02},          {"AM", 0x02},
      {"Am", 0x02},          {"cw", 0x03},           {"CW", 0x03},          {"cW", 0x03},
      {"rtty", 0x04},        {"RTTY", 0x04},         {"Rtty", 0x04},        {"fm", 0x05},
      {"FM", 0x05},          {"Fm", 0x05},           {"cwr", 0x07},         {"CWR", 0x07},
      {"CWr", 0x07},         {"Cwr", 0x07},          {"rttyr", 0x08},       {"RTTYR", 0x08},
      {"RTTYr", 0x08},       {"Rttyr", 0x08},        {"", std::nullopt},    {"L", std::nullopt},
      {"xyz", std::nullopt}, {"usb ", std::nullopt}, {"AM2", std::nullopt}, {"RTT", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ModeCode(c.word), c.code) << '"' << c.word << '"';
}

TEST(CommandInput, FilterDigits) {
  struct Case {
    std::string digit;
    std::optional<unsigned char> code;
  };
  const std::vector<Case> cases = {
      {"1", 0x01},         {"2", 0x02},        {"3", 0x03},          {"0", std::nullopt},
      {"4", std::nullopt}, {"", std::nullopt}, {"2 ", std::nullopt}, {"12", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FilterCode(c.digit), c.code) << '"' << c.digit << '"';
}

TEST(CommandInput, SelectedAnswerAndFlag) {
  for (const std::string yes : {"yes", "YES", "Y", "y"}) EXPECT_EQ(SelectedFromAnswer(yes), "1");
  for (const std::string no : {"no", "NO", "N", "n"}) EXPECT_EQ(SelectedFromAnswer(no), "0");
  for (const std::string other : {"Yes", "No", "1", "", "ja"})
    EXPECT_EQ(SelectedFromAnswer(other), std::nullopt) << other;

  struct Case {
    std::string text;
    unsigned char flag;
  };
  const std::vector<Case> cases = {
      {"1", 0x01}, {" 1", 0x01}, {"0", 0x00}, {"", 0x00}, {"x", 0x00}, {"2", 0x00}, {"255", 0x00},
  };
  for (const auto& c : cases) EXPECT_EQ(SelectedByte(c.text), c.flag) << '"' << c.text << '"';
}

TEST(CommandInput, LabelIsTenCharacters) {
  EXPECT_EQ(LabelBytes("ABC"), "ABC       ");
  EXPECT_EQ(LabelBytes(""), std::string(10, ' '));
  EXPECT_EQ(LabelBytes("0123456789AB"), "0123456789");
}

TEST(CommandInput, RefusalTextNamesTheValueAndWhatIsAccepted) {
  EXPECT_EQ(RefusalText("Audio level", "200", "0 to 99"),
            "Audio level 200 ... is not a usable value. Accepted: 0 to 99.");
  EXPECT_EQ(RefusalText("Channel", "", "1 to 101"), "Channel is missing. Accepted: 1 to 101.");
}

}  // namespace
}  // namespace tavrin
