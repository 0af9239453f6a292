// SPDX-License-Identifier: GPL-3.0-or-later
// Update Rig: one line of the data file per step; a channel line is written into the
// transceiver with memory set, which selects and reads the channel back in the same step. The
// next step compares that read-back with the record sent, so the end of the upload says how
// many channels are in the transceiver as written, and names the lines and channels that are
// not. A port that goes away stops the upload at once.
#include <memory>
#include <optional>
#include <vector>

#include "app/control_program.h"
#include "memory/data_file_format.h"
#include "memory/memory_answer.h"
#include "memory/memory_main.h"
#include "memory/memory_operation.h"

namespace tavrin {

namespace {

constexpr std::size_t kNamedAtMost = 10;

// What a read-back must repeat of what was written: everything but the tone block, which is the
// transceiver's own.
bool ReadsBackAsWritten(const civ::MemoryRecord& readBack, const std::string& written) {
  const auto sent = civ::MemoryRecord::FromBytes(written);
  if (!sent) return false;
  civ::MemoryRecord compared = readBack;
  compared.tone = sent->tone;
  return compared == *sent;
}

std::string Named(const std::vector<std::string>& items) {
  std::string which;
  for (std::size_t i = 0; i < items.size() && i < kNamedAtMost; ++i)
    which += (i == 0 ? "" : ", ") + items[i];
  if (items.size() > kNamedAtMost) which += ", ...";
  return which;
}

int ChannelOfText(const std::string& text) {
  int number = 0;
  for (const char c : text)
    if (c >= '0' && c <= '9') number = number * 10 + (c - '0');
  return number;
}

class UpdateRig final : public MemoryOperation {
 public:
  using MemoryOperation::MemoryOperation;

  const char* Title() const override { return "Update Rig"; }
  int PeriodMs() const override { return 200; }
  bool Answers(const std::string& button) const override { return button == "Command3"; }

  void Click(const std::string& /*button*/) override {
    if (runner_.AnotherRuns(Title()) || !DataFileChosen()) return;
    if (!AskedYes(Title(), program_.station.DataFileName + " ... Are you sure?")) return;
    if (!program_.dataFile.ReopenDataFile("Input")) return;
    reader_.Restart(FormatOfDataFile(program_.station.DataFilePath));
    lineNumber_ = 0;
    skips_.clear();
    notes_.clear();
    verified_ = 0;
    notAsWritten_.clear();
    pending_ = {};
    runner_.Start(*this, true);
  }

  Next Step() override {
    const int unconfirmedLine = pending_.channel != 0 ? pending_.line : 0;
    const bool confirmed = CheckReadBack();
    if (program_.station.PortGone) {
      StopPortGone(confirmed ? reader_.LinesRead() + 1 : unconfirmedLine);
      return Next::End;
    }
    const int firstLine = reader_.LinesRead() + 1;
    const std::optional<FileLine> line = reader_.Next(program_.dataFile);
    if (!line) return Finish();
    lineNumber_ = firstLine;
    window_.ShowFileLine(line->shown);
    if (line->kind == DataLineKind::End) return Finish();
    // A line without a channel, and one that cannot be stored, wait for nothing.
    if (line->kind != DataLineKind::Channel) return Next::AtOnce;
    if (!line->problem.empty()) return Skip(line->problem, line->shown.Text7);
    const MemoryCommandResult written = program_.radio.WriteMemoryChannel(line->values);
    if (!written.Sent()) return Skip(written.refusal, line->shown.Text7);
    if (!line->note.empty()) notes_.push_back(LineName() + " (" + line->note + ")");
    pending_ = {ChannelOfText(line->values.channel), lineNumber_, written.record};
    return Next::AfterAnswer;
  }

  // The read-back of the channel just written, whole and well-formed (whether it holds what
  // was written is the next step's check).
  bool IsAwaitedAnswer(const std::string& reply) const override {
    return pending_.channel != 0 && FindMemoryAnswer(reply, pending_.channel).Valid();
  }

  void Stopped() override { pending_ = {}; }

 private:
  // The read-back of the channel the step before wrote, if it wrote one. False when that
  // channel is not confirmed as written.
  bool CheckReadBack() {
    if (pending_.channel == 0) return true;
    const Pending pending = pending_;
    pending_ = {};
    const MemoryAnswer answer = FindMemoryAnswer(program_.link.LastReply(), pending.channel);
    const std::string name = "channel " + std::to_string(pending.channel);
    if (!answer.Valid()) {
      notAsWritten_.push_back(name + " (no answer)");
      return false;
    }
    if (answer.kind != MemoryAnswer::Kind::Filled ||
        !ReadsBackAsWritten(answer.record, pending.record)) {
      notAsWritten_.push_back(name + " (read back differs)");
      return false;
    }
    ++verified_;
    return true;
  }

  Next Skip(const std::string& reason, const std::string& line) {
    skips_.push_back(LineName() + " (" + reason + ")");
    window_.Text7 = "Skipped, " + reason + " ... " + line;
    return Next::AtOnce;
  }

  [[nodiscard]] std::string Summary() const {
    std::string summary = std::to_string(verified_) + " channels written and verified";
    if (!skips_.empty())
      summary += " ... " + std::to_string(skips_.size()) + " lines not stored: " + Named(skips_);
    if (!notAsWritten_.empty())
      summary += " ... " + std::to_string(notAsWritten_.size()) +
                 " channels not as written: " + Named(notAsWritten_);
    if (!notes_.empty()) summary += " ... changed on the way in: " + Named(notes_);
    return summary;
  }

  Next Finish() {
    pending_ = {};
    const std::string summary = Summary();
    window_.Text7 = "END ... " + summary;
    const bool complete = skips_.empty() && notAsWritten_.empty();
    program_.platform.desktop.MessageBox(
        Title(), summary, complete ? BoxIcon::Information : BoxIcon::Exclamation, BoxButtons::Ok);
    return Next::End;
  }

  void StopPortGone(int firstLineNotStored) {
    pending_ = {};
    program_.CloseDataFile();
    const std::string what = "The transceiver's port went away ... line " +
                             std::to_string(firstLineNotStored) +
                             " and the lines after it were not stored ... " + Summary();
    window_.Text1 = "END";
    window_.Text7 = "Update Rig stopped ... " + what;
    program_.platform.desktop.MessageBox(Title(), what, BoxIcon::Critical, BoxButtons::Ok);
  }

  [[nodiscard]] std::string LineName() const { return "line " + std::to_string(lineNumber_); }

  // The file in its layout, and the first line of what was read last. The lines the upload
  // could not store ("line 7 (unknown mode)") and what it changed on the way in of the lines
  // it stored ("line 9 (name ... cut to ...)"), named when the upload ends; the channels that
  // read back as written, and those that did not ("channel 12 (read back differs)").
  FileLineReader reader_;
  int lineNumber_ = 0;
  std::vector<std::string> skips_;
  std::vector<std::string> notes_;
  int verified_ = 0;
  std::vector<std::string> notAsWritten_;
  // The channel written by the step before, whose read-back the next step compares with the
  // record sent.
  struct Pending {
    int channel = 0;  // 0: none
    int line = 0;
    std::string record;
  };
  Pending pending_;
};

}  // namespace

std::unique_ptr<MemoryOperation> MakeUpdateRig(ControlProgram& program, MemoryMain& window,
                                               OperationRunner& runner) {
  return std::make_unique<UpdateRig>(program, window, runner);
}

}  // namespace tavrin
