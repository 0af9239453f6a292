// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bearing calculator window ("Bearing"): great-circle course and distance from the
// station's own position, read from Bearing.ini at start-up, to a target typed in. The window
// state is held here under the controls' design names; the Qt view draws it.
#include <array>
#include <memory>
#include <string>

#include "platform/desktop.h"
#include "platform/files.h"

namespace tavrin {

class Bearings {
 public:
  Bearings(Desktop& desktop, const Files& files);

  std::string Text1;  // "My Latitude" (magnitude)
  std::string Text2;  // "My Longitude" (magnitude)
  std::string Text3;  // "Target Latitude"
  std::string Text4;  // "Target Longitude"
  std::string Text5;  // "Bearing in Degrees"
  std::string Text6;  // "Distance in Miles"
  std::string Text7;  // "Distance in Kilometers"
  // Hemisphere marks of Option1 .. Option8 (index 0 unused). Pairs: target latitude N/S
  // (1, 2), target longitude E/W (3, 4), own latitude N/S (5, 6), own longitude E/W (7, 8).
  std::array<bool, 9> OptionMarked{};

  bool OpenError = false;  // opening Bearing.ini has failed
  std::string IniLat;      // own latitude from the file, north positive
  std::string IniLong;     // own longitude from the file, east positive

  // Window load: the own position from the file (or the defaults), hemispheres of both the
  // own and the target position set from it.
  void Load();
  // Opens a settings file for reading ("Input"); on failure reports it, sets OpenError and
  // falls back to the built-in position. Names of 12 characters or fewer are in the current
  // directory.
  std::unique_ptr<TextInput> OpenCfg(const std::string& fileName, const std::string& mode);
  // Reads Bearing.ini: "[LAT]=" and "[LONG]=" lines, nine characters of value each.
  void CfgProcess();
  // A hemisphere option clicked: it is selected and its partner cleared.
  void ClickOption(int n);
  // "Calculate" (Command1).
  void Calculate();
  // "Quit" (Command2).
  void Quit();

 private:
  void ClearResults();
  void MarkHemisphere(double value, int positive, int negative, int targetPositive,
                      int targetNegative);

  Desktop& desktop_;
  const Files& files_;
};

}  // namespace tavrin
