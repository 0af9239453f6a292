// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the radio window's commands refuse a typed value that has no byte form (an audio level
// of 200, a time of "12:", a channel above 179, a frequency of one or two digits): the
// operator is told which value and what is accepted, nothing is sent, and the program keeps
// running.
#include <string>

namespace tavrin {

class ControlProgram;

// Clears the status line, records `text` as the radio window's LastRefusal and, when
// `showBox`, shows it in a critical box titled `title`. Commands whose values were given pass
// no box: whoever gave them decides what to do.
void RefuseValue(ControlProgram& program, const std::string& title, const std::string& text,
                 bool showBox);

}  // namespace tavrin
