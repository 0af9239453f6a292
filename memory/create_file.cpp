// SPDX-License-Identifier: GPL-3.0-or-later
// Create File: channels 1 to 99 read one a step into a new backup. The backup is written to a
// temporary file beside the data file and put in its place only when the pass has ended
// normally, so a pulled cable, a silent transceiver, Stop, a full disk or the end of the
// program leave the old backup exactly as it was. An answer counts only when it is a
// well-formed frame for the channel asked; channels without one are asked once more at the
// end of the pass, and those still missing are named.
#include <algorithm>

#include "app/control_program.h"
#include "memory/memory_answer.h"
#include "memory/memory_main.h"

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

}  // namespace

void MemoryMain::StartCreateFile() {
  Station& s = program_.station;
  DataFile& file = program_.dataFile;
  BackupChannels.clear();
  UnreadChannels.clear();
  RetryChannels.clear();
  RetryingUnread = false;
  SilentInARow = 0;
  AskedChannel = 0;
  s.SequenceChannel = 0;
  FileError error;
  if (!file.OpenReplacement(error)) return GiveUpCreateFile(ErrorText(error, s.DataFilePath));
  const bool written = file.DataFileWriter(DataFileTitleFields(s.DataFileName)) &&
                       file.DataFileWriter(DataFileEmptyFields()) &&
                       file.DataFileWriter(DataFileHeaderFields()) &&
                       file.DataFileWriter(DataFileEmptyFields());
  if (!written) return GiveUpCreateFile(ErrorText(file.WriteError(), s.DataFilePath));
  s.CreateFileActive = true;
}

void MemoryMain::CreateFileStep() {
  Station& s = program_.station;
  if (!s.CreateFileActive || s.Ended) return Timer1.SetEnabled(false);
  if (AskedChannel != 0) TakeBackupAnswer();
  if (s.PortGone)
    return GiveUpCreateFile("The transceiver's port went away at channel " +
                            std::to_string(AskedChannel));
  if (SilentInARow >= kSilentChannelsToGiveUp)
    return GiveUpCreateFile("No answer from the transceiver for " + std::to_string(SilentInARow) +
                            " channels in a row, up to channel " + std::to_string(AskedChannel));
  if (!RetryingUnread && s.SequenceChannel < kLastOrdinaryChannel) {
    s.SequenceChannel += 1;
    return AskBackupChannel(s.SequenceChannel);
  }
  if (!RetryingUnread) {
    // One more try for every channel that gave no valid answer, at the same cadence.
    RetryingUnread = true;
    RetryChannels.assign(UnreadChannels.rbegin(), UnreadChannels.rend());
    UnreadChannels.clear();
  }
  if (!RetryChannels.empty()) {
    const int channel = RetryChannels.back();
    RetryChannels.pop_back();
    return AskBackupChannel(channel);
  }
  FinishCreateFile();
}

void MemoryMain::AskBackupChannel(int channel) {
  Station& s = program_.station;
  AskedChannel = channel;
  s.MemChannelText = std::to_string(channel);
  s.MemorySequenceBusy = true;
  Text1.clear();
  program_.radio.Mrd();
}

// The answer to the read the step before sent. The file line is made from what the window
// shows, which the decoder filled from this very answer.
void MemoryMain::TakeBackupAnswer() {
  const int channel = AskedChannel;
  const MemoryAnswer answer = MemoryAnswerAfterEcho(program_.link.LastReply(), channel);
  SilentInARow = answer.kind == MemoryAnswer::Kind::Silent ? SilentInARow + 1 : 0;
  if (!answer.Valid()) {
    UnreadChannels.push_back(channel);
    return;
  }
  if (answer.kind == MemoryAnswer::Kind::Blank) return;
  // The transceiver pads a name to ten characters; the blanks after it carry nothing (the
  // upload pads again), so the line ends with the name as a person would type it.
  std::string label = Text6;
  label.erase(label.find_last_not_of(' ') + 1);
  BackupChannels[channel] = DataFileChannelFields(channel, Text3, Text4, Text5, Text2, label);
}

void MemoryMain::FinishCreateFile() {
  Station& s = program_.station;
  DataFile& file = program_.dataFile;
  bool written = true;
  for (const auto& [channel, fields] : BackupChannels)
    written = written && file.DataFileWriter(fields);
  written = written && file.DataFileWriter(DataFileEmptyFields()) &&
            file.DataFileWriter(DataFileHeaderFields()) &&
            file.DataFileWriter(DataFileEmptyFields()) && file.DataFileWriter(DataFileEndFields());
  if (!written) return GiveUpCreateFile(ErrorText(file.WriteError(), s.DataFilePath));
  FileError error;
  if (!file.CommitReplacement(error)) return GiveUpCreateFile(ErrorText(error, s.DataFilePath));
  file.ReopenDataFile("Input");
  ShowEndDisplay();
  EndCreateFile();
  if (UnreadChannels.empty()) return;
  std::sort(UnreadChannels.begin(), UnreadChannels.end());
  const std::string which = UnreadChannels.size() <= kNamedAtMost
                                ? "channels " + JoinedNumbers(UnreadChannels)
                                : std::to_string(UnreadChannels.size()) + " channels";
  const std::string missing = "no answer for " + which + " ... not in the file";
  Text7 = "END ... " + missing;
  program_.platform.desktop.MessageBox("Create File", s.DataFileName + " written ... " + missing,
                                       BoxIcon::Exclamation, BoxButtons::Ok);
}

void MemoryMain::GiveUpCreateFile(const std::string& what) {
  Station& s = program_.station;
  program_.CloseDataFile();  // drops the half-made backup
  EndCreateFile();
  const std::string kept = s.DataFileName + " was not changed: the old file was kept";
  Text1 = "END";
  Text7 = "Create File stopped ... " + what + " ... " + kept;
  program_.platform.desktop.MessageBox("Create File", what + " ... " + kept, BoxIcon::Critical,
                                       BoxButtons::Ok);
}

void MemoryMain::EndCreateFile() {
  Station& s = program_.station;
  s.SequenceChannel = 0;
  s.CreateFileActive = false;
  s.MemorySequenceBusy = false;
  AskedChannel = 0;
  RetryingUnread = false;
  RetryChannels.clear();
  BackupChannels.clear();
}

}  // namespace tavrin
