// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the operator types into the radio window's input boxes, turned into CI-V bytes: manual
// hexadecimal commands, the audio level, the time of day, the call sign, memory channel
// numbers, frequency digits, mode words, filter digits, the "selected" answer and the label.
// Pure conversions: no window, no link, no toolkit. A value that has no byte form gives no
// result, and the command that asked for it refuses it.
#include <array>
#include <optional>
#include <string>

#include "civ/bcd.h"

namespace tavrin {

// --- Answers ---------------------------------------------------------------------------

// The byte for the number a typed text begins with (the converter of civ/bcd.h): error 79 for
// an empty text, 179 for a number without a byte form.
civ::BcdByte TextToBcd(const std::string& text);

// The radio window's rule for an answer it cannot use: empty (or Cancel), exactly "0", or
// beginning with a blank.
bool IsUnusableAnswer(const std::string& answer);
// The memory commands' rule: empty, exactly "0" or exactly " ".
bool IsUnusableMemoryText(const std::string& text);

// --- Manual commands -------------------------------------------------------------------

// Exactly four tokens, each running from its start up to the next blank or the end of the
// text; every token after the first starts behind the blank that ended the one before. Two
// blanks in a row give an empty token, and whatever follows the fourth token is ignored.
std::array<std::string, 4> SplitManualCommand(const std::string& text);
// The byte that a token's first two characters spell in hexadecimal, case ignored; a token
// of one character reads as "0" and that character. None for an empty token or one whose
// first two characters are not both hexadecimal digits.
std::optional<unsigned char> HexByteToken(const std::string& token);
// The one to four command bytes of a manual command, or none when a token is not
// hexadecimal (then nothing of the command may be sent).
std::optional<std::string> ManualCommandBytes(const std::string& answer);
// The first token of a manual command that is not a hexadecimal byte, or the empty text.
std::string FirstNonHexToken(const std::string& answer);

// --- Call sign and time ----------------------------------------------------------------

// The answer padded with blanks to ten characters (a longer one is kept whole) and folded
// to capitals.
std::string CallSignBytes(const std::string& answer);
// A time answer has ":" as its third character ("07:05").
bool HasTimeForm(const std::string& answer);
// Hours from characters 1-2 and minutes from characters 4-5, each as a BCD byte; none when
// a piece is not a number from 0 to 99 ("12:" has no minutes, "ab:cd" no numbers) or when
// anything but blanks follows the minutes.
std::optional<std::string> TimeBytes(const std::string& answer);

// --- Memory channels -------------------------------------------------------------------

// "100" gives 01 00 (P1), "101" gives 01 01 (P2), any other text 00 and the BCD byte of its
// number ("7" gives 00 07, "150" gives 00 E2); none above 179 or below 0, none for 174 to 178
// (their bytes are link codes), and none for a text that is not one number ("abc", "5x").
// Blanks after the number are harmless.
std::optional<std::string> ChannelCode(const std::string& channelText);
// A memory read of a code whose second byte is 9A or more cannot be a channel.
bool IsReadableChannelCode(const std::string& code);
// Of the three-digit channel numbers only those ending in 0 or 1 can be written (100, 101).
bool IsUnwritableChannelText(const std::string& channelText);

// --- Frequency -------------------------------------------------------------------------

// Four digits get "0" put in front, three digits "00", so that MMkkk and MmKkCc line up.
std::string PadFrequencyDigits(const std::string& digits);
// The padded digits as three BCD bytes: characters 1-2 (10 MHz and 1 MHz), 3-4 (100 kHz and
// 10 kHz) and 5-6 (1 kHz and 100 Hz, a lone 1 kHz digit getting a 0 behind it). None when a
// piece has no byte form (a text of one or two characters has no second piece).
std::optional<std::array<unsigned char, 3>> FrequencyBytes(const std::string& paddedDigits);

// --- Mode, filter, selected, label -----------------------------------------------------

// The code of a mode word, case ignored (the mode table's typed words): LSB 00, USB 01, AM 02,
// CW 03, RTTY 04, FM 05, CWR 07, RTTYR 08 (so the window's own "CWr" and "RTTYr" read back).
// None for any other text.
std::optional<unsigned char> ModeCode(const std::string& word);
// "1", "2" and "3" give the filter bytes 01, 02 and 03; none for any other text.
std::optional<unsigned char> FilterCode(const std::string& digit);
// "yes" and "y" give "1", "no" and "n" give "0", in any case ("Yes", "nO"); none for any
// other answer.
std::optional<std::string> SelectedFromAnswer(const std::string& answer);
// The selected flag of a memory record: 01 when the text's number is 1, otherwise 00.
unsigned char SelectedByte(const std::string& selectedText);

// --- Accepted forms --------------------------------------------------------------------

// The values the operator types, each with the one form the program accepts for it.
enum class TypedValue {
  AudioLevel,
  TimeOfDay,
  ChannelToSelect,
  ChannelToRead,
  ChannelToWrite,
  Frequency,
  ModeWord,
  FilterDigit,
  SelectedAnswer,
  ManualCommand,
  Label
};

// What a typed value may be. A numeric form accepts a text that is one number from `lowest`
// to `highest` and nothing else (blanks after it aside); the check and the text shown to the
// operator both come from this one row.
struct ValueForm {
  const char* what;  // the value's name in a refusal: "Audio level", "Channel"
  bool numeric;      // a number within lowest .. highest
  double lowest;
  double highest;
  const char* before;  // text in front of the range ("HH:MM, hh and mm each ")
  const char* after;   // text behind it, or the whole form of a value that is no number
};
const ValueForm& FormOf(TypedValue value);
// "a number from 0 to 179 ...", as the refusal boxes show it.
std::string AcceptedText(TypedValue value);
// The whole text is one number (an optional sign, digits with at most one decimal point, an
// optional exponent; blanks around it) within the form's range, and not one of 174 to 178,
// whose bytes are link codes. "abc", "12abc", "1e999" and the empty text are not.
bool IsAcceptedNumber(TypedValue value, const std::string& text);
// The refusal text of a typed value: its name, the value and AcceptedText.
std::string RefusalOf(TypedValue value, const std::string& typed);

// The frequency digits that a typed frequency stands for: 3 to 6 digits as typed (MMkkk or
// MmKkCc), or the window's own display form read as MHz, kHz and 100 Hz ("14.255.0",
// "14.255" and "7.05" give "142550", "142550" and "070500"). Blanks after it are dropped.
// None for anything else ("abcdef", "14", "1425500", "14.2.5").
std::optional<std::string> FrequencyDigitsOf(const std::string& typed);

// --- Refusals --------------------------------------------------------------------------

// The text of a refusal: "Channel 200 ... is not a usable value. Accepted: 1 to 101." (or
// "Channel is missing. Accepted: 1 to 101." for an empty value).
// With a `reason` it stands in place of "is not a usable value".
std::string RefusalText(const std::string& what, const std::string& value,
                        const std::string& accepted,
                        const std::string& reason = "is not a usable value");

}  // namespace tavrin
