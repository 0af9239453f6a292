// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial settings string "19200,N,8,1": speed in baud (one the serial control offers,
// 110 to 256000), parity (N none, E even, O odd, M mark, S space), data bits (5 to 8, what a
// serial port carries) and stop bits (1, 1.5 or 2). The one reading of it: the serial port
// opens with it, the simulated line times its bytes by it, and the link waits for a quiet
// line by it.
#include <optional>
#include <string>

namespace tavrin {

struct SerialSettings {
  int baud = 0;
  char parity = 'N';
  int dataBits = 8;
  // Stop bits in halves: 2 for one, 3 for one and a half, 4 for two.
  int stopHalves = 2;
  // The bits one byte costs on the line: start, data, parity, stop (one and a half count as
  // two).
  [[nodiscard]] int BitsPerByte() const;
};

// Nothing when the text is not of that form. Blanks around each field are allowed, the
// parity letter may be lower case.
std::optional<SerialSettings> ParseSerialSettings(const std::string& text);

}  // namespace tavrin
