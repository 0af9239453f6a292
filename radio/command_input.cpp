// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/command_input.h"

#include <cmath>

#include "app/leading_number.h"
#include "app/text_functions.h"
#include "civ/command_bytes.h"
#include "civ/memory_record.h"
#include "civ/mode_table.h"

namespace tavrin {

namespace {

// Characters `start` (from 0) and the next `count` that exist, as a text.
std::string Piece(const std::string& text, std::size_t start, std::size_t count) {
  if (start >= text.size()) return {};
  return text.substr(start, count);
}

std::optional<unsigned char> BcdOf(const std::string& text) {
  const civ::BcdByte converted = TextToBcd(text);
  if (!converted.Ok() || civ::IsLinkCode(converted.byte)) return std::nullopt;
  return converted.byte;
}

// 174 is the first number that converts to a link code (FA).
constexpr double kFirstLinkCodeNumber = 174;

// The text without the blanks at its end.
std::string WithoutTrailingBlanks(const std::string& text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// A piece that is one whole number within the range of `value`, as its BCD byte.
std::optional<unsigned char> AcceptedBcd(TypedValue value, const std::string& piece) {
  if (!IsAcceptedNumber(value, piece)) return std::nullopt;
  return BcdOf(piece);
}

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

}  // namespace

civ::BcdByte TextToBcd(const std::string& text) {
  if (text.empty()) return {0, 79};
  return civ::NumberToBcd(LeadingNumber(text));
}

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

std::string FirstNonHexToken(const std::string& answer) {
  for (const std::string& token : SplitManualCommand(answer)) {
    if (!token.empty() && !HexByteToken(token)) return token;
  }
  return {};
}

std::string CallSignBytes(const std::string& answer) {
  std::string call = answer;
  if (call.size() < 10) call.resize(10, ' ');
  FoldToCapitals(call);
  return call;
}

bool HasTimeForm(const std::string& answer) { return answer.size() >= 3 && answer[2] == ':'; }

std::optional<std::string> TimeBytes(const std::string& answer) {
  if (!WithoutTrailingBlanks(Piece(answer, 5, std::string::npos)).empty()) return std::nullopt;
  const auto hours = AcceptedBcd(TypedValue::TimeOfDay, Piece(answer, 0, 2));
  const auto minutes = AcceptedBcd(TypedValue::TimeOfDay, Piece(answer, 3, 2));
  if (!hours || !minutes) return std::nullopt;
  return std::string{static_cast<char>(*hours), static_cast<char>(*minutes)};
}

std::optional<std::string> ChannelCode(const std::string& channelText) {
  const std::string channel = WithoutTrailingBlanks(channelText);
  if (channel == "100") return civ::MemoryChannelCode(100);
  if (channel == "101") return civ::MemoryChannelCode(101);
  if (!PlainNumber(channel)) return std::nullopt;
  const auto number = BcdOf(channel);
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
  const civ::Mode* mode = civ::ModeTypedAs(word);
  if (mode == nullptr) return std::nullopt;
  return mode->code;
}

std::optional<unsigned char> FilterCode(const std::string& digit) {
  const civ::Filter* filter = civ::FilterTypedAs(digit);
  if (filter == nullptr) return std::nullopt;
  return filter->code;
}

std::optional<std::string> SelectedFromAnswer(const std::string& answer) {
  const std::string upper = FoldedToCapitals(answer);
  if (upper == "YES" || upper == "Y") return "1";
  if (upper == "NO" || upper == "N") return "0";
  return std::nullopt;
}

unsigned char SelectedByte(const std::string& selectedText) {
  return std::nearbyint(LeadingNumber(selectedText)) == 1 ? 0x01 : 0x00;
}

const ValueForm& FormOf(TypedValue value) {
  // The level, time and channel pieces go through the one-byte BCD conversion, whose largest
  // value is 179; what the transceiver makes of a value its own range does not hold is its
  // answer to give (it refuses a channel of 150 or a time of 25:75).
  // The letters \xFA to \xFE have the bytes of the link's own codes (the end of a frame FD, its
  // start FE, the answers FA and FB, the collision signal FC): in a frame they would cut it.
  static constexpr const char* kWithoutLinkCodes =
      "up to 10 letters, digits and signs, but not \xFA \xFB \xFC \xFD \xFE (their bytes FA to FE "
      "are the link's own codes)";
  static const std::array<ValueForm, 11> kForms = {{
      {"Audio level", true, 0, 179, "", " (the transceiver's levels are 0 to 99)"},
      {"Time", true, 0, 99, "HH:MM, hh and mm each ", " (a time of day is 00:00 to 23:59)"},
      {"Channel", true, 1, 179, "", " (memory channels are 1 to 99, 100 for P1 and 101 for P2)"},
      {"Channel", true, 1, 101, "", " (100 for P1, 101 for P2)"},
      {"Channel", true, 1, 179, "",
       ", of the three-digit numbers only those ending in 0 or 1 (memory channels are 1 to 99, "
       "100 for P1 and 101 for P2)"},
      {"Frequency", false, 0, 0, "",
       "3 to 6 digits, MMkkk or MmKkCc (14255 or 142550 for 14.255.0 MHz), or the frequency as "
       "the window shows it (14.255.0, 14.255, 7.05)"},
      {"Mode", false, 0, 0, "", "Lsb, Usb, Am, Cw, Rtty, Fm, Cwr, Rttyr, in any case"},
      {"Filter", false, 0, 0, "", "1, 2 or 3"},
      {"Selected", false, 0, 0, "", "Yes or No (Y or N), in any case"},
      {"Command", false, 0, 0, "",
       "1 to 4 bytes separated by blanks, each 1 or 2 hexadecimal digits (00 to FF)"},
      {"Label", false, 0, 0, "", kWithoutLinkCodes},
  }};
  return kForms[static_cast<std::size_t>(value)];
}

std::string AcceptedText(TypedValue value) {
  const ValueForm& form = FormOf(value);
  std::string text = form.before;
  if (form.numeric)
    text += "a number from " + NumberText(form.lowest) + " to " + NumberText(form.highest);
  if (form.numeric && form.highest >= kFirstLinkCodeNumber)
    text += " except 174 to 178";  // their bytes FA to FE are the link's own codes
  return text + form.after;
}

bool IsAcceptedNumber(TypedValue value, const std::string& text) {
  const ValueForm& form = FormOf(value);
  const auto number = PlainNumber(text);
  if (!form.numeric || !number || *number < form.lowest || *number > form.highest) return false;
  // The byte the value is sent as must not be a link code (174 to 178 give FA to FE).
  return !civ::IsLinkCode(TextToBcd(text).byte);
}

std::string RefusalOf(TypedValue value, const std::string& typed) {
  return RefusalText(FormOf(value).what, typed, AcceptedText(value));
}

std::optional<std::string> FrequencyDigitsOf(const std::string& typed) {
  const std::string text = WithoutTrailingBlanks(typed);
  const auto point = text.find('.');
  if (point == std::string::npos) {
    if (!AllDigits(text) || text.size() < 3 || text.size() > 6) return std::nullopt;
    return text;
  }
  // The display form: MHz, a point, kHz, and after a second point the 100 Hz digit.
  const std::string megahertz = text.substr(0, point);
  std::string kilohertz = text.substr(point + 1);
  std::string hundreds = "0";
  const auto second = kilohertz.find('.');
  if (second != std::string::npos) {
    hundreds = kilohertz.substr(second + 1);
    kilohertz.resize(second);
    if (kilohertz.size() != 3 || hundreds.size() != 1) return std::nullopt;
  } else if (kilohertz.size() == 4) {
    // 14.2555: the fourth decimal is the 100 Hz digit.
    hundreds = kilohertz.substr(3);
    kilohertz.resize(3);
  }
  if (!AllDigits(megahertz) || megahertz.size() > 2 || !AllDigits(kilohertz) ||
      kilohertz.size() > 3 || !AllDigits(hundreds))
    return std::nullopt;
  kilohertz.resize(3, '0');  // 7.05 is 7.050 MHz
  return std::string(2 - megahertz.size(), '0') + megahertz + kilohertz + hundreds;
}

std::string RefusalText(const std::string& what, const std::string& value,
                        const std::string& accepted, const std::string& reason) {
  if (value.empty()) return what + " is missing. Accepted: " + accepted + ".";
  return what + " " + value + " ... " + reason + ". Accepted: " + accepted + ".";
}

}  // namespace tavrin
