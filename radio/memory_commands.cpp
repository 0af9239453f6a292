// SPDX-License-Identifier: GPL-3.0-or-later
// "Msel", "Mrd", "Mset", "SetFq", "SetMd": the memory-channel commands and their chains.
// A click asks for the values; the memory window's sequences put them into the shared memory
// fields and raise MemorySequenceBusy instead, and then nothing is asked and no box is shown.
#include "app/control_program.h"
#include "radio/command_input.h"
#include "radio/radio_main.h"
#include "radio/value_refusal.h"

namespace tavrin {

namespace {

constexpr const char* kChannelPrompt = "Enter 'CHANNEL NUMBER' (1-101)";
constexpr const char* kSelectTitle = "Select Memory Channel Number";
constexpr const char* kReadTitle = "Read Memory Channel Number";
constexpr const char* kSetChannelTitle = "Set Memory Channel Number";
constexpr const char* kFrequencyTitle = "Set Memory Frequency";
constexpr const char* kModeTitle = "Set Memory Mode";

constexpr const char* kFilterTitle = "Set Memory Filter";
constexpr const char* kSelectedTitle = "Set Memory Selected Channel";
constexpr const char* kModeFilterTitle = "Memory Filter";

// Where the parts of the 27-byte memory record lie (from 0).
constexpr std::size_t kRecordSize = 27;
constexpr std::size_t kRecordChannel = 0;  // 2 bytes
constexpr std::size_t kRecordSelected = 2;
constexpr std::size_t kRecordKilohertz = 4;  // 1 kHz and 100 Hz
constexpr std::size_t kRecordTensOfKilohertz = 5;
constexpr std::size_t kRecordMegahertz = 6;
constexpr std::size_t kRecordMode = 8;
constexpr std::size_t kRecordFilter = 9;
constexpr std::size_t kRecordLabel = 17;  // 10 bytes

// The record as the program starts with it: no channel, no frequency, the 88.5 Hz tone block
// and a blank label.
std::string StartRecord() {
  return std::string(10, '\0') + std::string("\x00\x00\x08\x85\x00\x08\x85", 7) +
         std::string(10, ' ');
}

}  // namespace

void RadioMain::Msel() {
  OptionMarked[23] = false;
  LastRefusal.clear();
  Station& s = program_.station;
  const bool busy = s.MemorySequenceBusy;
  if (!busy)
    s.MemChannelText = program_.platform.desktop.InputBox(kSelectTitle, kChannelPrompt, "");
  // A refused select also drops a pending clear request, so that no later select clears a
  // channel that nobody asked to clear.
  if (IsUnusableMemoryText(s.MemChannelText)) {
    ClearStatusLine();
    s.MemorySequenceBusy = false;
    s.ClearAfterSelect = false;
    LastRefusal = RefusalOf(TypedValue::ChannelToSelect, s.MemChannelText);
    return;
  }
  const auto code = ChannelCode(s.MemChannelText);
  if (!code || !IsAcceptedNumber(TypedValue::ChannelToSelect, s.MemChannelText)) {
    s.ClearAfterSelect = false;
    RefuseValue(program_, kSelectTitle, RefusalOf(TypedValue::ChannelToSelect, s.MemChannelText),
                !busy);
    return;
  }
  s.SelectChannelField = *code;
  SendPlainCommand("\x08" + s.SelectChannelField);
  s.MemorySequenceBusy = true;
  if (s.ClearAfterSelect) {
    Mclr();
  } else {
    Mrd();
  }
}

void RadioMain::Mrd() {
  OptionMarked[25] = false;
  LastRefusal.clear();
  Station& s = program_.station;
  const bool busy = s.MemorySequenceBusy;
  if (!busy) s.MemChannelText = program_.platform.desktop.InputBox(kReadTitle, kChannelPrompt, "");
  if (IsUnusableMemoryText(s.MemChannelText)) {
    BlankDisplay();
    s.MemorySequenceBusy = false;
    LastRefusal = RefusalOf(TypedValue::ChannelToRead, s.MemChannelText);
    return;
  }
  const auto code = ChannelCode(s.MemChannelText);
  if (!code) {
    RefuseValue(program_, kReadTitle, RefusalOf(TypedValue::ChannelToRead, s.MemChannelText),
                !busy);
    BlankDisplay();
    return;
  }
  s.SelectChannelField = *code;
  // 102 to 179 give codes that are no channel at all: show nothing rather than ask for them.
  // A select of such a number (busy, chained here) has been sent already and is not refused.
  if (IsReadableChannelCode(s.SelectChannelField) &&
      IsAcceptedNumber(TypedValue::ChannelToRead, s.MemChannelText)) {
    SendPlainCommand(std::string("\x1A\x00", 2) + s.SelectChannelField);
  } else {
    if (!busy)
      RefuseValue(program_, kReadTitle, RefusalOf(TypedValue::ChannelToRead, s.MemChannelText),
                  true);
    BlankDisplay();
  }
  s.MemorySequenceBusy = false;
}

void RadioMain::Mset() {
  OptionMarked[27] = false;
  LastRefusal.clear();
  Station& s = program_.station;
  Desktop& desktop = program_.platform.desktop;
  const bool busy = s.MemorySequenceBusy;
  // A missing value ends the command quietly; a value the record cannot hold is refused with
  // its reason, in a box when the operator typed it.
  const auto stop = [&](TypedValue value, const std::string& typed) {
    ClearStatusLine();
    s.MemorySequenceBusy = false;
    LastRefusal = RefusalOf(value, typed);
  };
  const auto refuse = [&](const char* title, TypedValue value, const std::string& typed) {
    RefuseValue(program_, title, RefusalOf(value, typed), !busy);
  };

  if (!busy) s.MemChannelText = desktop.InputBox(kSetChannelTitle, kChannelPrompt, "");
  if (IsUnusableMemoryText(s.MemChannelText)) {
    stop(TypedValue::ChannelToWrite, s.MemChannelText);
    return;
  }
  const auto code = ChannelCode(s.MemChannelText);
  if (!code || IsUnwritableChannelText(s.MemChannelText) ||
      !IsAcceptedNumber(TypedValue::ChannelToWrite, s.MemChannelText)) {
    refuse(kSetChannelTitle, TypedValue::ChannelToWrite, s.MemChannelText);
    return;
  }
  // Built aside and stored only when sent: a refused record leaves the last one as it was.
  std::string record =
      s.MemoryRecordField.size() == kRecordSize ? s.MemoryRecordField : StartRecord();
  record.replace(kRecordChannel, 2, *code);

  if (!busy)
    s.MemFrequencyDigits =
        desktop.InputBox(kFrequencyTitle, "Enter 'FREQUENCY' (MMkkk or MmKkCc)", "");
  if (IsUnusableMemoryText(s.MemFrequencyDigits)) {
    stop(TypedValue::Frequency, s.MemFrequencyDigits);
    return;
  }
  const std::string typedFrequency = s.MemFrequencyDigits;
  const auto digits = FrequencyDigitsOf(typedFrequency);
  const auto frequency = digits ? FrequencyBytes(PadFrequencyDigits(*digits)) : std::nullopt;
  if (!frequency) {
    refuse(kFrequencyTitle, TypedValue::Frequency, typedFrequency);
    return;
  }
  s.MemFrequencyDigits = PadFrequencyDigits(*digits);
  record[kRecordMegahertz] = static_cast<char>((*frequency)[0]);
  record[kRecordTensOfKilohertz] = static_cast<char>((*frequency)[1]);
  record[kRecordKilohertz] = static_cast<char>((*frequency)[2]);

  if (!busy) {
    s.MemModeText = desktop.InputBox(
        kModeTitle, "Enter  'MODE' (Lsb, Usb, Am, Cw, Rtty, Fm, Cwr, Rttyr)", "AM");
    if (s.MemModeText.empty()) s.MemModeText = "AM";
  }
  const auto mode = ModeCode(s.MemModeText);
  if (!mode) {
    if (s.MemModeText.empty()) {
      stop(TypedValue::ModeWord, s.MemModeText);
    } else {
      refuse(kModeTitle, TypedValue::ModeWord, s.MemModeText);
    }
    return;
  }
  s.MemModeText = std::string(1, static_cast<char>(*mode));
  record[kRecordMode] = static_cast<char>(*mode);

  if (!busy) {
    s.MemFilterText = desktop.InputBox(kFilterTitle, "Enter 'FILTER' (1,2,3)", "2");
    if (s.MemFilterText.empty()) s.MemFilterText = "2";
  }
  const auto filter = FilterCode(s.MemFilterText);
  if (!filter) {
    if (s.MemFilterText.empty()) {
      stop(TypedValue::FilterDigit, s.MemFilterText);
    } else {
      refuse(kFilterTitle, TypedValue::FilterDigit, s.MemFilterText);
    }
    return;
  }
  s.MemFilterText = std::string(1, static_cast<char>(*filter));
  record[kRecordFilter] = static_cast<char>(*filter);

  // P1 and P2 start unselected; the operator may still answer Yes.
  if (s.MemChannelText == "100" || s.MemChannelText == "101") s.MemSelectedText = "0";
  if (!busy) {
    std::string answer =
        desktop.InputBox(kSelectedTitle, "Is this a 'SELECTED'  channel  (Yes, No)", "NO");
    if (answer.empty()) answer = "NO";
    const auto selected = SelectedFromAnswer(answer);
    // Any other answer would leave the flag of the last record written, unasked.
    if (!selected) {
      refuse(kSelectedTitle, TypedValue::SelectedAnswer, answer);
      return;
    }
    s.MemSelectedText = *selected;
  }
  const unsigned char selected = SelectedByte(s.MemSelectedText);
  s.MemSelectedText = std::string(1, static_cast<char>(selected));
  record[kRecordSelected] = static_cast<char>(selected);

  if (!busy) {
    s.MemLabelText = desktop.InputBox("Set Memory Label", "Enter  'LABEL'  info (0-10 chars)", "");
    if (s.MemLabelText.empty()) s.MemLabelText = " ";
  }
  const std::string label = LabelBytes(s.MemLabelText);
  if (!FirstLinkCodeCharacter(label).empty()) {
    refuse("Set Memory Label", TypedValue::Label, s.MemLabelText);
    return;
  }
  record.replace(kRecordLabel, 10, label);

  s.MemoryRecordField = record;
  SendPlainCommand(std::string("\x1A\x00", 2) + s.MemoryRecordField);
  // Select the channel just written and read it back, without asking.
  s.MemorySequenceBusy = true;
  Msel();
}

void RadioMain::SetFq() {
  OptionMarked[29] = false;
  LastRefusal.clear();
  Station& s = program_.station;
  const std::string typed = program_.platform.desktop.InputBox(
      kFrequencyTitle, "Enter  'FREQUENCY'  (MMkkk or MmKkCc)", "");
  s.MemFrequencyDigits = typed;
  if (IsUnusableMemoryText(typed)) {
    ClearStatusLine();
    LastRefusal = RefusalOf(TypedValue::Frequency, typed);
    return;
  }
  const auto digits = FrequencyDigitsOf(typed);
  const auto frequency = digits ? FrequencyBytes(PadFrequencyDigits(*digits)) : std::nullopt;
  if (!frequency) {
    RefuseValue(program_, kFrequencyTitle, RefusalOf(TypedValue::Frequency, typed), true);
    return;
  }
  s.MemFrequencyDigits = PadFrequencyDigits(*digits);
  // Least significant byte first; the 10 Hz and 1 Hz digits and those from 100 MHz up stay 0.
  if (s.VfoFrequencyField.size() != 5) s.VfoFrequencyField = std::string(5, '\0');
  s.VfoFrequencyField[3] = static_cast<char>((*frequency)[0]);
  s.VfoFrequencyField[2] = static_cast<char>((*frequency)[1]);
  s.VfoFrequencyField[1] = static_cast<char>((*frequency)[2]);
  SendPlainCommand("\x05" + s.VfoFrequencyField);
  OpFq();  // read the frequency back
}

void RadioMain::SetMd() {
  OptionMarked[30] = false;
  LastRefusal.clear();
  Station& s = program_.station;
  Desktop& desktop = program_.platform.desktop;
  s.MemModeText =
      desktop.InputBox(kModeTitle, "Enter  'MODE'  (Lsb, Usb, Am, Cw, Rtty, Fm, Cwr, Rttyr)", "AM");
  if (IsUnusableMemoryText(s.MemModeText)) {
    ClearStatusLine();
    LastRefusal = RefusalOf(TypedValue::ModeWord, s.MemModeText);
    return;
  }
  const auto mode = ModeCode(s.MemModeText);
  if (!mode) {
    RefuseValue(program_, kModeTitle, RefusalOf(TypedValue::ModeWord, s.MemModeText), true);
    return;
  }
  s.MemModeText = std::string(1, static_cast<char>(*mode));

  s.MemFilterText = desktop.InputBox(kModeFilterTitle, "Enter  'FILTER'  (1,2,3)", "2");
  if (IsUnusableMemoryText(s.MemFilterText)) {
    ClearStatusLine();
    LastRefusal = RefusalOf(TypedValue::FilterDigit, s.MemFilterText);
    return;
  }
  const auto filter = FilterCode(s.MemFilterText);
  if (!filter) {
    RefuseValue(program_, kModeFilterTitle, RefusalOf(TypedValue::FilterDigit, s.MemFilterText),
                true);
    return;
  }
  s.MemFilterText = std::string(1, static_cast<char>(*filter));
  SendPlainCommand("\x06" + s.MemModeText + s.MemFilterText);
  OpMd();  // read the mode back
}

}  // namespace tavrin
