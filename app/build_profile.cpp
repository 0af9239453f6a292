// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/build_profile.h"

namespace tavrin {

const BuildProfile& ProfileOf(Build build) {
  static const BuildProfile kTavrin{.productName = "Tavrin2",
                                    .versionText = "Version 1.05",
                                    .startsOnMemoryWindow = false,
                                    .readsRadioState = true,
                                    .checksRadioWithoutPort = false,
                                    .link = {.followsBroadcasts = true},
                                    .memoryCaption = "Memory Operation Menu",
                                    .memoryMenuBar = true,
                                    .memoryButtons = true,
                                    .memoryButtonsLeftOut = {},
                                    .memoryWindowEndsProgram = false};
  // The compact panel's memory window has no buttons and is never shown.
  static const BuildProfile kKorvid{.productName = "Korvid",
                                    .versionText = "Version 1.00",
                                    .startsOnMemoryWindow = false,
                                    .readsRadioState = true,
                                    .checksRadioWithoutPort = false,
                                    .link = {.followsBroadcasts = true},
                                    .memoryCaption = "Memory Operation Menu",
                                    .memoryMenuBar = false,
                                    .memoryButtons = false,
                                    .memoryButtonsLeftOut = {},
                                    .memoryWindowEndsProgram = false};
  // The memory manager does not follow the front panel and only checks that the transceiver
  // answers; its window has no scan, no scan "=", no "Skip" and no way to the radio window.
  static const BuildProfile kBelmarq{
      .productName = "Belmarq",
      .versionText = "Version 1.00",
      .startsOnMemoryWindow = true,
      .readsRadioState = false,
      .checksRadioWithoutPort = true,
      .link = {.followsBroadcasts = false},
      .memoryCaption = "Memory Operations",
      .memoryMenuBar = false,
      .memoryButtons = true,
      .memoryButtonsLeftOut = {"Command6", "Command13", "Command11", "Command7"},
      .memoryWindowEndsProgram = true};
  switch (build) {
    case Build::Korvid:
      return kKorvid;
    case Build::Belmarq:
      return kBelmarq;
    case Build::Tavrin:
      break;
  }
  return kTavrin;
}

}  // namespace tavrin
