// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/data_file.h"

#include "app/control_program.h"
#include "app/text_functions.h"

namespace tavrin {

namespace {

bool ForWriting(const std::string& mode) { return mode == "Output"; }

}  // namespace

DataFile::DataFile(ControlProgram& program) : program_(program) {}

void DataFile::CloseFileOne() {
  if (output_) output_->Close();
  output_.reset();
  input_.reset();
}

bool DataFile::OpenFileOne(const std::string& path, const std::string& mode, FileError& error) {
  const Files& files = program_.platform.files;
  if (ForWriting(mode)) {
    output_ = files.OpenOutput(path, error);
    return output_ != nullptr;
  }
  input_ = files.OpenInput(path, error);
  atFirstLine_ = true;
  return input_ != nullptr;
}

void DataFile::ShowOpenError(const std::string& title, const FileError& error,
                             const std::string& name, const std::string& mode, bool willCreate) {
  std::string text = "Error Code " + std::to_string(error.number) + " ... " + error.description +
                     " ... " + name + " ... " + mode;
  if (willCreate) text += " ... File will be created.";
  program_.platform.desktop.MessageBox(title, text, BoxIcon::Critical, BoxButtons::Ok);
}

bool DataFile::OpenDataFile(std::string& name, const std::string& mode) {
  Station& s = program_.station;
  CloseFileOne();
  s.DataFileOpen = false;
  const std::string path = program_.platform.files.CompletePath(name);
  FileError error;
  if (OpenFileOne(path, mode, error)) {
    s.DataFilePath = path;
    name = path;
    s.DataFileOpen = true;
    s.DataFileName = UpperFileName(path);
    return true;
  }
  if (error.number != kErrorFileNotFound) {
    ShowOpenError("Open File - Unexpected Error", error, name, mode, false);
    return false;
  }
  ShowOpenError("Open File Error", error, name, mode, true);
  // The missing file is made empty and becomes the data file in use; the user starts the
  // program again so that everything starts from it.
  std::string created = path;
  if (OpenDataFile(created, "Output")) CloseDataFile();
  program_.platform.desktop.MessageBox("Restart (creating missing file)", "Restart program!",
                                       BoxIcon::Critical, BoxButtons::Ok);
  program_.EndProgram();
  return false;
}

bool DataFile::ReopenDataFile(const std::string& mode) {
  Station& s = program_.station;
  CloseFileOne();
  s.DataFileOpen = false;
  const std::string path = s.DataFilePath;
  FileError error;
  if (OpenFileOne(path, mode, error)) {
    s.DataFileOpen = true;
    return true;
  }
  if (error.number != kErrorFileNotFound) {
    ShowOpenError("Re-Open File - Unexpected Error", error, path, mode, false);
    return false;
  }
  ShowOpenError("Re-Open File Error", error, path, mode, true);
  std::string created = path;
  if (!OpenDataFile(created, "Output")) return false;
  CloseDataFile();
  if (!OpenFileOne(s.DataFilePath, mode, error)) {
    ShowOpenError("Re-Open File - Unexpected Error", error, s.DataFilePath, mode, false);
    return false;
  }
  s.DataFileOpen = true;
  return true;
}

bool DataFile::OpenReplacement(FileError& error) {
  Station& s = program_.station;
  CloseFileOne();
  s.DataFileOpen = false;
  output_ = program_.platform.files.OpenReplacement(s.DataFilePath, error);
  if (!output_) return false;
  s.DataFileOpen = true;
  return true;
}

bool DataFile::CommitReplacement(FileError& error) {
  if (!output_) return false;
  const bool committed = output_->Commit();
  error = output_->Error();
  output_.reset();
  program_.station.DataFileOpen = false;
  return committed;
}

bool DataFile::KeepReplacementAs(const std::string& path, FileError& error) {
  if (!output_) return false;
  const bool kept = output_->CommitAs(path);
  error = output_->Error();
  output_.reset();
  program_.station.DataFileOpen = false;
  return kept;
}

FileError DataFile::WriteError() const { return output_ ? output_->Error() : FileError{}; }

void DataFile::CloseDataFile() {
  CloseFileOne();
  program_.station.DataFileOpen = false;
}

void DataFile::ReadDataLine(std::string& line) {
  if (!input_ || input_->AtEnd()) return;
  line = input_->ReadLine();
  if (atFirstLine_ && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
  atFirstLine_ = false;
}

bool DataFile::AtEnd() const { return !input_ || input_->AtEnd(); }

bool DataFile::DataFileWriter(const std::vector<DataField>& fields) {
  return WriteTextLine(FormatDataLine(fields));
}

bool DataFile::WriteTextLine(const std::string& text) {
  if (!output_) return false;
  return output_->WriteLine(text);
}

}  // namespace tavrin
