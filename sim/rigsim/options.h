// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// rigsim's command line: --link NAME (default com1), --baud N (default 19200), --headless,
// --log FILE (the controller's frames in hex, one a line), and the faults a person or a test
// can put on the line: the cable pulled after a time or a number of frames, the pseudo-terminal
// dropped and made anew on the same link (a replug), memory answers altered, late answers and
// noise, stray bytes at a rate and broadcast floods.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/bus.h"

namespace tavrin::rigsim {

// --alter-memory CHANNEL,KIND,POSITION,BYTE[,TIMES]
struct MemoryAnswerFault {
  int channel = 0;
  sim::AnswerFault fault;
  int times = 1;  // negative: every answer from then on
  bool operator==(const MemoryAnswerFault&) const = default;
};

// --noise MS,HEX: bytes that reach the controller MS milliseconds after the start.
struct NoiseBurst {
  std::int64_t atMicros = 0;
  std::string bytes;
  bool operator==(const NoiseBurst&) const = default;
};

// --stray-bytes RATE[,FROM[,FOR]]: RATE stray bytes a second from FROM seconds after the start,
// for FOR seconds (for good without it).
struct StrayBytes {
  int perSecond = 0;
  std::int64_t fromMicros = 0;
  std::int64_t forMicros = -1;  // negative: for good
  bool operator==(const StrayBytes&) const = default;
};

// --flood MS|line[,FROM[,FOR]]: the dial spun, a frequency broadcast every MS milliseconds or
// as fast as the line carries them ("line"), from FROM seconds after the start for FOR seconds.
struct Flood {
  std::int64_t everyMicros = 0;  // 0: at line rate
  std::int64_t fromMicros = 0;
  std::int64_t forMicros = -1;  // negative: for good
  bool operator==(const Flood&) const = default;
};

struct Options {
  std::string link = "com1";
  int baud = 19200;
  bool headless = false;
  std::string log;  // empty: no frame log
  bool help = false;

  // The cable comes out this long after the start, or once the controller has sent this many
  // frames (the next bytes it writes find the line gone).
  std::optional<std::int64_t> pullAtMicros;
  std::optional<int> pullAfterFrames;
  // The cable goes back in this long after it came out; without a pull option, the line is
  // replugged (dropped and made anew) this long after the start.
  std::optional<std::int64_t> replugAfterMicros;
  std::vector<MemoryAnswerFault> memoryFaults;
  std::int64_t answerDelayMicros = 0;
  std::vector<NoiseBurst> noise;
  std::vector<StrayBytes> strayBytes;
  std::vector<Flood> floods;
};

// Nothing, with `error` set, for an unknown option or a bad value.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);
std::string Usage();

}  // namespace tavrin::rigsim
