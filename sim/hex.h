// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Byte strings written as hexadecimal pairs ("FE FE 64 E0 03 FD"), for tests, logs and the
// front panel. A byte string is a std::string whose chars are bytes.
#include <string>
#include <string_view>

namespace tavrin::sim {

// "FE FE 64 E0 03 FD" (blanks optional, either case) to the bytes. Characters that are not
// hexadecimal digits separate pairs; a lone digit at the end of a word is read as 0x.
std::string FromHex(std::string_view text);
// The bytes as upper-case pairs separated by one blank.
std::string ToHex(std::string_view bytes);

}  // namespace tavrin::sim
