// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/memory_record.h"

#include <algorithm>

#include "civ/bcd.h"
#include "civ/mode_table.h"

namespace tavrin::civ {

std::string MemoryChannelCode(int channel) {
  if (channel >= 100) return std::string{'\x01', static_cast<char>(channel - 100)};
  return std::string{'\x00', static_cast<char>(ToBcd(channel))};
}

std::optional<int> ChannelOfCode(std::string_view code) {
  if (code.size() != 2) return std::nullopt;
  const auto high = static_cast<unsigned char>(code[0]);
  const auto low = static_cast<unsigned char>(code[1]);
  if (high == 0x01 && low <= 0x01) return 100 + low;
  if (high != 0x00 || !IsBcd(low) || low == 0x00) return std::nullopt;
  return BcdToNumber(low);
}

std::string DefaultToneBlock() { return std::string("\x00\x00\x08\x85\x00\x08\x85", 7); }

std::string LabelBytes(const std::string& label) {
  std::string bytes = label.substr(0, kLabelLength);
  bytes.resize(kLabelLength, ' ');
  return bytes;
}

std::string MemoryRecord::Bytes() const {
  std::string bytes = channel + static_cast<char>(selected) + frequency + static_cast<char>(mode) +
                      static_cast<char>(filter) + tone + label;
  return bytes;
}

std::optional<MemoryRecord> MemoryRecord::FromBytes(std::string_view bytes) {
  if (bytes.size() != kMemoryRecordLength) return std::nullopt;
  MemoryRecord record;
  record.channel = std::string(bytes.substr(kRecordChannel, 2));
  record.selected = static_cast<unsigned char>(bytes[kRecordSelected]);
  record.frequency = std::string(bytes.substr(kRecordFrequency, kFrequencyBytes));
  record.mode = static_cast<unsigned char>(bytes[kRecordMode]);
  record.filter = static_cast<unsigned char>(bytes[kRecordFilter]);
  record.tone = std::string(bytes.substr(kRecordTone, kToneBlockLength));
  record.label = std::string(bytes.substr(kRecordLabel, kLabelLength));
  return record;
}

bool MemoryRecord::WellFormed() const {
  const auto allBcd = [](const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return IsBcd(static_cast<unsigned char>(c)); });
  };
  return (selected == 0 || selected == 1) && allBcd(frequency) && ModeOfCode(mode) != nullptr &&
         FilterOfCode(filter) != nullptr && allBcd(tone);
}

}  // namespace tavrin::civ
