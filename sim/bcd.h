// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Packed BCD as the transceiver speaks it: two decimal digits a byte, tens in the high four
// bits. Frequencies travel as five bytes, least significant pair first.
//
// The simulator is the other end of the wire and keeps its own encoding of the protocol,
// written from the transceiver's side and independent of the control program's (civ/): a test
// that runs the program against it checks the program's encodings, not a copy of them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin::sim {

inline constexpr std::size_t kFrequencyBytes = 5;

// 0..99 to one byte (42 gives 0x42).
char ToBcd(int value);
// One byte to 0..99; nothing when a half is not a decimal digit.
std::optional<int> FromBcd(char byte);
// A frequency in Hz (0..9 999 999 999) to its five bytes.
std::string FrequencyToBcd(std::int64_t hz);
// Five bytes to Hz; nothing when the length is wrong or a byte is not BCD.
std::optional<std::int64_t> FrequencyFromBcd(std::string_view bytes);

}  // namespace tavrin::sim
