// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// KESTRA.INI: the four station settings, one "[Key] value" line each, ended by END.
#include <memory>
#include <string>

#include "platform/files.h"

namespace tavrin {

class ControlProgram;

inline constexpr const char* kConfigFileName = "KESTRA.INI";

// The file opened by OpenConfigFile: for reading or for writing, or neither after an error.
struct ConfigFile {
  std::unique_ptr<TextInput> input;
  std::unique_ptr<TextOutput> output;
};

// Opens KESTRA.INI ("Input" or "Output"); a missing file is reported, created empty and
// marks the configuration missing.
ConfigFile OpenConfigFile(ControlProgram& program, const std::string& name,
                          const std::string& mode);

struct ConfigReading {
  std::string lastLine;  // "END" complete; empty missing; anything else incomplete
  bool opened = false;
};
// Reads the settings into the station; the caller decides from the last line.
ConfigReading ReadConfigFile(ControlProgram& program);

// Writes the eight lines from the station's settings (empty ones get their defaults, the
// data file is reduced to its bare name in capitals) and puts them in place of the old file
// in one step. False when they could not be written (the error box has been shown; the old
// file is as it was).
bool WriteConfigFile(ControlProgram& program);

// The call sign written when none was given.
inline constexpr const char* kDefaultCallSign = "N0CALL";

}  // namespace tavrin
