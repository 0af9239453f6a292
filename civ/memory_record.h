// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 27 bytes of a memory channel on the bus: what the memory write (1A 00) sends after its
// command and what the answer to a memory read carries. Layout, from the record's first byte:
//
//   0-1   channel code: 00 and the BCD number for 1 to 99, 01 00 for P1 (100), 01 01 for P2 (101)
//   2     selected mark, 00 or 01 (the scan's "selected channel")
//   3-7   frequency, five BCD bytes, the 10 Hz and 1 Hz digits first
//   8     mode code (the mode table)
//   9     filter, 01 to 03
//   10-16 tone block: tone type, then two 3-byte BCD tone frequencies
//   17-26 label, ten characters
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin::civ {

inline constexpr std::size_t kMemoryRecordLength = 27;
inline constexpr std::size_t kRecordChannel = 0;
inline constexpr std::size_t kRecordSelected = 2;
inline constexpr std::size_t kRecordFrequency = 3;
inline constexpr std::size_t kRecordMode = 8;
inline constexpr std::size_t kRecordFilter = 9;
inline constexpr std::size_t kRecordTone = 10;
inline constexpr std::size_t kRecordLabel = 17;
inline constexpr std::size_t kToneBlockLength = 7;
inline constexpr std::size_t kLabelLength = 10;

// The two-byte code of memory channel 1..101.
std::string MemoryChannelCode(int channel);
// The channel a code names (1..99, 100 for P1, 101 for P2); nothing for any other code.
std::optional<int> ChannelOfCode(std::string_view code);
// Tone type 00, then 88.5 Hz both ways: the block every record carries.
std::string DefaultToneBlock();
// The label as ten bytes: its first ten characters, padded with blanks.
std::string LabelBytes(const std::string& label);

struct MemoryRecord {
  std::string channel = std::string(2, '\0');
  unsigned char selected = 0;
  std::string frequency = std::string(5, '\0');
  unsigned char mode = 0;
  unsigned char filter = 0;
  std::string tone = DefaultToneBlock();
  std::string label = std::string(kLabelLength, ' ');

  // The 27 bytes.
  [[nodiscard]] std::string Bytes() const;
  // 27 bytes taken apart as they are; nothing for any other length.
  static std::optional<MemoryRecord> FromBytes(std::string_view bytes);
  // Whether it may become data: every BCD nibble a digit, the mark 00 or 01, a known mode and
  // filter. CI-V carries no checksum, so a record from the transceiver is checked so.
  [[nodiscard]] bool WellFormed() const;
  bool operator==(const MemoryRecord&) const = default;
};

}  // namespace tavrin::civ
