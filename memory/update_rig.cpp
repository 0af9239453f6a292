// SPDX-License-Identifier: GPL-3.0-or-later
// Update Rig: one line of the data file per step; a channel line is written into the
// transceiver with memory set, which selects and reads the channel back in the same step. The
// next step compares that read-back with the record sent, so the end of the upload says how
// many channels are in the transceiver as written, and names the lines and channels that are
// not. A port that goes away stops the upload at once.
#include "app/control_program.h"
#include "memory/memory_answer.h"
#include "memory/memory_main.h"

namespace tavrin {

namespace {

constexpr std::size_t kNamedAtMost = 10;

// Where the record's parts lie (from 0): what a read-back must repeat of what was written.
// The tone block between filter and label is the transceiver's own and is not compared.
constexpr std::size_t kRecordThroughFilter = 10;  // channel code, select, frequency, mode, filter
constexpr std::size_t kRecordLabel = 17;
constexpr std::size_t kLabelLength = 10;

bool ReadsBackAsWritten(const std::string& readBack, const std::string& written) {
  if (readBack.size() != kMemoryRecordLength || written.size() != kMemoryRecordLength) return false;
  return readBack.compare(0, kRecordThroughFilter, written, 0, kRecordThroughFilter) == 0 &&
         readBack.compare(kRecordLabel, kLabelLength, written, kRecordLabel, kLabelLength) == 0;
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

}  // namespace

void MemoryMain::StartUpdateRig() {
  program_.station.SequenceChannel = 0;
  UploadLineNumber = 0;
  UploadSkips.clear();
  UploadVerified = 0;
  UploadNotAsWritten.clear();
  UploadPending = {};
  program_.station.UpdateRigActive = true;
}

void MemoryMain::UpdateRigStep() {
  Station& s = program_.station;
  if (!s.UpdateRigActive || s.Ended) return Timer3.SetEnabled(false);
  const int unconfirmedLine = UploadPending.channel != 0 ? UploadPending.line : 0;
  const bool confirmed = CheckUploadReadBack();
  if (s.PortGone) return StopUpdateRigPortGone(confirmed ? UploadLineNumber + 1 : unconfirmedLine);
  DataFile& file = program_.dataFile;
  if (file.AtEnd()) return FinishUpdateRig();
  std::string line;
  file.ReadDataLine(line);
  ++UploadLineNumber;
  ShowDataLine(line);
  const ParsedDataLine parsed = ParseDataLine(line);
  if (parsed.kind == DataLineKind::End) return FinishUpdateRig();
  if (parsed.kind != DataLineKind::Channel) return;
  if (const std::string problem = UploadProblem(parsed); !problem.empty())
    return SkipUploadLine(problem, line);
  s.MemChannelText = parsed.MemChannelText;
  s.MemFrequencyDigits = parsed.MemFrequencyDigits;
  s.MemModeText = parsed.MemModeText;
  s.MemFilterText = parsed.MemFilterText;
  s.MemSelectedText = parsed.MemSelectedText;
  s.MemLabelText = parsed.MemLabelText;
  s.MemorySequenceBusy = true;
  RadioMain& radio = program_.radio;
  radio.LastRefusal.clear();
  radio.Mset();
  if (!radio.LastRefusal.empty()) return SkipUploadLine(radio.LastRefusal, line);
  UploadPending = {ChannelOfText(parsed.MemChannelText), UploadLineNumber, s.MemoryRecordField};
}

// The read-back of the channel the step before wrote, if it wrote one. False when that
// channel is not confirmed as written.
bool MemoryMain::CheckUploadReadBack() {
  if (UploadPending.channel == 0) return true;
  const PendingUpload pending = UploadPending;
  UploadPending = {};
  const MemoryAnswer answer = MemoryAnswerAfterChain(program_.link.LastReply(), pending.channel);
  const std::string name = "channel " + std::to_string(pending.channel);
  if (!answer.Valid()) {
    UploadNotAsWritten.push_back(name + " (no answer)");
    return false;
  }
  if (answer.kind != MemoryAnswer::Kind::Filled ||
      !ReadsBackAsWritten(answer.record, pending.record)) {
    UploadNotAsWritten.push_back(name + " (read back differs)");
    return false;
  }
  ++UploadVerified;
  return true;
}

void MemoryMain::SkipUploadLine(const std::string& reason, const std::string& line) {
  program_.station.MemorySequenceBusy = false;
  UploadSkips.push_back("line " + std::to_string(UploadLineNumber) + " (" + reason + ")");
  Text7 = "Skipped, " + reason + " ... " + line;
}

std::string MemoryMain::UploadSummary() const {
  std::string summary = std::to_string(UploadVerified) + " channels written and verified";
  if (!UploadSkips.empty())
    summary +=
        " ... " + std::to_string(UploadSkips.size()) + " lines not stored: " + Named(UploadSkips);
  if (!UploadNotAsWritten.empty())
    summary += " ... " + std::to_string(UploadNotAsWritten.size()) +
               " channels not as written: " + Named(UploadNotAsWritten);
  return summary;
}

void MemoryMain::EndUpdateRig() {
  Station& s = program_.station;
  s.UpdateRigActive = false;
  s.MemorySequenceBusy = false;
  s.SequenceChannel = 0;
  UploadPending = {};
}

void MemoryMain::FinishUpdateRig() {
  EndUpdateRig();
  const std::string summary = UploadSummary();
  Text7 = "END ... " + summary;
  const bool complete = UploadSkips.empty() && UploadNotAsWritten.empty();
  program_.platform.desktop.MessageBox("Update Rig", summary,
                                       complete ? BoxIcon::Information : BoxIcon::Exclamation,
                                       BoxButtons::Ok);
}

void MemoryMain::StopUpdateRigPortGone(int firstLineNotStored) {
  EndUpdateRig();
  program_.CloseDataFile();
  const std::string what = "The transceiver's port went away ... line " +
                           std::to_string(firstLineNotStored) +
                           " and the lines after it were not stored ... " + UploadSummary();
  Text1 = "END";
  Text7 = "Update Rig stopped ... " + what;
  program_.platform.desktop.MessageBox("Update Rig", what, BoxIcon::Critical, BoxButtons::Ok);
}

}  // namespace tavrin
