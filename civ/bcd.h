// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Packed BCD as the transceiver speaks it: two decimal digits a byte, the tens in the high four
// bits and the units in the low four (42 is the byte 42 hex). Frequencies travel as five such
// bytes, the 10 Hz and 1 Hz digits first.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin::civ {

inline constexpr std::size_t kFrequencyBytes = 5;
// Ten digits: the largest frequency five bytes hold.
inline constexpr std::int64_t kHighestFrequencyHz = 9'999'999'999;

// A byte to its number: (high four bits) x 10 + (low four bits). Bytes that are not BCD decode
// the same way (1A gives 20, FF gives 165), as the transceiver's display would show them.
int BcdToNumber(unsigned char byte);

// The one byte for a number, as the converter makes it: 0..99 give their packed BCD byte,
// 100..109 give A0..A9, 110..179 give BA..FF (150 gives E2), halves rounding to the even
// neighbour. Error 179 for a number above 179 (or below 0, which has no byte form).
struct BcdByte {
  unsigned char byte = 0;
  int error = 0;  // 0, 79 (nothing to convert) or 179
  [[nodiscard]] bool Ok() const { return error == 0; }
};
BcdByte NumberToBcd(double number);

// Whether both halves of a byte are decimal digits.
[[nodiscard]] constexpr bool IsBcd(unsigned char byte) {
  return (byte >> 4) <= 9 && (byte & 0x0F) <= 9;
}
// 0..99 to its byte (42 gives 0x42).
unsigned char ToBcd(int value);
// A frequency in Hz (0 .. kHighestFrequencyHz) to its five bytes.
std::string FrequencyToBcd(std::int64_t hz);
// Five bytes to Hz; nothing when the length is wrong or a byte is not BCD.
std::optional<std::int64_t> FrequencyFromBcd(std::string_view bytes);

}  // namespace tavrin::civ
