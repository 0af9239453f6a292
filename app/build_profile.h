// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three control programs are one code base; what makes them differ is this data, given to
// the program at start-up.
#include <string>
#include <vector>

#include "civ/civ_link.h"

namespace tavrin {

enum class Build { Tavrin, Korvid, Belmarq };

struct BuildProfile {
  const char* productName;  // the splash's product label
  const char* versionText;
  // The splash opens the memory window (the memory manager) instead of the radio window.
  bool startsOnMemoryWindow;
  // The start-up synchronisation reads the transceiver's state and marks the radio window's
  // options; without it only the transceiver's identity is checked.
  bool readsRadioState;
  // The identity check runs even when the port did not open: its first reply then shows that
  // nothing answers.
  bool checksRadioWithoutPort;
  LinkSettings link;
  // The memory window: caption, menu bar, whether it has buttons and which of them it lacks
  // (design names), and whether closing its frame ends the program (it is the program's only
  // window).
  const char* memoryCaption;
  bool memoryMenuBar;
  bool memoryButtons;
  std::vector<std::string> memoryButtonsLeftOut;
  bool memoryWindowEndsProgram;
};

const BuildProfile& ProfileOf(Build build);

}  // namespace tavrin
