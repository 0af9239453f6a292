// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program knows of the transceiver's operating mode, for the filter options: a filter
// frame (06 mode filter) carries a mode too, and the wrong one would switch the transceiver to
// it. The mode fields of the window are no guide: they show a memory channel's mode after a
// memory read and a blank after "Clear Status".
#include <optional>
#include <string>

namespace tavrin {

struct DecoderState;

// The mode byte of the transceiver's answer to a mode query (FE FE E0 64 04 mode filter FD)
// found in a collected reply; none when the reply holds no such answer or an unknown mode.
std::optional<unsigned char> ModeAnswerIn(const std::string& reply);
// Keeps LastOperatingMode in step with a command the radio window sends: a mode frame
// (06 mode, 06 mode filter) sets the mode it asks for; selects of the VFO or a memory (07, 08),
// memory to VFO (0A) and memory clear (0B) leave the mode unknown; other commands keep it.
void NoteSentCommand(DecoderState& state, const std::string& commandBytes);
// The reply to a mode frame (06 ...) that holds the transceiver's refusal (FA): its mode is
// what it was before, which the program does not know any more.
void NoteModeReply(DecoderState& state, const std::string& reply);
// A mode learnt from the transceiver (an answer or a broadcast); unknown bytes are ignored.
void NoteOperatingMode(DecoderState& state, unsigned char mode);

}  // namespace tavrin
