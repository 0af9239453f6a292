// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/data_file_format.h"

namespace tavrin {

FileLine ReadFileLine(const std::string& line) {
  const ParsedDataLine parsed = ParseDataLine(line);
  FileLine read;
  read.kind = parsed.kind;
  read.shown = DisplayDataLine(line);
  if (parsed.kind != DataLineKind::Channel) return read;
  read.values = {parsed.MemChannelText, parsed.MemFrequencyDigits, parsed.MemModeText,
                 parsed.MemFilterText,  parsed.MemSelectedText,    parsed.MemLabelText};
  read.problem = UploadProblem(parsed);
  return read;
}

bool WriteBackupHead(DataFile& file, const std::string& dataFileName) {
  return file.DataFileWriter(DataFileTitleFields(dataFileName)) &&
         file.DataFileWriter(DataFileEmptyFields()) &&
         file.DataFileWriter(DataFileHeaderFields()) && file.DataFileWriter(DataFileEmptyFields());
}

bool WriteBackupChannels(DataFile& file, const std::vector<BackupChannel>& channels) {
  for (const BackupChannel& c : channels) {
    if (!file.DataFileWriter(DataFileChannelFields(c.number, c.frequency, c.mode, c.filter,
                                                   c.selectedMark, c.label)))
      return false;
  }
  return file.DataFileWriter(DataFileEmptyFields()) &&
         file.DataFileWriter(DataFileHeaderFields()) &&
         file.DataFileWriter(DataFileEmptyFields()) && file.DataFileWriter(DataFileEndFields());
}

}  // namespace tavrin
