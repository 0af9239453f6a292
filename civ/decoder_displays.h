// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The displays the decoders write: frequency, mode and filter fields, and the memory-channel
// displays of the radio window and their copy to the memory window.
#include <cstddef>

#include "civ/reply_bytes.h"

namespace tavrin {

class ControlProgram;

// The radio window's Text1 (and FrequencyText) from the decoded frequency bytes 4, 3 and 2.
void ShowFrequency(ControlProgram& program, int a, int b, int c);
// The same from three BCD bytes of a reply, `lowest` being the position of frequency byte 2.
void ShowFrequencyAt(ControlProgram& program, const ReplyBytes& reply, std::size_t lowest);
// MemModeText and, for a known mode byte, the radio window's Text4.
void ShowModeByte(ControlProgram& program, unsigned char mode);
// MemFilterText and, for a known filter byte, the radio window's Text5.
void ShowFilterByte(ControlProgram& program, unsigned char filter);
// The radio window's Text1..Text6 blanked, MemorySequenceBusy cleared: the transceiver had
// nothing to report (FF answer).
void BlankOperatingDisplay(ControlProgram& program);

// Where one memory record lies in a reply (first byte of each item).
struct MemoryRecordLayout {
  std::size_t channel;    // two bytes: 00 nn, 01 00 (P1), 01 01 (P2)
  std::size_t select;     // 00 or 01
  std::size_t frequency;  // frequency bytes 2..4 (100 Hz .. 10 MHz), lowest first
  std::size_t mode;
  std::size_t filter;
  std::size_t name;  // ten characters
};

// The memory-contents display on the radio window. Returns false, changing nothing, when the
// reply does not reach the end of the record.
bool ShowMemoryContents(ControlProgram& program, const ReplyBytes& reply,
                        const MemoryRecordLayout& at);
// A blank channel: radio fields blanked, memory window shows the channel and "Blank".
void ShowBlankChannel(ControlProgram& program);
// The radio window's memory display copied to the memory window's fields; with `summary` the
// memory window's progress line gets the whole record on one line.
void CopyToMemoryWindow(ControlProgram& program, bool summary);

}  // namespace tavrin
