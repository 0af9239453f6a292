// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The raw status line at the bottom of both main windows: every batch of bytes read from the
// port as decimal byte values, and what the link says when the transceiver cannot be reached.
#include <string>

namespace tavrin {

inline constexpr const char* kRadioNotReadyLine = "STATUS = RADIO NOT READY";

// "STATUS = " and the decimal list of a reply, or "STATUS = RADIO NOT READY" when nothing came.
std::string StatusLine(const std::string& reply);
// "AUTO = " and the decimal list of unsolicited bytes.
std::string AutoStatusLine(const std::string& data);
// "STATUS = RADIO NOT READY ... COM1 is gone ... looking for it" ("is not there" for a device
// that was missing when the port was opened).
std::string PortGoneLine(const std::string& commPort, bool wasOpen);

}  // namespace tavrin
