// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/data_file_format.h"

#include <algorithm>
#include <cctype>

namespace tavrin {

namespace {

constexpr const char* kChirpCsvEnding = ".csv";

MemoryValues ValuesOf(const ParsedDataLine& parsed) {
  return {parsed.MemChannelText, parsed.MemFrequencyDigits, parsed.MemModeText,
          parsed.MemFilterText,  parsed.MemSelectedText,    parsed.MemLabelText};
}

FileLine FileLineOfRecord(const ChirpCsvRecord& record) {
  FileLine read;
  read.kind = record.parsed.kind;
  read.shown = record.shown;
  if (read.kind != DataLineKind::Channel) return read;
  read.values = ValuesOf(record.parsed);
  read.problem = record.problem;
  read.note = record.note;
  return read;
}

}  // namespace

DataFileFormat FormatOfDataFile(const std::string& name) {
  const std::string ending = kChirpCsvEnding;
  if (name.size() < ending.size()) return DataFileFormat::Text;
  const bool csv =
      std::equal(ending.begin(), ending.end(), name.end() - ending.size(),
                 [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
  return csv ? DataFileFormat::ChirpCsv : DataFileFormat::Text;
}

FileLine ReadFileLine(const std::string& line) {
  const ParsedDataLine parsed = ParseDataLine(line);
  FileLine read;
  read.kind = parsed.kind;
  read.shown = DisplayDataLine(line);
  // Only "END" in the channel columns ends the view; a comment ends nothing, whatever its star
  // is followed by.
  read.endsView = read.shown.Text1 == "END" && parsed.kind != DataLineKind::Comment;
  if (parsed.kind != DataLineKind::Channel) return read;
  read.values = ValuesOf(parsed);
  read.problem = UploadProblem(parsed);
  return read;
}

void FileLineReader::Restart(DataFileFormat format) {
  format_ = format;
  csv_ = ChirpCsvReader();
  linesRead_ = 0;
}

std::optional<FileLine> FileLineReader::Next(DataFile& file) {
  std::string text;
  if (format_ == DataFileFormat::Text) {
    if (file.AtEnd()) return std::nullopt;
    file.ReadDataLine(text);
    ++linesRead_;
    return ReadFileLine(text);
  }
  while (!file.AtEnd()) {
    file.ReadDataLine(text);
    ++linesRead_;
    if (const auto record = csv_.TakeLine(text)) return FileLineOfRecord(*record);
  }
  if (const auto record = csv_.TakeEnd()) return FileLineOfRecord(*record);
  return std::nullopt;
}

bool WriteBackupHead(DataFile& file, DataFileFormat format, const std::string& dataFileName) {
  if (format == DataFileFormat::ChirpCsv) return file.WriteTextLine(kChirpCsvHeader);
  return file.DataFileWriter(DataFileTitleFields(dataFileName)) &&
         file.DataFileWriter(DataFileEmptyFields()) &&
         file.DataFileWriter(DataFileHeaderFields()) && file.DataFileWriter(DataFileEmptyFields());
}

bool WriteBackupChannels(DataFile& file, DataFileFormat format,
                         const std::vector<BackupChannel>& channels) {
  const bool csv = format == DataFileFormat::ChirpCsv;
  for (const BackupChannel& c : channels) {
    const bool written =
        csv ? file.WriteTextLine(ChirpCsvChannelLine(c.number, c.frequency, c.mode, c.filter,
                                                     c.selectedMark, c.label))
            : file.DataFileWriter(DataFileChannelFields(c.number, c.frequency, c.mode, c.filter,
                                                        c.selectedMark, c.label));
    if (!written) return false;
  }
  if (csv) return true;
  return file.DataFileWriter(DataFileEmptyFields()) &&
         file.DataFileWriter(DataFileHeaderFields()) &&
         file.DataFileWriter(DataFileEmptyFields()) && file.DataFileWriter(DataFileEndFields());
}

}  // namespace tavrin
