// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dipole calculator window ("Dipole"): for a frequency it gives the cut lengths of a
// half-wave dipole and of a quarter-wave element, and the lengths of half-wave and
// quarter-wave runs of the chosen coax, each in whole feet and inches. The window's state is
// held here under the controls' design names; the Qt view only draws it and forwards clicks.
#include <array>
#include <string>

#include "platform/desktop.h"

namespace tavrin {

struct CoaxType {
  const char* caption;         // "rg8"
  const char* velocityFactor;  // "0.66", as written into the velocity factor field
};

// The 22 coax buttons Option1 .. Option22, in order. Rows on the window: 1-8, 9-15, 16-22.
const std::array<CoaxType, 22>& CoaxTypes();

class Dipole {
 public:
  explicit Dipole(Desktop& desktop);

  // Inputs.
  std::string Text1;          // "FREQUENCY" in MHz
  std::string Text6 = "0.5";  // "DIAMETER" of the element in inches
  std::string Text7;          // "VELOCITY FACTOR" of the feed line
  // Outputs: antenna half wave, quarter-wave element, feed-line half and quarter wave.
  std::string Text2, Text3;    // feet, inches
  std::string Text4, Text5;    // feet, inches
  std::string Text8, Text9;    // feet, inches
  std::string Text11, Text12;  // feet, inches
  // Marks of Option1 .. Option22 (index 0 unused).
  std::array<bool, 23> OptionMarked{};

  // Window load: the first coax button is chosen.
  void Load();
  // A coax button clicked: it is selected and its velocity factor goes into Text7.
  void ClickOption(int n);
  // "Calculate" (Command1).
  void Calculate();
  // "Quit" (Command2).
  void Quit();
  // Empties the eight output fields.
  void Clear();

 private:
  Desktop& desktop_;
};

}  // namespace tavrin
