// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transceiver's answer to a memory read (1A 00 and a channel code), checked byte by byte
// before it becomes data. CI-V carries no checksum: a byte more, a byte less or a byte changed
// by noise gives a frame that still decodes into plausible fields, so a backup or a check of
// an upload takes an answer only when its every byte is where and what it must be. This is the
// one place that decides whether an answer is the one asked for.
#include <string>

#include "civ/memory_record.h"

namespace tavrin {

// The read the controller sends for a channel: FE FE 64 E0 1A 00, the code, FD.
std::string MemoryReadFrame(int channel);

struct MemoryAnswer {
  enum class Kind {
    Silent,     // nothing came back behind the echo of the read
    Malformed,  // something came back, but not a well-formed answer for this channel
    Blank,      // the channel holds nothing
    Filled,     // the channel's record
  };
  Kind kind = Kind::Silent;
  // For a filled channel, its record.
  civ::MemoryRecord record;
  [[nodiscard]] bool Valid() const { return kind == Kind::Blank || kind == Kind::Filled; }
};

// Checks the answer that begins at `answerAt` (from 0) of `reply` for channel `channel`:
// FE FE E0 64 1A 00, the channel code asked for, then either FF FD (blank) or the record of
// exactly 27 bytes and FD, well-formed (civ::MemoryRecord::WellFormed). Bytes after the
// answer are allowed only as the start of another frame.
MemoryAnswer CheckMemoryAnswer(const std::string& reply, std::size_t answerAt, int channel);

// The answer to a memory read whose echo heads `reply` (the reply the link collected for it).
MemoryAnswer MemoryAnswerAfterEcho(const std::string& reply, int channel);

// The answer to a memory read anywhere behind the echoes of the frames sent before it, as in
// the reply to a memory set chained with select and read: the answer must follow the read's
// echo directly.
MemoryAnswer MemoryAnswerAfterChain(const std::string& reply, int channel);

}  // namespace tavrin
