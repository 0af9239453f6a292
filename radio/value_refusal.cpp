// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/value_refusal.h"

#include "app/control_program.h"

namespace tavrin {

void RefuseValue(ControlProgram& program, const std::string& title, const std::string& text,
                 bool showBox) {
  program.radio.LastRefusal = text;
  program.radio.ClearStatusLine();
  if (showBox) program.platform.desktop.MessageBox(title, text, BoxIcon::Critical, BoxButtons::Ok);
}

}  // namespace tavrin
