// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Memory channel numbers on the bus: 00 and the BCD number for channels 1 to 99, 01 00 for
// P1 (100) and 01 01 for P2 (101). Channel selection also takes the short form, one BCD byte
// for channels below 100.
//
// The simulator is the other end of the wire and keeps its own encoding of the protocol,
// written from the transceiver's side and independent of the control program's (civ/): a test
// that runs the program against it checks the program's encodings, not a copy of them.
#include <optional>
#include <string>
#include <string_view>

namespace tavrin::sim {

// The two-byte code of channel 1..101.
std::string ChannelCode(int channel);
// A two-byte code, or (when `allowShort`) a one-byte code, to 1..101; nothing when invalid.
std::optional<int> ParseChannelCode(std::string_view code, bool allowShort);

}  // namespace tavrin::sim
