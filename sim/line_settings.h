// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial settings string "19200,N,8,1": speed, parity (N, E, O, M, S), data bits (4 to 8)
// and stop bits (1, 1.5, 2).
#include <optional>
#include <string_view>

namespace tavrin::sim {

struct LineSettings {
  int baud = 19200;
  char parity = 'N';
  int dataBits = 8;
  double stopBits = 1;
  // Bits one byte costs on the line: start, data, parity, stop (rounded up).
  [[nodiscard]] int BitsPerByte() const;
};

// Nothing when the text is malformed or names a speed or format a port cannot have.
std::optional<LineSettings> ParseLineSettings(std::string_view text);

}  // namespace tavrin::sim
