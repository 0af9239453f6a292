// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/operating_mode.h"

#include "app/station.h"
#include "civ/encodings.h"

namespace tavrin {

namespace {

bool IsModeByte(unsigned char mode) { return ModeText(mode).has_value(); }

}  // namespace

std::optional<unsigned char> ModeAnswerIn(const std::string& reply) {
  static const std::string kAnswerHead = "\xFE\xFE\xE0\x64\x04";
  const auto at = reply.find(kAnswerHead);
  const std::size_t mode = at + kAnswerHead.size();
  // Mode, filter and FD must all have come.
  if (at == std::string::npos || mode + 2 >= reply.size() || reply[mode + 2] != '\xFD')
    return std::nullopt;
  const auto byte = static_cast<unsigned char>(reply[mode]);
  if (!IsModeByte(byte)) return std::nullopt;
  return byte;
}

void NoteSentCommand(Station& station, const std::string& commandBytes) {
  if (commandBytes.empty()) return;
  switch (static_cast<unsigned char>(commandBytes[0])) {
    case 0x06:
      station.LastOperatingMode = -1;
      if (commandBytes.size() >= 2)
        NoteOperatingMode(station, static_cast<unsigned char>(commandBytes[1]));
      return;
    case 0x07:
    case 0x08:
    case 0x0A:
    case 0x0B:
      station.LastOperatingMode = -1;
      return;
    default:
      return;
  }
}

void NoteOperatingMode(Station& station, unsigned char mode) {
  if (IsModeByte(mode)) station.LastOperatingMode = mode;
}

void NoteModeReply(Station& station, const std::string& reply) {
  const std::string& preamble = station.CivPreamble;
  if (preamble.size() < 4 || reply.size() <= preamble.size()) return;
  if (reply.compare(0, preamble.size(), preamble) != 0 || reply[preamble.size()] != '\x06') return;
  const std::string refusal = {preamble[0], preamble[1], preamble[3], preamble[2], '\xFA', '\xFD'};
  if (reply.find(refusal) != std::string::npos) station.LastOperatingMode = -1;
}

}  // namespace tavrin
