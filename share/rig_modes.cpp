// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/rig_modes.h"

#include <algorithm>
#include <array>

namespace tavrin::share {

namespace {

constexpr std::array<std::string_view, 12> kForeignModes{"PKTUSB", "PKTLSB", "PKTFM",   "PKTAM",
                                                         "WFM",    "AMS",    "ECSSUSB", "ECSSLSB",
                                                         "FAX",    "SAM",    "DSB",     "FMN"};

constexpr unsigned char kNormalFilter = 2;

}  // namespace

bool IsForeignMode(std::string_view name) {
  return std::find(kForeignModes.begin(), kForeignModes.end(), name) != kForeignModes.end();
}

int PassbandOf(const civ::Mode& mode, unsigned char filter) {
  const civ::Filter* known = civ::FilterOfCode(filter);
  return known == nullptr ? 0 : mode.passbandHz[known->code - 1];
}

std::optional<unsigned char> FilterFor(const civ::Mode& mode, long passbandHz) {
  if (passbandHz < 0) return std::nullopt;
  const int normal = mode.passbandHz[kNormalFilter - 1];
  if (passbandHz == 0 || passbandHz == normal) return kNormalFilter;
  return passbandHz > normal ? civ::Filters().front().code : civ::Filters().back().code;
}

}  // namespace tavrin::share
