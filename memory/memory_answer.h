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

struct MemoryAnswer {
  enum class Kind {
    Silent,     // the transceiver answered nothing at all
    Malformed,  // something came back, but not a well-formed answer for this channel
    Blank,      // the channel holds nothing
    Filled,     // the channel's record
  };
  Kind kind = Kind::Silent;
  // For a filled channel, its record.
  civ::MemoryRecord record;
  [[nodiscard]] bool Valid() const { return kind == Kind::Blank || kind == Kind::Filled; }
};

// The answer to a read of memory channel `channel` wherever it stands in `reply` (the bytes
// the link collected for the read, or for a chain of frames that ends with it). The reply is
// read frame by frame, as a CI-V controller reads the bus, past stray bytes, echoes,
// broadcasts and cut frames; the first well-formed answer for this channel is taken:
// FE FE E0 64 1A 00, the channel's code, then FF FD (blank) or the record of exactly 27 bytes
// and FD, well-formed (civ::MemoryRecord::WellFormed). A frame for another channel, a
// broadcast, or the bytes of two frames are never taken for it. Silent when no frame from the
// transceiver to this controller begins anywhere in the reply.
MemoryAnswer FindMemoryAnswer(const std::string& reply, int channel);

}  // namespace tavrin
