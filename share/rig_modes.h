// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transceiver's eight operating modes under the names network clients use, and its three
// filters as passbands in Hz: filter 1 is the wide one, 2 the normal one, 3 the narrow one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin::share {

struct RigMode {
  const char* name;   // "USB", "CWR"
  std::uint8_t code;  // CI-V mode byte
  int passbandHz[3];  // filters 1, 2, 3
};

// The mode of a client's name ("USB"), or nullptr.
const RigMode* ModeByName(std::string_view name);
// The mode of a CI-V mode byte, or nullptr.
const RigMode* ModeByCode(std::uint8_t code);
// Whether `name` is a mode that clients know but this transceiver lacks ("PKTUSB").
bool IsForeignMode(std::string_view name);
// The passband of a filter byte (1..3) in a mode; 0 for any other filter byte.
int PassbandOf(const RigMode& mode, std::uint8_t filter);
// The filter for a requested passband: the normal one for 0 or exactly the normal passband,
// the wide one above it, the narrow one below it; nullopt for -1 (keep the filter).
std::optional<std::uint8_t> FilterFor(const RigMode& mode, long passbandHz);
// The modes in the bit form of the protocol's state dump (AM 0x1, CW 0x2, USB 0x4, ...).
unsigned ModeBit(const RigMode& mode);

}  // namespace tavrin::share
