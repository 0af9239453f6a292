// SPDX-License-Identifier: GPL-3.0-or-later
// The state dump that a network client reads when it opens the rig: the protocol version, the
// model, the receive and transmit ranges, the tuning steps and filters, and what else the rig
// has (here: nothing beyond frequency, mode, VFO, PTT and split).
#include <array>
#include <cstdio>

#include "share/rig_modes.h"
#include "share/rigctl_answers.h"

namespace tavrin::share {

namespace {

// The Icom model whose CI-V command set and default address 64 this transceiver shares; a
// client shows it and may look up the model's quirks.
constexpr int kRigModel = 3047;
constexpr const char* kAllModes = "0x1bf";  // AM CW USB LSB RTTY FM CWR RTTYR
constexpr const char* kNotAm = "0x1be";
constexpr const char* kVfos = "0x16000000";  // Main, Sub and memory
// The transceiver's amateur bands, where it transmits.
constexpr std::array<std::pair<long, long>, 11> kBands{{{1'800'000, 2'000'000},
                                                        {3'500'000, 4'000'000},
                                                        {7'000'000, 7'300'000},
                                                        {10'100'000, 10'150'000},
                                                        {14'000'000, 14'350'000},
                                                        {18'068'000, 18'168'000},
                                                        {21'000'000, 21'450'000},
                                                        {24'890'000, 24'990'000},
                                                        {28'000'000, 29'700'000},
                                                        {50'000'000, 54'000'000},
                                                        {144'000'000, 148'000'000}}};
constexpr const char* kEndOfList = "0 0 0 0 0 0 0";

std::string Range(long low, long high, const char* modes, int lowMw, int highMw,
                  const char* antennas) {
  std::array<char, 160> line{};
  std::snprintf(line.data(), line.size(), "%ld.000000 %ld.000000 %s %d %d %s %s", low, high, modes,
                lowMw, highMw, kVfos, antennas);
  return line.data();
}

// One line per filter group: the normal passband first, then the wide and the narrow one.
std::vector<std::string> FilterLines() {
  struct Group {
    const char* modes;
    const char* representative;
  };
  constexpr std::array<Group, 4> kGroups{{{"0x11c", "USB"},  // USB LSB RTTY RTTYR
                                          {"0x82", "CW"},    // CW CWR
                                          {"0x1", "AM"},
                                          {"0x20", "FM"}}};
  std::vector<std::string> lines;
  for (const Group& group : kGroups) {
    const civ::Mode* mode = civ::ModeOfRigctl(group.representative);
    for (const int filter : {2, 1, 3}) {
      lines.push_back(std::string(group.modes) + " " +
                      std::to_string(PassbandOf(*mode, static_cast<unsigned char>(filter))));
    }
  }
  lines.emplace_back("0 0");
  return lines;
}

}  // namespace

std::vector<std::string> DumpStateLines() {
  std::vector<std::string> lines{"1", std::to_string(kRigModel), "0"};
  lines.push_back(Range(30'000, 199'999'999, kAllModes, -1, -1, "0x0"));
  lines.emplace_back(kEndOfList);
  for (const auto& [low, high] : kBands)
    lines.push_back(Range(low, high, kNotAm, 5000, 100000, "0x3"));
  for (const auto& [low, high] : kBands)
    lines.push_back(Range(low, high, "0x1", 2000, 40000, "0x3"));
  lines.emplace_back(kEndOfList);
  for (const char* step : {"1", "100", "1000", "5000", "10000"})
    lines.push_back(std::string(kAllModes) + " " + step);
  lines.emplace_back("0 0");
  for (const std::string& line : FilterLines()) lines.push_back(line);
  // No RIT, XIT or IF shift, no announcements, no preamplifier or attenuator steps, no
  // functions, levels or parameters.
  for (const char* line : {"0", "0", "0", "0", "", "", "0x0", "0x0", "0x0", "0x0", "0x0", "0x0"})
    lines.emplace_back(line);
  for (const char* line : {"vfo_ops=0x0", "ptt_type=0x1", "targetable_vfo=0x0", "has_set_vfo=1",
                           "has_get_vfo=0", "has_set_freq=1", "has_get_freq=1", "has_set_conf=0",
                           "has_get_conf=0", "has_power2mW=0", "has_mW2power=0", "timeout=3000"})
    lines.emplace_back(line);
  lines.push_back("rig_model=" + std::to_string(kRigModel));
  lines.emplace_back("done");
  return lines;
}

}  // namespace tavrin::share
