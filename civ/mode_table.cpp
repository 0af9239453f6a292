// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/mode_table.h"

#include <algorithm>
#include <cctype>

namespace tavrin::civ {

const std::array<Mode, 8>& Modes() {
  // The normal passbands are those the Icom family of this transceiver is known by; the wide
  // and narrow ones are the transceiver's other two filters.
  static constexpr std::array<Mode, 8> kModes{{
      {0x00, "LSB", "Lsb", "LSB", "LSB", "LSB", {3000, 2400, 1800}},
      {0x01, "USB", "Usb", "USB", "USB", "USB", {3000, 2400, 1800}},
      {0x02, "AM", "Am", "AM", "AM", "AM", {9000, 6000, 3000}},
      {0x03, "CW", "Cw", "CW", "CW", "CW", {1200, 500, 250}},
      {0x04, "RTTY", "Rtty", "RTTY", "RTTY", "RTTY", {3000, 2400, 1800}},
      {0x05, "FM", "Fm", "FM", "FM", "FM", {15000, 12000, 9000}},
      {0x07, "CWr", "Cwr", "CWR", "CWR", "CWR", {1200, 500, 250}},
      {0x08, "RTTYr", "Rttyr", "RTTYR", "RTTYR", "RTTYR", {3000, 2400, 1800}},
  }};
  return kModes;
}

const std::array<Filter, 3>& Filters() {
  static constexpr std::array<Filter, 3> kFilters{{
      {0x01, "Fil 1", "F1", "1"},
      {0x02, "Fil 2", "F2", "2"},
      {0x03, "Fil 3", "F3", "3"},
  }};
  return kFilters;
}

namespace {

template <typename Table, typename Test>
const typename Table::value_type* Find(const Table& table, Test test) {
  const auto found = std::find_if(table.begin(), table.end(), test);
  return found == table.end() ? nullptr : &*found;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace

const Mode* ModeOfCode(int code) {
  return Find(Modes(), [code](const Mode& mode) { return mode.code == code; });
}
const Mode* ModeShownAs(std::string_view text) {
  return Find(Modes(), [text](const Mode& mode) { return text == mode.shown; });
}
const Mode* ModeTypedAs(std::string_view word) {
  return Find(Modes(), [word](const Mode& mode) { return SameIgnoringCase(word, mode.typed); });
}
const Mode* ModeOfRigctl(std::string_view name) {
  return Find(Modes(), [name](const Mode& mode) { return name == mode.rigctl; });
}
const Mode* ModeOfChirp(std::string_view word) {
  return Find(Modes(), [word](const Mode& mode) { return SameIgnoringCase(word, mode.chirp); });
}
const Filter* FilterOfCode(int code) {
  return Find(Filters(), [code](const Filter& filter) { return filter.code == code; });
}
const Filter* FilterShownAs(std::string_view text) {
  return Find(Filters(), [text](const Filter& filter) { return text == filter.shown; });
}
const Filter* FilterTypedAs(std::string_view digit) {
  return Find(Filters(), [digit](const Filter& filter) { return digit == filter.typed; });
}

}  // namespace tavrin::civ
