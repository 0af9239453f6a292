// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory data file: plain text in 14-column print zones, one channel a line, that people
// can read and edit. At most one is open (file number 1), for reading or for writing, always
// from its start.
#include <memory>
#include <string>
#include <vector>

#include "memory/data_line.h"
#include "platform/files.h"

namespace tavrin {

class ControlProgram;

class DataFile {
 public:
  explicit DataFile(ControlProgram& program);

  // Opens `name` ("Input" or "Output") as the data file in use: a name of up to 12 characters
  // is taken from the current directory. On success sets DataFilePath, DataFileName and
  // DataFileOpen and writes the full path back into `name`. A missing file is created empty
  // and the program ends (the user restarts it); any other error is reported and nothing is
  // opened. Returns whether the file is now open.
  bool OpenDataFile(std::string& name, const std::string& mode);
  // Opens DataFilePath again as it stands; a missing file is created empty first.
  bool ReopenDataFile(const std::string& mode);
  // Opens a replacement of DataFilePath as file 1: what is written goes to a temporary file
  // beside it, and the data file itself changes only at CommitReplacement. False, with the
  // system's error in `error`, when the temporary file cannot be made.
  bool OpenReplacement(FileError& error);
  // Puts the finished replacement in place of the data file; false, with the error, when the
  // data file could not be replaced (it is then as it was).
  bool CommitReplacement(FileError& error);
  // Puts the finished replacement at `path` (beside the data file) instead of in the data
  // file's place; the data file stays as it was. False, with the error, when it could not be
  // done (nothing is then left at `path` that was not there).
  bool KeepReplacementAs(const std::string& path, FileError& error);
  // Closes file 1; a replacement not yet committed is dropped and the data file kept.
  void CloseDataFile();
  // The next line into `line`; at the end of the file `line` is left as it was. A byte order
  // mark in front of the first line (editors on other systems write one) is dropped.
  void ReadDataLine(std::string& line);
  [[nodiscard]] bool AtEnd() const;
  [[nodiscard]] bool OpenForInput() const { return input_ != nullptr; }
  [[nodiscard]] bool OpenForOutput() const { return output_ != nullptr; }
  // One line of six fields in the print-zone layout; false (the error in WriteError) when it
  // could not be written.
  bool DataFileWriter(const std::vector<DataField>& fields);
  // One line as it is (a line of a CHIRP CSV file); false as above.
  bool WriteTextLine(const std::string& text);
  // The first write error of the file open for writing.
  [[nodiscard]] FileError WriteError() const;

 private:
  // Closes file 1 without touching DataFileOpen.
  void CloseFileOne();
  // Opens `path` as file 1; the error, if any, in `error`.
  bool OpenFileOne(const std::string& path, const std::string& mode, FileError& error);
  void ShowOpenError(const std::string& title, const FileError& error, const std::string& name,
                     const std::string& mode, bool willCreate);

  ControlProgram& program_;
  std::unique_ptr<TextInput> input_;
  std::unique_ptr<TextOutput> output_;
  bool atFirstLine_ = false;
};

}  // namespace tavrin
