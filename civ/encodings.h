// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The byte forms the CI-V frames carry: packed BCD numbers, frequencies, times, and the mode,
// filter and S-meter tables.
#include <optional>
#include <string>

namespace tavrin {

// A packed BCD byte to its number: (high four bits) x 10 + (low four bits). Bytes that are not
// BCD decode the same way (1A gives 20, FF gives 165).
int BcdToNumber(unsigned char byte);

// The byte for the number that a text begins with: 0..99 give their packed BCD byte, 100..109
// give A0..A9, 110..179 give BA..FF (150 gives E2). Error numbers: 79 for an empty text, 179
// for a number above 179 (and for a negative one, which has no byte form).
struct BcdByte {
  unsigned char byte = 0;
  int error = 0;  // 0, 79 or 179
  [[nodiscard]] bool Ok() const { return error == 0; }
};
BcdByte NumberToBcd(const std::string& text);

// Two MHz digits, a point, three kHz digits, a point, the 100 Hz digit: 14, 19, 50 give
// "14.195.0". Values above 99 give characters beyond '9', as the radio would show them.
std::string FormatFrequency(int a, int b, int c);
// "hh:mm".
std::string FormatTime(int h, int m);
// Each byte as one blank and its decimal value: FE 03 gives " 254 3".
std::string ToDecimalList(const std::string& bytes);

// "LSB", "USB", "AM", "CW", "RTTY", "FM", "CWr", "RTTYr" for 00..05, 07, 08; none otherwise.
std::optional<std::string> ModeText(int code);
// "Fil 1", "Fil 2", "Fil 3" for 1..3; none otherwise.
std::optional<std::string> FilterText(int code);
// The S-meter label for a level reply's high and low bytes (raw byte values).
std::string SMeterLabel(int high, int low);

}  // namespace tavrin
