// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the dipole calculator's number fields. The input is the frequency, the
// diameter and the velocity factor as typed (one a line), the first byte picking a coax
// button first. "Calculate" must either empty all eight lengths or fill every one with a whole
// number, inches within a foot, and never end the program.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/fake_desktop.h"
#include "tools/dipole/dipole.h"
#include "tools/dipole/number_text.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static FakeDesktop desktop;
  Dipole dipole(desktop);
  dipole.Load();
  dipole.ClickOption(1 + data[0] % 23);  // 23 is no button and changes nothing
  const std::vector<std::string> fields = fuzz::Lines(data + 1, size - 1);
  dipole.Text1 = fields[0];
  if (fields.size() > 1) dipole.Text6 = fields[1];
  if (fields.size() > 2) dipole.Text7 = fields[2];
  dipole.Calculate();
  fuzz::Check(!desktop.ended);

  const std::string* feet[] = {&dipole.Text2, &dipole.Text4, &dipole.Text8, &dipole.Text11};
  const std::string* inches[] = {&dipole.Text3, &dipole.Text5, &dipole.Text9, &dipole.Text12};
  const bool shown = !dipole.Text2.empty();
  for (int i = 0; i < 4; ++i) {
    fuzz::Check(feet[i]->empty() != shown && inches[i]->empty() != shown);
    if (!shown) continue;
    fuzz::Check(fuzz::WholeNumberForm(*feet[i]) && fuzz::WholeNumberForm(*inches[i]));
    const double inch = std::stod(*inches[i]);
    fuzz::Check(inch > -12 && inch < 12);
  }
  // Lengths are shown only for three usable numbers.
  if (shown) {
    for (const std::string* field : {&dipole.Text1, &dipole.Text6, &dipole.Text7}) {
      const auto value = FieldNumber(*field);
      fuzz::Check(value && *value != 0);
    }
  }
  return 0;
}
