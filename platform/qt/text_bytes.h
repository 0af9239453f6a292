// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite keeps every text as a byte string, one char per byte (the Western Windows code
// page). Widgets speak QString; this is the one conversion between the two, used only where a
// view hands text to or takes text from a widget. Bytes map to the first 256 code points
// (Latin-1) and back; a character typed outside that range comes back as "?".
#include <QString>
#include <string>

namespace tavrin {

QString FromBytes(const std::string& bytes);
std::string ToBytes(const QString& text);

}  // namespace tavrin
