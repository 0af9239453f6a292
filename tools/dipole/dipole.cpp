// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dipole/dipole.h"

#include <cmath>
#include <optional>

#include "tools/dipole/dipole_calc.h"
#include "tools/dipole/number_text.h"

namespace tavrin {

namespace {

// An input the calculation can use: a number other than 0. Empty, blank and unreadable
// fields are not.
std::optional<double> UsableInput(const std::string& text) {
  const auto value = FieldNumber(text);
  if (!value || *value == 0) return std::nullopt;
  return value;
}

bool Finite(const FeetInches& length) {
  return std::isfinite(length.feet) && std::isfinite(length.inches);
}

}  // namespace

const std::array<CoaxType, 22>& CoaxTypes() {
  static const std::array<CoaxType, 22> types{{
      {"rg8", "0.66"},    {"rg8x", "0.84"},    {"rg8x fm", "0.75"}, {"rg11", "0.75"},
      {"rg58", "0.66"},   {"rg58 fm", "0.79"}, {"rg59", "0.82"},    {"rg62", "0.84"},
      {"rg174", "0.66"},  {"rg213", "0.66"},   {"rg214", "0.66"},   {"rg217", "0.66"},
      {"rg218", "0.66"},  {"rg316", "0.79"},   {"rg400", "0.7"},    {"ldf-all", "0.88"},
      {"lmr195", "0.83"}, {"lmr400", "0.85"},  {"lmr500", "0.85"},  {"lmr600", "0.86"},
      {"1/2 hd", "0.81"}, {"7/8 hd", "0.81"},
  }};
  return types;
}

Dipole::Dipole(Desktop& desktop) : desktop_(desktop) {}

void Dipole::Load() { ClickOption(1); }

void Dipole::ClickOption(int n) {
  if (n < 1 || n > static_cast<int>(CoaxTypes().size())) return;
  OptionMarked.fill(false);
  OptionMarked[static_cast<std::size_t>(n)] = true;
  Text7 = CoaxTypes()[static_cast<std::size_t>(n - 1)].velocityFactor;
}

void Dipole::Calculate() {
  // The diameter is checked even where it does not count (30 MHz and below).
  const auto frequency = UsableInput(Text1);
  const auto diameter = frequency ? UsableInput(Text6) : std::nullopt;
  const auto velocityFactor = diameter ? UsableInput(Text7) : std::nullopt;
  if (!velocityFactor) {
    Clear();
    return;
  }
  const DipoleLengths lengths = CalculateDipole(*frequency, *diameter, *velocityFactor);
  // Extreme inputs (a frequency of 1e-320) overflow; nothing sensible can be shown.
  for (const FeetInches* length :
       {&lengths.antennaHalf, &lengths.antennaQuarter, &lengths.feedHalf, &lengths.feedQuarter}) {
    if (!Finite(*length)) {
      Clear();
      return;
    }
  }
  Text2 = WholeNumberText(lengths.antennaHalf.feet);
  Text3 = WholeNumberText(lengths.antennaHalf.inches);
  Text4 = WholeNumberText(lengths.antennaQuarter.feet);
  Text5 = WholeNumberText(lengths.antennaQuarter.inches);
  Text8 = WholeNumberText(lengths.feedHalf.feet);
  Text9 = WholeNumberText(lengths.feedHalf.inches);
  Text11 = WholeNumberText(lengths.feedQuarter.feet);
  Text12 = WholeNumberText(lengths.feedQuarter.inches);
}

void Dipole::Quit() { desktop_.EndProgram(); }

void Dipole::Clear() {
  for (std::string* field : {&Text2, &Text3, &Text4, &Text5, &Text8, &Text9, &Text11, &Text12}) {
    field->clear();
  }
}

}  // namespace tavrin
