// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/status_line.h"

#include "app/control_program.h"
#include "civ/encodings.h"

namespace tavrin {

namespace {

void WriteStatusLine(ControlProgram& program, const std::string& line) {
  program.radio.Text7 = line;
  program.memory.Text9 = line;
}

}  // namespace

void ShowStatus(ControlProgram& program, const std::string& reply) {
  const std::string list = ToDecimalList(reply);
  WriteStatusLine(program, list.empty() ? "STATUS = RADIO NOT READY" : "STATUS = " + list);
}

void ShowAutoStatus(ControlProgram& program, const std::string& data) {
  WriteStatusLine(program, "AUTO = " + ToDecimalList(data));
}

}  // namespace tavrin
