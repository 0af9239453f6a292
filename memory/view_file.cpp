// SPDX-License-Identifier: GPL-3.0-or-later
// View File: the data file shown line by line (a CHIRP CSV file record by record), one each half
// second, up to its end line or the end of the file.
#include <memory>
#include <optional>

#include "app/control_program.h"
#include "memory/data_file_format.h"
#include "memory/memory_main.h"
#include "memory/memory_operation.h"

namespace tavrin {

namespace {

class ViewFile final : public MemoryOperation {
 public:
  using MemoryOperation::MemoryOperation;

  const char* Title() const override { return "View File"; }
  int PeriodMs() const override { return 500; }
  bool Answers(const std::string& button) const override { return button == "Command2"; }

  void Click(const std::string& /*button*/) override {
    if (runner_.AnotherRuns(Title()) || !DataFileChosen()) return;
    if (!program_.dataFile.ReopenDataFile("Input")) return;
    reader_.Restart(FormatOfDataFile(program_.station.DataFilePath));
    runner_.Start(*this);
  }

  Next Step() override {
    const std::optional<FileLine> line = reader_.Next(program_.dataFile);
    if (!line) return Next::End;
    window_.ShowFileLine(line->shown);
    // A file is for reading: one line each period.
    return line->endsView ? Next::End : Next::AfterPeriod;
  }

 private:
  FileLineReader reader_;
};

}  // namespace

std::unique_ptr<MemoryOperation> MakeViewFile(ControlProgram& program, MemoryMain& window,
                                              OperationRunner& runner) {
  return std::make_unique<ViewFile>(program, window, runner);
}

}  // namespace tavrin
