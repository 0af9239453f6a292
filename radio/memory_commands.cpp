// SPDX-License-Identifier: GPL-3.0-or-later
// "Msel", "Mrd", "Mset", "SetFq", "SetMd": the memory-channel commands and their chains.
// A click asks for the values; the memory window's operations and korvid's panel give them
// instead, and then nothing is asked and no box is shown: the command returns what became of
// it.
#include "app/control_program.h"
#include "civ/command_bytes.h"
#include "civ/memory_record.h"
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
constexpr const char* kLabelTitle = "Set Memory Label";
constexpr const char* kModeFilterTitle = "Memory Filter";

// 1A 00: a memory channel, read (with its code) or written (with its record).
const std::string kMemoryChannelCommand = civ::Bytes({civ::kMemoryContents, civ::kMemoryChannel});

}  // namespace

void RadioMain::Msel() { SelectMemory(nullptr, AfterSelect::Read); }
void RadioMain::Mrd() { ReadMemory(nullptr); }
void RadioMain::Mset() { WriteMemory(nullptr); }

MemoryCommandResult RadioMain::SelectMemoryChannel(const std::string& channel, AfterSelect then) {
  return SelectMemory(&channel, then);
}

MemoryCommandResult RadioMain::ReadMemoryChannel(const std::string& channel) {
  return ReadMemory(&channel);
}

MemoryCommandResult RadioMain::WriteMemoryChannel(const MemoryValues& values) {
  return WriteMemory(&values);
}

MemoryCommandResult RadioMain::SelectMemory(const std::string* given, AfterSelect then) {
  OptionMarked[23] = false;
  LastRefusal.clear();
  Station& s = program_.station;
  s.MemChannelText =
      given ? *given : program_.platform.desktop.InputBox(kSelectTitle, kChannelPrompt, "");
  if (IsUnusableMemoryText(s.MemChannelText)) {
    ClearStatusLine();
    LastRefusal = RefusalOf(TypedValue::ChannelToSelect, s.MemChannelText);
    return {LastRefusal, {}};
  }
  const auto code = ChannelCode(s.MemChannelText);
  if (!code || !IsAcceptedNumber(TypedValue::ChannelToSelect, s.MemChannelText)) {
    RefuseValue(program_, kSelectTitle, RefusalOf(TypedValue::ChannelToSelect, s.MemChannelText),
                given == nullptr);
    return {LastRefusal, {}};
  }
  s.SelectChannelField = *code;
  SendPlainCommand(static_cast<char>(civ::kSelectMemory) + s.SelectChannelField);
  if (then == AfterSelect::Clear) {
    Mclr();
  } else {
    // The channel just selected is read back without asking.
    const std::string channel = s.MemChannelText;
    ReadMemory(&channel);
  }
  return {};
}

MemoryCommandResult RadioMain::ReadMemory(const std::string* given) {
  OptionMarked[25] = false;
  LastRefusal.clear();
  Station& s = program_.station;
  s.MemChannelText =
      given ? *given : program_.platform.desktop.InputBox(kReadTitle, kChannelPrompt, "");
  if (IsUnusableMemoryText(s.MemChannelText)) {
    BlankDisplay();
    LastRefusal = RefusalOf(TypedValue::ChannelToRead, s.MemChannelText);
    return {LastRefusal, {}};
  }
  const auto code = ChannelCode(s.MemChannelText);
  if (!code) {
    RefuseValue(program_, kReadTitle, RefusalOf(TypedValue::ChannelToRead, s.MemChannelText),
                given == nullptr);
    BlankDisplay();
    return {LastRefusal, {}};
  }
  s.SelectChannelField = *code;
  // 102 to 179 give codes that are no channel at all: show nothing rather than ask for them.
  // A select of such a number (chained here) has been sent already and is not refused.
  if (IsReadableChannelCode(s.SelectChannelField) &&
      IsAcceptedNumber(TypedValue::ChannelToRead, s.MemChannelText)) {
    SendPlainCommand(kMemoryChannelCommand + s.SelectChannelField);
    return {};
  }
  if (given == nullptr)
    RefuseValue(program_, kReadTitle, RefusalOf(TypedValue::ChannelToRead, s.MemChannelText), true);
  BlankDisplay();
  return {RefusalOf(TypedValue::ChannelToRead, s.MemChannelText), {}};
}

