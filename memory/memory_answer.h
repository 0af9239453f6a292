// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transceiver's answer to a memory read (1A 00 and a channel code), checked byte by byte
// before it becomes data. CI-V carries no checksum: a byte more, a byte less or a byte changed
// by noise gives a frame that still decodes into plausible fields, so a backup or a check of
// an upload takes an answer only when its every byte is where and what it must be.
#include <string>

namespace tavrin {

// The two bytes that name channel 1 to 101 on the bus: 00 and the BCD number, 01 00 (P1) or
// 01 01 (P2).
std::string MemoryChannelCode(int channel);
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
  // For a filled channel, the 27 bytes of the record: the channel code, the select mark, the
  // frequency (five BCD bytes from the 1 Hz digit up), mode, filter, the tone block (seven
  // bytes) and the ten-character label.
  std::string record;
  [[nodiscard]] bool Valid() const { return kind == Kind::Blank || kind == Kind::Filled; }
};

inline constexpr std::size_t kMemoryRecordLength = 27;

// Checks the answer that begins at `answerAt` (from 0) of `reply` for channel `channel`:
// FE FE E0 64 1A 00, the channel code asked for, then either FF FD (blank) or the record of
// exactly 27 bytes and FD, with every BCD nibble 0 to 9, the select mark 0 or 1, a known mode
// and filter. Bytes after the answer are allowed only as the start of another frame.
MemoryAnswer CheckMemoryAnswer(const std::string& reply, std::size_t answerAt, int channel);

// The answer to a memory read whose echo heads `reply` (the reply the link collected for it).
MemoryAnswer MemoryAnswerAfterEcho(const std::string& reply, int channel);

// The answer to a memory read anywhere behind the echoes of the frames sent before it, as in
// the reply to a memory set chained with select and read: the answer must follow the read's
// echo directly.
MemoryAnswer MemoryAnswerAfterChain(const std::string& reply, int channel);

}  // namespace tavrin
