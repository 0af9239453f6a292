// SPDX-License-Identifier: GPL-3.0-or-later
// Create File: channels 1 to 99 read one a step into a new backup. The backup is written to a
// temporary file beside the data file and put in its place only when the pass has ended
// normally, so a pulled cable, a silent transceiver, Stop, a full disk or the end of the
// program leave the old backup exactly as it was. An answer counts only when it is a
// well-formed frame for the channel asked; channels without one are asked once more at the
// end of the pass, and those still missing are named.
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "app/control_program.h"
#include "memory/data_file_format.h"
#include "memory/memory_answer.h"
#include "memory/memory_main.h"
#include "memory/memory_operation.h"

namespace tavrin {

namespace {

constexpr int kLastOrdinaryChannel = 99;
constexpr std::size_t kNamedAtMost = 10;
// This many channels in a row with nothing at all behind the echo (a second of silence) mean
// the transceiver is off or the cable is out: the pass is given up.
constexpr int kSilentChannelsToGiveUp = 5;

std::string JoinedNumbers(const std::vector<int>& numbers) {
  std::string text;
  for (const int number : numbers) text += (text.empty() ? "" : ", ") + std::to_string(number);
  return text;
}

std::string ErrorText(const FileError& error, const std::string& path) {
  return "Error Code " + std::to_string(error.number) + " ... " + error.description + " ... " +
         path + " ... Output";
}

class CreateFile final : public MemoryOperation {
 public:
  using MemoryOperation::MemoryOperation;

  const char* Title() const override { return "Create File"; }
  int PeriodMs() const override { return 200; }
  bool Answers(const std::string& button) const override { return button == "Command1"; }

  void Click(const std::string& /*button*/) override {
    Station& s = program_.station;
    if (runner_.AnotherRuns(Title()) || !DataFileChosen()) return;
    if (!AskedYes(Title(), s.DataFileName + " ... Are you sure?")) return;
    Begin();
  }

  Next Step() override {
    if (asked_ != 0) TakeAnswer();
    if (program_.station.PortGone) {
      GiveUp("The transceiver's port went away at channel " + std::to_string(asked_));
      return Next::End;
    }
    if (silentInARow_ >= kSilentChannelsToGiveUp) {
      GiveUp("No answer from the transceiver for " + std::to_string(silentInARow_) +
             " channels in a row, up to channel " + std::to_string(asked_));
      return Next::End;
    }
    if (!retrying_ && channel_ < kLastOrdinaryChannel) {
      Ask(++channel_);
      return Next::AfterAnswer;
    }
    if (!retrying_) {
      // One more try for every channel that gave no valid answer, at the same cadence.
      retrying_ = true;
      retry_.assign(unread_.rbegin(), unread_.rend());
      unread_.clear();
    }
    if (!retry_.empty()) {
      const int channel = retry_.back();
      retry_.pop_back();
      Ask(channel);
      return Next::AfterAnswer;
    }
    Finish();
    return Next::End;
  }

  // A well-formed answer (the channel's record, or blank) for the channel asked.
  bool IsAwaitedAnswer(const std::string& reply) const override {
    return asked_ != 0 && MemoryAnswerAfterEcho(reply, asked_).Valid();
  }

  void Stopped() override {
    // The half-made backup was dropped with file 1.
    End();
    program_.platform.desktop.MessageBox(Title(),
                                         "Create File was stopped ... " +
                                             program_.station.DataFileName +
                                             " was not changed: the old file was kept",
                                         BoxIcon::Exclamation, BoxButtons::Ok);
  }

 private:
  void Begin() {
    const Station& s = program_.station;
    DataFile& file = program_.dataFile;
    End();
    unread_.clear();
    silentInARow_ = 0;
    FileError error;
    if (!file.OpenReplacement(error)) return GiveUp(ErrorText(error, s.DataFilePath));
    if (!WriteBackupHead(file, s.DataFileName))
      return GiveUp(ErrorText(file.WriteError(), s.DataFilePath));
    // The head is written: the first channel is asked at once.
    runner_.Start(*this, true);
  }

  void Ask(int channel) {
    asked_ = channel;
    window_.Text1.clear();
    program_.radio.ReadMemoryChannel(std::to_string(channel));
  }

  // The answer to the read the step before sent. The file line is made from what the window
  // shows, which the decoder filled from this very answer.
  void TakeAnswer() {
    const int channel = asked_;
    const MemoryAnswer answer = MemoryAnswerAfterEcho(program_.link.LastReply(), channel);
    silentInARow_ = answer.kind == MemoryAnswer::Kind::Silent ? silentInARow_ + 1 : 0;
    if (!answer.Valid()) {
      unread_.push_back(channel);
      return;
    }
    if (answer.kind == MemoryAnswer::Kind::Blank) return;
    // The transceiver pads a name to ten characters; the blanks after it carry nothing (the
    // upload pads again), so the line ends with the name as a person would type it.
    std::string label = window_.Text6;
    label.erase(label.find_last_not_of(' ') + 1);
    backup_[channel] = {channel, window_.Text3, window_.Text4, window_.Text5, window_.Text2, label};
  }

  void Finish() {
    Station& s = program_.station;
    DataFile& file = program_.dataFile;
    std::vector<BackupChannel> channels;
    for (const auto& [number, channel] : backup_) channels.push_back(channel);
    if (!WriteBackupChannels(file, channels))
      return GiveUp(ErrorText(file.WriteError(), s.DataFilePath));
    FileError error;
    if (!file.CommitReplacement(error)) return GiveUp(ErrorText(error, s.DataFilePath));
    file.ReopenDataFile("Input");
    window_.ShowEndDisplay();
    End();
    if (unread_.empty()) return;
    std::sort(unread_.begin(), unread_.end());
    const std::string which = unread_.size() <= kNamedAtMost
                                  ? "channels " + JoinedNumbers(unread_)
                                  : std::to_string(unread_.size()) + " channels";
    const std::string missing = "no answer for " + which + " ... not in the file";
    window_.Text7 = "END ... " + missing;
    program_.platform.desktop.MessageBox(Title(), s.DataFileName + " written ... " + missing,
                                         BoxIcon::Exclamation, BoxButtons::Ok);
  }

  // Ends the pass without touching the data file and tells the user why.
  void GiveUp(const std::string& what) {
    program_.CloseDataFile();  // drops the half-made backup
    End();
    const std::string kept =
        program_.station.DataFileName + " was not changed: the old file was kept";
    window_.Text1 = "END";
    window_.Text7 = "Create File stopped ... " + what + " ... " + kept;
    program_.platform.desktop.MessageBox(Title(), what + " ... " + kept, BoxIcon::Critical,
                                         BoxButtons::Ok);
  }

  void End() {
    channel_ = 0;
    asked_ = 0;
    retrying_ = false;
    retry_.clear();
    backup_.clear();
  }

  int channel_ = 0;  // the last channel of the pass asked for
  // The channel whose answer the next step takes; 0 for none.
  int asked_ = 0;
  // How many channels in a row brought no answer at all.
  int silentInARow_ = 0;
  // The channel lines read so far, by channel, written in channel order when the pass has
  // ended; the channels without a valid answer, asked once more at the end of the pass and
  // then named as missing.
  std::map<int, BackupChannel> backup_;
  std::vector<int> unread_;
  std::vector<int> retry_;
  bool retrying_ = false;
};

}  // namespace

std::unique_ptr<MemoryOperation> MakeCreateFile(ControlProgram& program, MemoryMain& window,
                                                OperationRunner& runner) {
  return std::make_unique<CreateFile>(program, window, runner);
}

}  // namespace tavrin
