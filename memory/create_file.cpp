// SPDX-License-Identifier: GPL-3.0-or-later
// Create File: channels 1 to 99 read one a step into a new backup. The backup is written to a
// temporary file beside the data file and put in its place only when the pass has ended
// normally, so a pulled cable, a silent transceiver, Stop, a full disk or the end of the
// program leave the old backup exactly as it was. An answer counts only when it is a
// well-formed frame for the channel asked, wherever it stands among the bytes of a noisy
// line; channels without one are asked once more at the end of the pass. When some are still
// missing, the pass is kept beside the data file under a name of its own, and the operator,
// told which channels it lacks, decides whether it replaces the data file.
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "app/control_program.h"
#include "civ/bcd.h"
#include "civ/encodings.h"
#include "memory/data_file_format.h"
#include "memory/memory_answer.h"
#include "memory/memory_main.h"
#include "memory/memory_operation.h"

namespace tavrin {

namespace {

constexpr int kLastOrdinaryChannel = 99;
// This many channels in a row without a word from the transceiver (a second of silence) mean
// it is off or the cable is out: the pass is given up.
constexpr int kSilentChannelsToGiveUp = 5;

// Every channel of an ascending list, runs of three or more as their ends: "3 to 7, 9, 11, 12".
std::string NamedChannels(const std::vector<int>& channels) {
  std::string text;
  for (std::size_t first = 0; first < channels.size();) {
    std::size_t last = first;
    while (last + 1 < channels.size() && channels[last + 1] == channels[last] + 1) ++last;
    if (!text.empty()) text += ", ";
    text += std::to_string(channels[first]);
    if (last >= first + 2) {
      text += " to " + std::to_string(channels[last]);
    } else if (last == first + 1) {
      text += ", " + std::to_string(channels[last]);
    }
    first = last + 1;
  }
  return text;
}

// The name a pass with missing channels is kept under, beside the data file: KESTRA.TXT gives
// KESTRA-NEW.TXT. It never is the data file's own name.
std::string KeptPassName(const std::string& dataFileName) {
  const std::size_t dot = dataFileName.rfind('.');
  if (dot == std::string::npos || dot == 0) return dataFileName + "-NEW";
  return dataFileName.substr(0, dot) + "-NEW" + dataFileName.substr(dot);
}

// `name` in the folder of `path`.
std::string Beside(const std::string& path, const std::string& name) {
  const std::size_t slash = path.find_last_of("/\\");
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
}

// A channel's line from its record, in the texts the memory window shows for it.
BackupChannel BackupChannelOf(int number, const civ::MemoryRecord& record) {
  const auto digits = [&record](std::size_t byte) {
    return civ::BcdToNumber(static_cast<unsigned char>(record.frequency[byte]));
  };
  // The transceiver pads a name to ten characters; the blanks after it carry nothing (the
  // upload pads again), so the line ends with the name as a person would type it.
  std::string label = record.label;
  label.erase(label.find_last_not_of(' ') + 1);
  return {number,
          FormatFrequency(digits(3), digits(2), digits(1)),
          ModeText(record.mode).value_or(""),
          FilterText(record.filter).value_or(""),
          record.selected == 1 ? "*" : " ",
          label};
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
    // The pass has ended and its last box is up: nothing more is asked.
    if (over_) return Next::End;
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
    return asked_ != 0 && FindMemoryAnswer(reply, asked_).Valid();
  }

  void Stopped() override {
    // The half-made backup was dropped with file 1.
    End();
    over_ = true;
    program_.platform.desktop.MessageBox(Title(), "Create File was stopped ... " + KeptText(),
                                         BoxIcon::Exclamation, BoxButtons::Ok);
  }

 private:
  void Begin() {
    const Station& s = program_.station;
    DataFile& file = program_.dataFile;
    End();
    over_ = false;
    unread_.clear();
    silentInARow_ = 0;
    FileError error;
    if (!file.OpenReplacement(error)) return GiveUp(ErrorText(error, s.DataFilePath));
    format_ = FormatOfDataFile(s.DataFilePath);
    if (!WriteBackupHead(file, format_, s.DataFileName))
      return GiveUp(ErrorText(file.WriteError(), s.DataFilePath));
    // The head is written: the first channel is asked at once.
    runner_.Start(*this, true);
  }

