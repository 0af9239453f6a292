// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the memory operations meet the data file's layout, and only here: reading its lines
// one by one (what a line shows, whether it carries a channel, the values it hands to the
// memory-set command) and writing a backup (its head when the pass starts, its channel lines
// and tail when it ends). The layout is the text file of 14-column print zones (data_line.h).
#include <string>
#include <vector>

#include "memory/data_file.h"
#include "memory/data_line.h"
#include "radio/memory_values.h"

namespace tavrin {

// What the memory window shows of a line.
using FileLineDisplay = DataLineDisplay;

struct FileLine {
  DataLineKind kind = DataLineKind::NoChannel;
  FileLineDisplay shown;
  // For a channel line: the values for the memory-set command, and why they cannot be stored
  // (empty when they can).
  MemoryValues values;
  std::string problem;
};
FileLine ReadFileLine(const std::string& line);

// One channel of a backup, as the memory window shows it after the transceiver's answer.
struct BackupChannel {
  int number = 0;
  std::string frequency;     // "14.195.0"
  std::string mode;          // "CWr"
  std::string filter;        // "Fil 2"
  std::string selectedMark;  // "*" selected, " " not
  std::string label;
};
// The head of a backup: title, empty line, column header, empty line. False (the error in the
// file's WriteError) when it could not be written.
bool WriteBackupHead(DataFile& file, const std::string& dataFileName);
// The channels in the order given, then the tail: empty line, column header, empty line, end.
bool WriteBackupChannels(DataFile& file, const std::vector<BackupChannel>& channels);

}  // namespace tavrin
