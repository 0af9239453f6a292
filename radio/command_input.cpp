#include "radio/command_input.h"

#include <cmath>

#include "app/text_functions.h"
#include "civ/encodings.h"

namespace tavrin {

namespace {

// Characters `start` (from 0) and the next `count` that exist, as a text.
std::string Piece(const std::string& text, std::size_t start, std::size_t count) {
  if (start >= text.size()) return {};
  return text.substr(start, count);
}

std::optional<unsigned char> BcdOf(const std::string& text) {
  const BcdByte converted = NumberToBcd(text);
  if (!converted.Ok()) return std::nullopt;
  return converted.byte;
}

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

}  // namespace

bool IsUnusableAnswer(const std::string& answer) {
  return answer.empty() || answer == "0" || answer[0] == ' ';
}

bool IsUnusableMemoryText(const std::string& text) {
  return text.empty() || text == "0" || text == " ";
}

std::array<std::string, 4> SplitManualCommand(const std::string& text) {
  std::array<std::string, 4> tokens;
  std::size_t start = 0;
  for (std::string& token : tokens) {
    if (start > text.size()) break;
    const std::size_t blank = text.find(' ', start);
    const std::size_t end = blank == std::string::npos ? text.size() : blank;
    token = text.substr(start, end - start);
    start = end + 1;
  }
  return tokens;
}

std::optional<unsigned char> HexByteToken(const std::string& token) {
  if (token.empty()) return std::nullopt;
  std::string pair = FoldedToCapitals(Piece(token, 0, 2));
  if (pair.size() == 1) pair.insert(pair.begin(), '0');
  const auto high = HexDigit(pair[0]);
  const auto low = HexDigit(pair[1]);
  if (!high || !low) return std::nullopt;
  return static_cast<unsigned char>(16 * *high + *low);
}

std::optional<std::string> ManualCommandBytes(const std::string& answer) {
  std::string bytes;
  for (const std::string& token : SplitManualCommand(answer)) {
    if (token.empty()) continue;
    const auto byte = HexByteToken(token);
    if (!byte) return std::nullopt;
    bytes += static_cast<char>(*byte);
  }
  return bytes;
}

std::string CallSignBytes(const std::string& answer) {
  std::string call = answer;
  if (call.size() < 10) call.resize(10, ' ');
  FoldToCapitals(call);
  return call;
}

bool HasTimeForm(const std::string& answer) { return answer.size() >= 3 && answer[2] == ':'; }

std::optional<std::string> TimeBytes(const std::string& answer) {
  const auto hours = BcdOf(Piece(answer, 0, 2));
  const auto minutes = BcdOf(Piece(answer, 3, 2));
  if (!hours || !minutes) return std::nullopt;
  return std::string{static_cast<char>(*hours), static_cast<char>(*minutes)};
}

std::optional<std::string> ChannelCode(const std::string& channelText) {
  if (channelText == "100") return std::string("\x01\x00", 2);
  if (channelText == "101") return std::string("\x01\x01", 2);
  const auto number = BcdOf(channelText);
  if (!number) return std::nullopt;
  return std::string{'\0', static_cast<char>(*number)};
}

bool IsReadableChannelCode(const std::string& code) {
  return code.size() == 2 && static_cast<unsigned char>(code[1]) < 0x9A;
}

bool IsUnwritableChannelText(const std::string& channelText) {
  return channelText.size() == 3 && channelText[2] >= '2' && channelText[2] <= '9';
}

std::string PadFrequencyDigits(const std::string& digits) {
  if (digits.size() == 4) return "0" + digits;
  if (digits.size() == 3) return "00" + digits;
  return digits;
}

std::optional<std::array<unsigned char, 3>> FrequencyBytes(const std::string& paddedDigits) {
  std::string last = Piece(paddedDigits, 4, 2);
  // MMkkk: the lone last digit is the 1 kHz digit, and the 100 Hz digit is 0.
  if (last.size() == 1) last += '0';
  const auto megahertz = BcdOf(Piece(paddedDigits, 0, 2));
  const auto tensOfKilohertz = BcdOf(Piece(paddedDigits, 2, 2));
  const auto kilohertz = BcdOf(last);
  if (!megahertz || !tensOfKilohertz || !kilohertz) return std::nullopt;
  return std::array<unsigned char, 3>{*megahertz, *tensOfKilohertz, *kilohertz};
}

std::optional<unsigned char> ModeCode(const std::string& word) {
  struct Mode {
    const char* word;
    unsigned char code;
  };
  static constexpr std::array<Mode, 8> kModes = {{{"LSB", 0x00},
                                                  {"USB", 0x01},
                                                  {"AM", 0x02},
                                                  {"CW", 0x03},
                                                  {"RTTY", 0x04},
                                                  {"FM", 0x05},
                                                  {"CWR", 0x07},
                                                  {"RTTYR", 0x08}}};
  const std::string upper = FoldedToCapitals(word);
  for (const Mode& mode : kModes)
    if (upper == mode.word) return mode.code;
  return std::nullopt;
}

std::optional<unsigned char> FilterCode(const std::string& digit) {
  if (digit == "1") return 0x01;
  if (digit == "2") return 0x02;
  if (digit == "3") return 0x03;
  return std::nullopt;
}

std::optional<std::string> SelectedFromAnswer(const std::string& answer) {
  if (answer == "yes" || answer == "YES" || answer == "Y" || answer == "y") return "1";
  if (answer == "no" || answer == "NO" || answer == "N" || answer == "n") return "0";
  return std::nullopt;
}

unsigned char SelectedByte(const std::string& selectedText) {
  return std::nearbyint(LeadingNumber(selectedText)) == 1 ? 0x01 : 0x00;
}

std::string LabelBytes(const std::string& label) {
  std::string bytes = label.substr(0, 10);
  bytes.resize(10, ' ');
  return bytes;
}

std::string RefusalText(const std::string& what, const std::string& value,
                        const std::string& accepted) {
  if (value.empty()) return what + " is missing. Accepted: " + accepted + ".";
  return what + " " + value + " ... is not a usable value. Accepted: " + accepted + ".";
}

}  // namespace tavrin
