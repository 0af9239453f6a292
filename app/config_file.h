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
  FileError error;  // what opening it met (53: missing, and made empty)
};

// Opens KESTRA.INI ("Input" or "Output"); a missing file is reported, created empty and
// marks the configuration missing. A file that exists but cannot be read is reported too,
// with what keeps the port closed and how Setup mends it; `report` false keeps that box back
// (it has been shown in this start already).
ConfigFile OpenConfigFile(ControlProgram& program, const std::string& name, const std::string& mode,
                          bool report = true);

struct ConfigReading {
  std::string lastLine;  // "END" complete; empty missing; anything else incomplete
  bool opened = false;
  bool unreadable = false;  // the file is there but could not be read
};
// Reads the settings into the station; the caller decides from the last line.
ConfigReading ReadConfigFile(ControlProgram& program, bool report = true);

// What keeps the port closed when KESTRA.INI is not complete, and the cure.
inline constexpr const char* kIncompleteConfigAdvice =
    "The port stays closed ... Run SETUP (menu) and Save to write a complete file.";

// Writes the eight lines from the station's settings (empty ones get their defaults, the
// data file is reduced to its bare name in capitals) and puts them in place of the old file
// in one step. False when they could not be written (the error box has been shown; the old
// file is as it was).
bool WriteConfigFile(ControlProgram& program);

// The call sign written when none was given.
inline constexpr const char* kDefaultCallSign = "N0CALL";

}  // namespace tavrin
