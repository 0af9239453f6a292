#pragma once
// The memory data file: plain text in 14-column print zones, one channel a line, that people
// can read and edit. At most one is open (file number 1), for reading or for writing.
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

namespace tavrin {

class ControlProgram;

// What a data file line is.
enum class DataLineKind { End, Comment, NoChannel, Channel };

// A line taken apart; the texts are those handed to the memory-set command.
struct ParsedDataLine {
  DataLineKind kind = DataLineKind::NoChannel;
  std::string MemChannelText;
  std::string MemFrequencyDigits;
  std::string MemModeText;
  std::string MemFilterText;
  std::string MemSelectedText;
  std::string MemLabelText;
};

ParsedDataLine ParseDataLine(const std::string& line);

// One field of a print-zone line: a text, a number (written with a leading and a trailing
// blank), or nothing.
struct DataField {
  enum class Kind { Nothing, Text, Number };
  Kind kind = Kind::Nothing;
  std::string text;
  long number = 0;
  static DataField Empty() { return {}; }
  static DataField OfText(std::string t) { return {Kind::Text, std::move(t), 0}; }
  static DataField OfNumber(long n) { return {Kind::Number, {}, n}; }
};

// The six fields laid out in zones starting at columns 1, 15, 29, 43, 57 and 71.
std::string FormatDataLine(const std::vector<DataField>& fields);

class DataFile {
 public:
  explicit DataFile(ControlProgram& program);

  // Opens `name` ("Input" or "Output") as the data file in use; writes the full path back
  // into `name`. Returns false when nothing was opened.
  bool OpenDataFile(std::string& name, const std::string& mode);
  bool ReopenDataFile(const std::string& mode);
  void CloseDataFile();
  // The next line into `line`; at the end of the file `line` is left as it was.
  void ReadDataLine(std::string& line);
  [[nodiscard]] bool AtEnd() const;
  [[nodiscard]] bool OpenForInput() const { return input_ != nullptr; }
  [[nodiscard]] bool OpenForOutput() const { return output_ != nullptr; }
  void DataFileWriter(const std::vector<DataField>& fields);

 private:
  ControlProgram& program_;
  std::unique_ptr<TextInput> input_;
  std::unique_ptr<TextOutput> output_;
};

}  // namespace tavrin
