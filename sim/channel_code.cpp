// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/channel_code.h"

#include "sim/bcd.h"
#include "sim/memory_channel.h"

namespace tavrin::sim {

std::string ChannelCode(int channel) {
  if (channel >= 100) return std::string{'\x01', static_cast<char>(channel - 100)};
  return std::string{'\x00', ToBcd(channel)};
}

std::optional<int> ParseChannelCode(std::string_view code, bool allowShort) {
  if (code.size() == 1 && allowShort) {
    const auto number = FromBcd(code[0]);
    if (!number || *number < 1) return std::nullopt;
    return number;
  }
  if (code.size() != 2) return std::nullopt;
  if (code[0] == '\x00') {
    const auto number = FromBcd(code[1]);
    if (!number || *number < 1) return std::nullopt;
    return number;
  }
  if (code[0] == '\x01' && (code[1] == '\x00' || code[1] == '\x01')) return 100 + code[1];
  return std::nullopt;
}

}  // namespace tavrin::sim
