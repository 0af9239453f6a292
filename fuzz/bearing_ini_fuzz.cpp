// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as Bearing.ini. The window's load reads the own position
// from it (nine characters after "[LAT]=" and "[LONG]="), shows it as plain numbers and picks
// the hemispheres; a calculation to a fixed target must then give a course and distance in
// range, and nothing of the file may end the program.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "tools/bearing/bearings.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchDirectory scratch("bearing-ini-fuzz");
  const std::filesystem::path& directory = scratch.Path();
  static const Files files(directory.string());
  {
    std::ofstream out(directory / "Bearing.ini", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  FakeDesktop desktop;
  Bearings bearings(desktop, files);
  bearings.Load();
  fuzz::Check(!bearings.OpenError && desktop.boxes.empty());
  fuzz::Check(bearings.IniLat.size() <= 9 && bearings.IniLong.size() <= 9);
  // The own position is shown as a magnitude; the hemisphere marks carry the sign, one of
  // each pair at most.
  for (const std::string* field : {&bearings.Text1, &bearings.Text2}) {
    fuzz::Check(!field->empty() && (*field)[0] != '-');
  }
  for (int n = 1; n <= 7; n += 2) {
    fuzz::Check(!(bearings.OptionMarked[n] && bearings.OptionMarked[n + 1]));
  }
  bearings.Text3 = "35.5";
  bearings.Text4 = "139.7";
  bearings.Calculate();
  fuzz::Check(!desktop.ended);
  if (!bearings.Text5.empty()) {
    const int degrees = std::stoi(bearings.Text5);
    const int kilometres = std::stoi(bearings.Text7);
    fuzz::Check(degrees >= 0 && degrees <= 360 && kilometres >= 0 && kilometres <= 20'100);
  }
  return 0;
}
