// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The raw status line at the bottom of both main windows: every batch of bytes read from the
// port as decimal byte values.
#include <string>

namespace tavrin {

class ControlProgram;

// "STATUS = " and the decimal list, or "STATUS = RADIO NOT READY" when nothing came.
void ShowStatus(ControlProgram& program, const std::string& reply);
// "AUTO = " and the decimal list of unsolicited bytes.
void ShowAutoStatus(ControlProgram& program, const std::string& data);

}  // namespace tavrin
