#include "memory/data_file.h"

#include "app/control_program.h"

namespace tavrin {

ParsedDataLine ParseDataLine(const std::string& /*line*/) { return {}; }
std::string FormatDataLine(const std::vector<DataField>& /*fields*/) { return {}; }

DataFile::DataFile(ControlProgram& program) : program_(program) {}

bool DataFile::OpenDataFile(std::string& /*name*/, const std::string& /*mode*/) { return false; }
bool DataFile::ReopenDataFile(const std::string& /*mode*/) { return false; }

void DataFile::CloseDataFile() {
  if (output_) output_->Close();
  output_.reset();
  input_.reset();
  program_.station.DataFileOpen = false;
}

void DataFile::ReadDataLine(std::string& line) {
  if (input_ && !input_->AtEnd()) line = input_->ReadLine();
}

bool DataFile::AtEnd() const { return !input_ || input_->AtEnd(); }

void DataFile::DataFileWriter(const std::vector<DataField>& fields) {
  if (output_) output_->WriteLine(FormatDataLine(fields));
}

}  // namespace tavrin
