// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/rigsim/options.h"

#include <charconv>
#include <cmath>
#include <cstddef>

namespace tavrin::rigsim {

namespace {

std::optional<long long> WholeNumber(const std::string& text) {
  long long value = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (status != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "2.5" seconds or milliseconds as a count of microseconds; nothing for a negative, huge or
// malformed value.
std::optional<std::int64_t> Micros(const std::string& text, double unitMicros) {
  double value = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (status != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
      value < 0 || value > 86'400'000.0)
    return std::nullopt;
  return static_cast<std::int64_t>(std::llround(value * unitMicros));
}

std::vector<std::string> CommaFields(const std::string& text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    fields.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

std::optional<std::uint8_t> HexByte(const std::string& text) {
  unsigned value = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (text.empty() || text.size() > 2 || status != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

// "FE FE 00" or "FEFE00": pairs of hexadecimal digits, blanks between them allowed.
std::optional<std::string> HexBytes(const std::string& text) {
  std::string digits;
  for (const char c : text) {
    if (c != ' ') digits.push_back(c);
  }
  if (digits.empty() || digits.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const auto byte = HexByte(digits.substr(i, 2));
    if (!byte) return std::nullopt;
    bytes.push_back(static_cast<char>(*byte));
  }
  return bytes;
}

std::optional<sim::AnswerFault::Kind> FaultKind(const std::string& text) {
  if (text == "insert") return sim::AnswerFault::Kind::InsertByte;
  if (text == "change") return sim::AnswerFault::Kind::ChangeByte;
  if (text == "drop") return sim::AnswerFault::Kind::DropByte;
  return std::nullopt;
}

std::optional<MemoryAnswerFault> ParseMemoryFault(const std::string& text) {
  const std::vector<std::string> fields = CommaFields(text);
  if (fields.size() != 4 && fields.size() != 5) return std::nullopt;
  const auto channel = WholeNumber(fields[0]);
  const auto kind = FaultKind(fields[1]);
  const auto position = WholeNumber(fields[2]);
  const auto byte = HexByte(fields[3]);
  const auto times = fields.size() == 5 ? WholeNumber(fields[4]) : std::optional<long long>(1);
  if (!channel || *channel < 1 || *channel > 101 || !kind || !position || *position < 0 ||
      *position > 64 || !byte || !times || *times == 0 || *times > 1'000'000 || *times < -1'000'000)
    return std::nullopt;
  MemoryAnswerFault fault;
  fault.channel = static_cast<int>(*channel);
  fault.fault = {*kind, static_cast<std::size_t>(*position), *byte};
  fault.times = static_cast<int>(*times);
  return fault;
}

std::optional<NoiseBurst> ParseNoise(const std::string& text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return std::nullopt;
  const auto at = Micros(text.substr(0, comma), 1000.0);
  const auto bytes = HexBytes(text.substr(comma + 1));
  if (!at || !bytes) return std::nullopt;
  return NoiseBurst{*at, *bytes};
}

// ",FROM[,FOR]" in seconds after a fault's first field; both may be left out.
bool ParseSpan(const std::vector<std::string>& fields, std::int64_t& fromMicros,
               std::int64_t& forMicros) {
  if (fields.size() > 3) return false;
  if (fields.size() >= 2) {
    const auto from = Micros(fields[1], 1e6);
    if (!from) return false;
    fromMicros = *from;
  }
  if (fields.size() == 3) {
    const auto length = Micros(fields[2], 1e6);
    if (!length) return false;
    forMicros = *length;
  }
  return true;
}

std::optional<StrayBytes> ParseStrayBytes(const std::string& text) {
  const std::vector<std::string> fields = CommaFields(text);
  const auto rate = WholeNumber(fields[0]);
  StrayBytes stray;
  if (!rate || *rate < 1 || *rate > 100'000 ||
      !ParseSpan(fields, stray.fromMicros, stray.forMicros))
    return std::nullopt;
  stray.perSecond = static_cast<int>(*rate);
  return stray;
}

std::optional<Flood> ParseFlood(const std::string& text) {
  const std::vector<std::string> fields = CommaFields(text);
  Flood flood;
  if (fields[0] != "line") {
    const auto every = Micros(fields[0], 1000.0);
    if (!every || *every < 1000 || *every > 3'600'000'000) return std::nullopt;
    flood.everyMicros = *every;
  }
  if (!ParseSpan(fields, flood.fromMicros, flood.forMicros)) return std::nullopt;
  return flood;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    const auto refuse = [&](const std::string& what) {
      error = argument + " needs " + what + ", not \"" + arguments[i] + "\"";
      return std::nullopt;
    };
    if (argument == "--headless") {
      options.headless = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--link" && hasValue) {
      options.link = arguments[++i];
      if (options.link.empty()) {
        error = "--link needs a name";
        return std::nullopt;
      }
    } else if (argument == "--log" && hasValue) {
      options.log = arguments[++i];
      if (options.log.empty()) {
        error = "--log needs a file name";
        return std::nullopt;
      }
    } else if (argument == "--baud" && hasValue) {
      const auto baud = WholeNumber(arguments[++i]);
      if (!baud || *baud < 300 || *baud > 115200) return refuse("a speed from 300 to 115200");
      options.baud = static_cast<int>(*baud);
    } else if (argument == "--pull-at" && hasValue) {
      options.pullAtMicros = Micros(arguments[++i], 1e6);
      if (!options.pullAtMicros) return refuse("a time in seconds");
    } else if (argument == "--pull-after-frames" && hasValue) {
      const auto frames = WholeNumber(arguments[++i]);
      if (!frames || *frames < 0 || *frames > 1'000'000'000) return refuse("a number of frames");
      options.pullAfterFrames = static_cast<int>(*frames);
    } else if (argument == "--replug-after" && hasValue) {
      options.replugAfterMicros = Micros(arguments[++i], 1e6);
      if (!options.replugAfterMicros) return refuse("a time in seconds");
    } else if (argument == "--alter-memory" && hasValue) {
      const auto fault = ParseMemoryFault(arguments[++i]);
      if (!fault) return refuse("CHANNEL,insert|change|drop,POSITION,HEXBYTE[,TIMES]");
      options.memoryFaults.push_back(*fault);
    } else if (argument == "--answer-delay" && hasValue) {
      const auto delay = Micros(arguments[++i], 1000.0);
      if (!delay) return refuse("a time in milliseconds");
      options.answerDelayMicros = *delay;
    } else if (argument == "--noise" && hasValue) {
      const auto noise = ParseNoise(arguments[++i]);
      if (!noise) return refuse("MS,HEXBYTES");
      options.noise.push_back(*noise);
    } else if (argument == "--stray-bytes" && hasValue) {
      const auto stray = ParseStrayBytes(arguments[++i]);
      if (!stray) return refuse("RATE[,FROM[,FOR]] (1 to 100000 bytes a second, seconds)");
      options.strayBytes.push_back(*stray);
    } else if (argument == "--flood" && hasValue) {
      const auto flood = ParseFlood(arguments[++i]);
      if (!flood) return refuse("MS|line[,FROM[,FOR]] (at least 1 ms, seconds)");
      options.floods.push_back(*flood);
    } else {
      error = "unknown option \"" + argument + "\"";
      return std::nullopt;
    }
  }
  if (options.pullAtMicros && options.pullAfterFrames) {
    error = "--pull-at and --pull-after-frames exclude each other";
    return std::nullopt;
  }
  return options;
}

std::string Usage() {
  return "usage: rigsim [--link NAME] [--baud N] [--headless] [--log FILE] [faults]\n"
         "  Simulates the transceiver (CI-V address 64) on a pseudo-terminal and links it as\n"
         "  NAME (default com1) in the working directory. --baud sets the speed whose byte\n"
         "  times the simulated bus keeps (default 19200). --headless runs without the front\n"
         "  panel window. --log writes every frame the controller sends to FILE, in hex, one\n"
         "  frame a line. Stop with Ctrl+C.\n"
         "faults:\n"
         "  --pull-at SECONDS         pull the cable SECONDS after the start: the line goes\n"
         "                            away and NAME points at nothing, as a USB cable's does\n"
         "  --pull-after-frames N     pull the cable when the controller writes again after\n"
         "                            N frames (those are still answered)\n"
         "  --replug-after SECONDS    plug the cable back in SECONDS after it was pulled (a new\n"
         "                            line behind the same link); without a pull option, drop\n"
         "                            the line and make a new one SECONDS after the start\n"
         "  --alter-memory CH,KIND,POS,BYTE[,TIMES]\n"
         "                            alter the next TIMES (default 1, -1 every) answers to a\n"
         "                            read of memory channel CH: insert, change or drop the\n"
         "                            byte at POS (0 is the answer's first FE); BYTE in hex\n"
         "  --answer-delay MS         answer MS milliseconds later than usual\n"
         "  --noise MS,HEX            send the bytes HEX (\"FE 00 12\" or \"FE0012\") to the\n"
         "                            controller MS milliseconds after the start\n"
         "  --stray-bytes RATE[,FROM[,FOR]]\n"
         "                            RATE stray bytes a second on the line (a noisy line),\n"
         "                            from FROM seconds after the start for FOR seconds (for\n"
         "                            good without them); they come between frames, never\n"
         "                            inside one\n"
         "  --flood MS|line[,FROM[,FOR]]\n"
         "                            spin the dial: a frequency broadcast every MS\n"
         "                            milliseconds, or as fast as the line carries them with\n"
         "                            \"line\"; the broadcasts take the line as soon as it is\n"
         "                            free, also between an echo and its answer\n"
         "  --alter-memory, --noise, --stray-bytes and --flood may be given more than once.\n"
         "  The front panel's \"Replug cable\" button, and the signal SIGUSR1, replug the line\n"
         "  at once (a pulled cable is plugged back in); the signal SIGUSR2 pulls the cable.\n";
}

}  // namespace tavrin::rigsim
