// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One memory channel of the transceiver: blank, or a stored frequency, mode, filter, tone
// block and ten-character name with its "selected" mark (used for scanning).
#include <cstdint>
#include <string>

namespace tavrin::sim {

inline constexpr int kChannelCount = 101;  // 1..99, then P1 (100) and P2 (101)
inline constexpr std::size_t kNameLength = 10;
inline constexpr std::size_t kToneLength = 7;

// Tone type, then two 3-byte BCD tone frequencies: 88.5 Hz both ways.
inline std::string DefaultToneBlock() { return std::string("\x00\x00\x08\x85\x00\x08\x85", 7); }

struct MemoryChannel {
  bool blank = true;
  bool selected = false;
  std::int64_t frequencyHz = 0;
  std::uint8_t mode = 0x00;
  std::uint8_t filter = 1;
  std::string tone = DefaultToneBlock();
  std::string name = std::string(kNameLength, ' ');

  // A filled channel with the default tone block; the name is padded or cut to ten.
  static MemoryChannel Filled(std::int64_t hz, std::uint8_t mode, std::uint8_t filter,
                              std::string name, bool selected = false);
};

}  // namespace tavrin::sim
