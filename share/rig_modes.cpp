// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/rig_modes.h"

#include <array>

namespace tavrin::share {

namespace {

// The normal passbands are those the Icom family of this transceiver is known by; the wide and
// narrow ones are the transceiver's other two filters.
constexpr std::array<RigMode, 8> kModes{{
    {"LSB", 0x00, {3000, 2400, 1800}},
    {"USB", 0x01, {3000, 2400, 1800}},
    {"AM", 0x02, {9000, 6000, 3000}},
    {"CW", 0x03, {1200, 500, 250}},
    {"RTTY", 0x04, {3000, 2400, 1800}},
    {"FM", 0x05, {15000, 12000, 9000}},
    {"CWR", 0x07, {1200, 500, 250}},
    {"RTTYR", 0x08, {3000, 2400, 1800}},
}};

constexpr std::array<std::string_view, 12> kForeignModes{"PKTUSB", "PKTLSB", "PKTFM",   "PKTAM",
                                                         "WFM",    "AMS",    "ECSSUSB", "ECSSLSB",
                                                         "FAX",    "SAM",    "DSB",     "FMN"};

}  // namespace

const RigMode* ModeByName(std::string_view name) {
  for (const RigMode& mode : kModes) {
    if (name == mode.name) return &mode;
  }
  return nullptr;
}

const RigMode* ModeByCode(std::uint8_t code) {
  for (const RigMode& mode : kModes) {
    if (code == mode.code) return &mode;
  }
  return nullptr;
}

bool IsForeignMode(std::string_view name) {
  for (const std::string_view foreign : kForeignModes) {
    if (name == foreign) return true;
  }
  return false;
}

int PassbandOf(const RigMode& mode, std::uint8_t filter) {
  if (filter < 1 || filter > 3) return 0;
  return mode.passbandHz[filter - 1];
}

std::optional<std::uint8_t> FilterFor(const RigMode& mode, long passbandHz) {
  if (passbandHz < 0) return std::nullopt;
  const int normal = mode.passbandHz[1];
  if (passbandHz == 0 || passbandHz == normal) return 2;
  return passbandHz > normal ? 1 : 3;
}

unsigned ModeBit(const RigMode& mode) {
  switch (mode.code) {
    case 0x02:
      return 0x1;  // AM
    case 0x03:
      return 0x2;  // CW
    case 0x01:
      return 0x4;  // USB
    case 0x00:
      return 0x8;  // LSB
    case 0x04:
      return 0x10;  // RTTY
    case 0x05:
      return 0x20;  // FM
    case 0x07:
      return 0x80;  // CWR
    case 0x08:
      return 0x100;  // RTTYR
    default:
      return 0;
  }
}

}  // namespace tavrin::share
