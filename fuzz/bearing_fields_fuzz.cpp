// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the bearing calculator's number fields. The input is the own latitude and
// longitude and the target's, as typed (one a line); the first byte holds the four hemisphere
// choices. "Calculate" must give a course of 0 to 360 degrees and a distance no longer than
// half the Earth's circumference, or empty results, and never end the program.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "tools/bearing/bearings.h"

using namespace tavrin;

namespace {

// Half the great circle, with room for the rounding of the traditional constants.
constexpr int kLongestKilometres = 20'100;
constexpr int kLongestMiles = 12'500;

void CheckResults(const Bearings& bearings) {
  const bool shown = !bearings.Text5.empty();
  fuzz::Check(bearings.Text6.empty() != shown && bearings.Text7.empty() != shown);
  if (!shown) return;
  for (const std::string* field : {&bearings.Text5, &bearings.Text6, &bearings.Text7}) {
    fuzz::Check(fuzz::WholeNumberForm(*field) && field->size() <= 6);
  }
  const int degrees = std::stoi(bearings.Text5);
  const int miles = std::stoi(bearings.Text6);
  const int kilometres = std::stoi(bearings.Text7);
  fuzz::Check(degrees >= 0 && degrees <= 360);
  fuzz::Check(kilometres >= 0 && kilometres <= kLongestKilometres);
  fuzz::Check(miles >= 0 && miles <= kLongestMiles && miles <= kilometres);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static FakeDesktop desktop;
  static const Files files("/nonexistent");
  Bearings bearings(desktop, files);
  // Each pair of options (N/S, E/W, own and target) from two bits: none, the first or the
  // second chosen.
  for (int pair = 0; pair < 4; ++pair) {
    const int choice = (data[0] >> (2 * pair)) & 3;
    if (choice == 1 || choice == 2) bearings.ClickOption(2 * pair + choice);
  }
  const std::vector<std::string> fields = fuzz::Lines(data + 1, size - 1);
  std::string* inputs[] = {&bearings.Text1, &bearings.Text2, &bearings.Text3, &bearings.Text4};
  for (std::size_t i = 0; i < 4 && i < fields.size(); ++i) *inputs[i] = fields[i];
  bearings.Calculate();
  fuzz::Check(!desktop.ended);
  CheckResults(bearings);
  return 0;
}
