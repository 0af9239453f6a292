// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the windows show for what the frames carry: frequencies, times, decimal byte lists,
// mode and filter names and the S-meter scale.
#include <optional>
#include <string>

namespace tavrin {

// Two MHz digits, a point, three kHz digits, a point, the 100 Hz digit: 14, 19, 50 give
// "14.195.0". Values above 99 give characters beyond '9', as the radio would show them.
std::string FormatFrequency(int a, int b, int c);
// "hh:mm".
std::string FormatTime(int h, int m);
// Each byte as one blank and its decimal value: FE 03 gives " 254 3".
std::string ToDecimalList(const std::string& bytes);

// "LSB", "USB", "AM", "CW", "RTTY", "FM", "CWr", "RTTYr" for 00..05, 07, 08; none otherwise.
std::optional<std::string> ModeText(int code);
// "Fil 1", "Fil 2", "Fil 3" for 1..3; none otherwise.
std::optional<std::string> FilterText(int code);
// The S-meter label for a level reply's high and low bytes (raw byte values).
std::string SMeterLabel(int high, int low);

}  // namespace tavrin
