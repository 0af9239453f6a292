// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the memory operations meet the data file's layout, and only here: reading its lines
// one by one (what a line shows, whether it carries a channel, the values it hands to the
// memory-set command) and writing a backup (its head when the pass starts, its channel lines
// and tail when it ends). A data file is the text file of 14-column print zones (data_line.h),
// or, when its name ends in ".csv" in any case, a channel list in CHIRP's comma-separated
// form (chirp_csv.h).
#include <optional>
#include <string>
#include <vector>

#include "memory/chirp_csv.h"
#include "memory/data_file.h"
#include "memory/data_line.h"
#include "radio/memory_values.h"

namespace tavrin {

enum class DataFileFormat { Text, ChirpCsv };
// The layout of the data file of this name or path.
DataFileFormat FormatOfDataFile(const std::string& name);

// What the memory window shows of a line.
using FileLineDisplay = DataLineDisplay;

struct FileLine {
  DataLineKind kind = DataLineKind::NoChannel;
  FileLineDisplay shown;
  // For a channel line: the values for the memory-set command, and why they cannot be stored
  // (empty when they can).
  MemoryValues values;
  std::string problem;
  // What was changed on the way in of a line that can be stored (a name cut to ten letters).
  std::string note;
  // "View File" ends once it has shown this line.
  bool endsView = false;
};
// One line of the text data file.
FileLine ReadFileLine(const std::string& line);

// Reads the data file open for reading line by line in its layout; a record of a CHIRP CSV
// file may run over several lines (a quoted field holding a line end) and is read whole.
class FileLineReader {
 public:
  // From the start of the file, in `format`.
  void Restart(DataFileFormat format);
  // The next line (or record) of `file`; nothing at its end.
  std::optional<FileLine> Next(DataFile& file);
  // The lines of the file read since the start.
  [[nodiscard]] int LinesRead() const { return linesRead_; }

 private:
  DataFileFormat format_ = DataFileFormat::Text;
  ChirpCsvReader csv_;
  int linesRead_ = 0;
};

// One channel of a backup, as the memory window shows it after the transceiver's answer.
struct BackupChannel {
  int number = 0;
  std::string frequency;     // "14.195.0"
  std::string mode;          // "CWr"
  std::string filter;        // "Fil 2"
  std::string selectedMark;  // "*" selected, " " not
  std::string label;
};
// The head of a backup: for the text file title, empty line, column header, empty line; for a
// CHIRP CSV file its header line. False (the error in the file's WriteError) when it could not
// be written.
bool WriteBackupHead(DataFile& file, DataFileFormat format, const std::string& dataFileName);
// The channels in the order given, then, for the text file, the tail: empty line, column
// header, empty line, end.
bool WriteBackupChannels(DataFile& file, DataFileFormat format,
                         const std::vector<BackupChannel>& channels);

}  // namespace tavrin
