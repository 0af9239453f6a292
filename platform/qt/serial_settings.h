// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial settings string "19200,N,8,1": speed in baud, parity (N none, E even, O odd,
// M mark, S space), data bits (5 to 8) and stop bits (1, 1.5 or 2).
#include <optional>
#include <string>

namespace tavrin {

struct SerialSettings {
  int baud = 0;
  char parity = 'N';
  int dataBits = 8;
  // Stop bits in halves: 2 for one, 3 for one and a half, 4 for two.
  int stopHalves = 2;
};

// Nothing when the text is not of that form. Blanks around each field are allowed, the
// parity letter may be lower case.
std::optional<SerialSettings> ParseSerialSettings(const std::string& text);

}  // namespace tavrin
