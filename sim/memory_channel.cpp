// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/memory_channel.h"

#include <utility>

namespace tavrin::sim {

MemoryChannel MemoryChannel::Filled(std::int64_t hz, std::uint8_t mode, std::uint8_t filter,
                                    std::string name, bool selected) {
  MemoryChannel channel;
  channel.blank = false;
  channel.selected = selected;
  channel.frequencyHz = hz;
  channel.mode = mode;
  channel.filter = filter;
  name.resize(kNameLength, ' ');
  channel.name = std::move(name);
  return channel;
}

}  // namespace tavrin::sim
