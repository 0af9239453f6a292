// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the decoders write: the radio window's operating display, the memory window's channel
// display, the status line of both, the shared decoded state and the radio window's option
// marks. The windows are these displays; the decoders know them by these shapes only.
#include <cstddef>
#include <string>

#include "civ/decoder_state.h"
#include "civ/reply_bytes.h"

namespace tavrin {

// The radio window's fields. Blank is " ".
struct OperatingDisplay {
  std::string Text1;  // "Frequency"
  std::string Text2;  // "Channel"
  std::string Text3;  // "Selected"
  std::string Text4;  // "Mode/Filter" (mode)
  std::string Text5;  // (filter)
  std::string Text6;  // "Status/Info"
  std::string Text7;  // status line
};

// The memory window's fields.
struct ChannelDisplay {
  std::string Text1;  // "Channel"
  std::string Text2;  // "Selected"
  std::string Text3;  // "Frequency"
  std::string Text4;  // "Mode/Filter" (mode)
  std::string Text5;  // (filter)
  std::string Text6;  // "Status/Info"
  std::string Text7;  // progress line
  std::string Text9;  // mirror of the radio window's status line
};

// The radio window's option marks, by caption ("Usb", "F2", "Ant1").
class OptionMarks {
 public:
  // Marks an option as program code does: its action runs when the mark changes.
  virtual void MarkCaption(const std::string& caption) = 0;
  // Marks it to show the transceiver's state, running nothing.
  virtual void ShowCaption(const std::string& caption) = 0;

 protected:
  ~OptionMarks() = default;
};

struct DecoderTargets {
  OperatingDisplay& radio;
  ChannelDisplay& memory;
  DecoderState& state;
  OptionMarks& marks;
};

// Both status lines: the radio window's Text7 and its mirror, the memory window's Text9.
void WriteStatusLine(const DecoderTargets& to, const std::string& line);

// The radio window's Text1 (and FrequencyText) from the decoded frequency bytes 4, 3 and 2.
void ShowFrequency(const DecoderTargets& to, int a, int b, int c);
// The same from three BCD bytes of a reply, `lowest` being the position of frequency byte 2.
void ShowFrequencyAt(const DecoderTargets& to, const ReplyBytes& reply, std::size_t lowest);
// MemModeText and, for a known mode byte, the radio window's Text4.
void ShowModeByte(const DecoderTargets& to, unsigned char mode);
// MemFilterText and, for a known filter byte, the radio window's Text5.
void ShowFilterByte(const DecoderTargets& to, unsigned char filter);
// The radio window's Text1..Text6 blanked: the transceiver had nothing to report (FF answer).
void BlankOperatingDisplay(const DecoderTargets& to);

// The memory-contents display on the radio window, from the memory record that begins at
// position `recordAt` of the reply. Returns false, changing nothing, when the reply does not
// reach the end of the record's label.
bool ShowMemoryContents(const DecoderTargets& to, const ReplyBytes& reply, std::size_t recordAt);
// A blank channel: radio fields blanked, memory window shows the channel and "Blank".
void ShowBlankChannel(const DecoderTargets& to);
// The radio window's memory display copied to the memory window's fields; with `summary` the
// memory window's progress line gets the whole record on one line.
void CopyToMemoryWindow(const DecoderTargets& to, bool summary);

}  // namespace tavrin