MemoryCommandResult RadioMain::WriteMemory(const MemoryValues* given) {
  OptionMarked[27] = false;
  LastRefusal.clear();
  Station& s = program_.station;
  Desktop& desktop = program_.platform.desktop;
  const bool asking = given == nullptr;
  // A missing value ends the command quietly; a value the record cannot hold is refused with
  // its reason, in a box when the operator typed it.
  const auto stop = [&](TypedValue value, const std::string& typed) {
    ClearStatusLine();
    LastRefusal = RefusalOf(value, typed);
    return MemoryCommandResult{LastRefusal, {}};
  };
  const auto refuse = [&](const char* title, TypedValue value, const std::string& typed) {
    RefuseValue(program_, title, RefusalOf(value, typed), asking);
    return MemoryCommandResult{LastRefusal, {}};
  };

  const std::string channel =
      asking ? desktop.InputBox(kSetChannelTitle, kChannelPrompt, "") : given->channel;
  s.MemChannelText = channel;
  if (IsUnusableMemoryText(channel)) return stop(TypedValue::ChannelToWrite, channel);
  const auto code = ChannelCode(channel);
  if (!code || IsUnwritableChannelText(channel) ||
      !IsAcceptedNumber(TypedValue::ChannelToWrite, channel))
    return refuse(kSetChannelTitle, TypedValue::ChannelToWrite, channel);
  // Built aside and stored only when sent: a refused record leaves the last one as it was.
  civ::MemoryRecord record =
      civ::MemoryRecord::FromBytes(s.MemoryRecordField).value_or(civ::MemoryRecord{});
  record.channel = *code;

  const std::string typedFrequency =
      asking ? desktop.InputBox(kFrequencyTitle, "Enter 'FREQUENCY' (MMkkk or MmKkCc)", "")
             : given->frequency;
  if (IsUnusableMemoryText(typedFrequency)) return stop(TypedValue::Frequency, typedFrequency);
  const auto digits = FrequencyDigitsOf(typedFrequency);
  const auto frequency = digits ? FrequencyBytes(PadFrequencyDigits(*digits)) : std::nullopt;
  if (!frequency) return refuse(kFrequencyTitle, TypedValue::Frequency, typedFrequency);
  // Five bytes from the 10 Hz and 1 Hz digits up: those and the 100 MHz ones are never set.
  record.frequency[1] = static_cast<char>((*frequency)[2]);
  record.frequency[2] = static_cast<char>((*frequency)[1]);
  record.frequency[3] = static_cast<char>((*frequency)[0]);

  std::string mode =
      asking ? desktop.InputBox(kModeTitle,
                                "Enter  'MODE' (Lsb, Usb, Am, Cw, Rtty, Fm, Cwr, Rttyr)", "AM")
             : given->mode;
  if (asking && mode.empty()) mode = "AM";
  const auto modeCode = ModeCode(mode);
  if (!modeCode) {
    if (mode.empty()) return stop(TypedValue::ModeWord, mode);
    return refuse(kModeTitle, TypedValue::ModeWord, mode);
  }
  record.mode = *modeCode;

  std::string filter =
      asking ? desktop.InputBox(kFilterTitle, "Enter 'FILTER' (1,2,3)", "2") : given->filter;
  if (asking && filter.empty()) filter = "2";
  const auto filterCode = FilterCode(filter);
  if (!filterCode) {
    if (filter.empty()) return stop(TypedValue::FilterDigit, filter);
    return refuse(kFilterTitle, TypedValue::FilterDigit, filter);
  }
  record.filter = *filterCode;

  // P1 and P2 start unselected; the operator may still answer Yes.
  std::string selected = asking ? "0" : given->selected;
  if (channel == "100" || channel == "101") selected = "0";
  if (asking) {
    std::string answer =
        desktop.InputBox(kSelectedTitle, "Is this a 'SELECTED'  channel  (Yes, No)", "NO");
    if (answer.empty()) answer = "NO";
    const auto yesOrNo = SelectedFromAnswer(answer);
    if (!yesOrNo) return refuse(kSelectedTitle, TypedValue::SelectedAnswer, answer);
    selected = *yesOrNo;
  }
  record.selected = SelectedByte(selected);

  std::string label = asking
                          ? desktop.InputBox(kLabelTitle, "Enter  'LABEL'  info (0-10 chars)", "")
                          : given->label;
  if (asking && label.empty()) label = " ";
  if (!civ::FirstLinkCodeCharacter(civ::LabelBytes(label)).empty())
    return refuse(kLabelTitle, TypedValue::Label, label);
  record.label = civ::LabelBytes(label);

  s.MemoryRecordField = record.Bytes();
  SendPlainCommand(kMemoryChannelCommand + s.MemoryRecordField);
  // Select the channel just written and read it back, without asking.
  SelectMemory(&channel, AfterSelect::Read);
  return {{}, s.MemoryRecordField};
}

void RadioMain::SetFq() {
  OptionMarked[29] = false;
  LastRefusal.clear();
  Station& s = program_.station;
  const std::string typed = program_.platform.desktop.InputBox(
      kFrequencyTitle, "Enter  'FREQUENCY'  (MMkkk or MmKkCc)", "");
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
  // Least significant byte first; the 10 Hz and 1 Hz digits and those from 100 MHz up stay 0.
  if (s.VfoFrequencyField.size() != 5) s.VfoFrequencyField = std::string(5, '\0');
  s.VfoFrequencyField[3] = static_cast<char>((*frequency)[0]);
  s.VfoFrequencyField[2] = static_cast<char>((*frequency)[1]);
  s.VfoFrequencyField[1] = static_cast<char>((*frequency)[2]);
  SendPlainCommand(static_cast<char>(civ::kSetFrequency) + s.VfoFrequencyField);
  OpFq();  // read the frequency back
}

void RadioMain::SetMd() {
  OptionMarked[30] = false;
  LastRefusal.clear();
  Desktop& desktop = program_.platform.desktop;
  const std::string mode =
      desktop.InputBox(kModeTitle, "Enter  'MODE'  (Lsb, Usb, Am, Cw, Rtty, Fm, Cwr, Rttyr)", "AM");
  if (IsUnusableMemoryText(mode)) {
    ClearStatusLine();
    LastRefusal = RefusalOf(TypedValue::ModeWord, mode);
    return;
  }
  const auto modeCode = ModeCode(mode);
  if (!modeCode) {
    RefuseValue(program_, kModeTitle, RefusalOf(TypedValue::ModeWord, mode), true);
    return;
  }
  const std::string filter = desktop.InputBox(kModeFilterTitle, "Enter  'FILTER'  (1,2,3)", "2");
  if (IsUnusableMemoryText(filter)) {
    ClearStatusLine();
    LastRefusal = RefusalOf(TypedValue::FilterDigit, filter);
    return;
  }
  const auto filterCode = FilterCode(filter);
  if (!filterCode) {
    RefuseValue(program_, kModeFilterTitle, RefusalOf(TypedValue::FilterDigit, filter), true);
    return;
  }
  SendPlainCommand(civ::Bytes({civ::kSetMode, *modeCode, *filterCode}));
  OpMd();  // read the mode back
}

}  // namespace tavrin
