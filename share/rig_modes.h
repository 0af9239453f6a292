// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the rigctld protocol adds to the transceiver's mode table (civ/mode_table.h): a
// passband asked for chooses one of the three filters, and clients may name the modes of
// other rigs.
#include <optional>
#include <string_view>

#include "civ/mode_table.h"

namespace tavrin::share {

// Whether `name` is a mode that clients know but this transceiver lacks ("PKTUSB").
bool IsForeignMode(std::string_view name);
// The passband of a filter byte (1..3) in a mode; 0 for any other filter byte.
int PassbandOf(const civ::Mode& mode, unsigned char filter);
// The filter for a requested passband: the normal one for 0 or exactly the normal passband,
// the wide one above it, the narrow one below it; nullopt for -1 (keep the filter).
std::optional<unsigned char> FilterFor(const civ::Mode& mode, long passbandHz);

}  // namespace tavrin::share
