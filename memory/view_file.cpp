// SPDX-License-Identifier: GPL-3.0-or-later
// View File: the data file shown line by line, one line each half second, up to its end line.
#include <memory>

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
    runner_.Start(*this);
  }

  Next Step() override {
    DataFile& file = program_.dataFile;
    if (file.AtEnd()) return Next::End;
    std::string text;
    file.ReadDataLine(text);
    const FileLine line = ReadFileLine(text);
    window_.ShowFileLine(line.shown);
    // Only "END" in the channel columns ends it; a comment ends nothing, whatever its star is
    // followed by. A file is for reading: one line each period.
    if (line.shown.Text1 != "END" || line.kind == DataLineKind::Comment) return Next::AfterPeriod;
    return Next::End;
  }
};

}  // namespace

std::unique_ptr<MemoryOperation> MakeViewFile(ControlProgram& program, MemoryMain& window,
                                              OperationRunner& runner) {
  return std::make_unique<ViewFile>(program, window, runner);
}

}  // namespace tavrin