  void Ask(int channel) {
    asked_ = channel;
    window_.Text1.clear();
    program_.radio.ReadMemoryChannel(std::to_string(channel));
  }

  // The answer to the read the step before sent, found in the reply the link collected for
  // it. The file line is made from the answer's record; the window shows what the decoder made
  // of the reply by its own rules.
  void TakeAnswer() {
    const int channel = asked_;
    const MemoryAnswer answer = FindMemoryAnswer(program_.link.LastReply(), channel);
    silentInARow_ = answer.kind == MemoryAnswer::Kind::Silent ? silentInARow_ + 1 : 0;
    if (!answer.Valid()) {
      unread_.push_back(channel);
      return;
    }
    if (answer.kind == MemoryAnswer::Kind::Blank) return;
    backup_[channel] = BackupChannelOf(channel, answer.record);
  }

  void Finish() {
    Station& s = program_.station;
    DataFile& file = program_.dataFile;
    over_ = true;
    std::vector<BackupChannel> channels;
    for (const auto& [number, channel] : backup_) channels.push_back(channel);
    if (!WriteBackupChannels(file, format_, channels))
      return GiveUp(ErrorText(file.WriteError(), s.DataFilePath));
    if (!unread_.empty()) return KeepAndAsk();
    FileError error;
    if (!file.CommitReplacement(error)) return GiveUp(ErrorText(error, s.DataFilePath));
    file.ReopenDataFile("Input");
    window_.ShowEndDisplay();
    End();
  }

  // Channels are still missing after the retry: the pass is kept beside the data file under
  // its own name, and a box names every missing channel and asks whether the pass replaces
  // the data file. No, the default, keeps the old file as it was.
  void KeepAndAsk() {
    Station& s = program_.station;
    DataFile& file = program_.dataFile;
    const std::string keptName = KeptPassName(s.DataFileName);
    const std::string keptPath = Beside(s.DataFilePath, keptName);
    FileError error;
    if (!file.KeepReplacementAs(keptPath, error)) return GiveUp(ErrorText(error, keptPath));
    std::sort(unread_.begin(), unread_.end());
    const std::string missing =
        (unread_.size() == 1 ? "channel " : "channels ") + NamedChannels(unread_);
    const bool replace =
        program_.platform.desktop.MessageBox(
            Title(),
            "No answer for " + missing + " ... " + keptName + " holds the pass without them ... " +
                "Replace " + s.DataFileName + " with it?",
            BoxIcon::Exclamation, BoxButtons::YesNoDefaultNo) == BoxAnswer::Yes;
    std::string outcome = KeptText() + " ... the new pass is in " + keptName;
    if (replace) {
      if (!program_.platform.files.MoveOver(keptPath, s.DataFilePath, error))
        return GiveUp(ErrorText(error, s.DataFilePath) + " ... the new pass is in " + keptName);
      outcome = "not in the file";
    }
    file.ReopenDataFile("Input");
    window_.ShowEndDisplay();
    window_.Text7 = "END ... no answer for " + missing + " ... " + outcome;
    End();
  }

  [[nodiscard]] std::string KeptText() const {
    return program_.station.DataFileName + " was not changed: the old file was kept";
  }

  // Ends the pass without touching the data file and tells the user why.
  void GiveUp(const std::string& what) {
    over_ = true;
    program_.CloseDataFile();  // drops the half-made backup
    End();
    const std::string kept = KeptText();
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

  DataFileFormat format_ = DataFileFormat::Text;  // the layout of the file being written
  int channel_ = 0;                               // the last channel of the pass asked for
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
  // The pass has ended (a box may still be up); set until the next pass begins.
  bool over_ = false;
};

}  // namespace

std::unique_ptr<MemoryOperation> MakeCreateFile(ControlProgram& program, MemoryMain& window,
                                                OperationRunner& runner) {
  return std::make_unique<CreateFile>(program, window, runner);
}

}  // namespace tavrin
