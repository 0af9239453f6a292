// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transceiver's eight operating modes and three filters, with every spelling the suite
// uses for them: the byte on the bus, the text the mode fields and the data file show, the
// caption of the radio window's option, the word an operator types (any case), the name
// network clients use and the word of CHIRP's channel lists; and each filter's passband in
// each mode.
#include <array>
#include <string_view>

namespace tavrin::civ {

struct Mode {
  unsigned char code;             // the byte on the bus
  const char* shown;              // mode fields and data file: "CWr"
  const char* option;             // the radio window's option: "Cwr"
  const char* typed;              // typed into a prompt or a data file, any case: "CWR"
  const char* rigctl;             // network clients' name: "CWR"
  const char* chirp;              // CHIRP's CSV files, any case when read: "CWR"
  std::array<int, 3> passbandHz;  // filters 1, 2, 3: wide, normal, narrow
};

struct Filter {
  unsigned char code;  // 01 .. 03
  const char* shown;   // filter field and data file: "Fil 1"
  const char* option;  // the radio window's option: "F1"
  const char* typed;   // typed into a prompt, and the digit a data file line ends it with: "1"
};

// In the order of their codes; 06 is no mode of this transceiver.
const std::array<Mode, 8>& Modes();
const std::array<Filter, 3>& Filters();

// The mode or filter of one spelling; nullptr when there is none.
const Mode* ModeOfCode(int code);
const Mode* ModeShownAs(std::string_view text);
const Mode* ModeTypedAs(std::string_view word);  // case ignored
const Mode* ModeOfRigctl(std::string_view name);
const Mode* ModeOfChirp(std::string_view word);  // case ignored
const Filter* FilterOfCode(int code);
const Filter* FilterShownAs(std::string_view text);
const Filter* FilterTypedAs(std::string_view digit);

}  // namespace tavrin::civ
