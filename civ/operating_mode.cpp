// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/operating_mode.h"

#include "civ/command_bytes.h"
#include "civ/decoder_state.h"
#include "civ/frame.h"
#include "civ/mode_table.h"

namespace tavrin {

namespace {

bool IsModeByte(unsigned char mode) { return civ::ModeOfCode(mode) != nullptr; }

}  // namespace

std::optional<unsigned char> ModeAnswerIn(const std::string& reply) {
  static const std::string kAnswerHead = civ::AnswerHead() + static_cast<char>(civ::kReadMode);
  const auto at = reply.find(kAnswerHead);
  const std::size_t mode = at + kAnswerHead.size();
  // Mode, filter and FD must all have come.
  if (at == std::string::npos || mode + 2 >= reply.size() ||
      reply[mode + 2] != static_cast<char>(civ::kEnd))
    return std::nullopt;
  const auto byte = static_cast<unsigned char>(reply[mode]);
  if (!IsModeByte(byte)) return std::nullopt;
  return byte;
}

void NoteSentCommand(DecoderState& state, const std::string& commandBytes) {
  if (commandBytes.empty()) return;
  switch (static_cast<unsigned char>(commandBytes[0])) {
    case civ::kSetMode:
      state.LastOperatingMode = -1;
      if (commandBytes.size() >= 2)
        NoteOperatingMode(state, static_cast<unsigned char>(commandBytes[1]));
      return;
    case civ::kSelectVfo:
    case civ::kSelectMemory:
    case civ::kMemoryToVfo:
    case civ::kMemoryClear:
      state.LastOperatingMode = -1;
      return;
    default:
      return;
  }
}

void NoteOperatingMode(DecoderState& state, unsigned char mode) {
  if (IsModeByte(mode)) state.LastOperatingMode = mode;
}

void NoteModeReply(DecoderState& state, const std::string& reply) {
  // The echo of a mode frame heads the reply, and the transceiver's refusal follows.
  static const std::string kModeEcho =
      civ::ControllerFrame(civ::Bytes({civ::kSetMode})).substr(0, 5);
  static const std::string kRefusal = civ::AnswerHead() + civ::Bytes({civ::kRefused, civ::kEnd});
  if (reply.compare(0, kModeEcho.size(), kModeEcho) != 0) return;
  if (reply.find(kRefusal) != std::string::npos) state.LastOperatingMode = -1;
}

}  // namespace tavrin
