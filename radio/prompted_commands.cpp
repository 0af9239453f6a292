// SPDX-License-Identifier: GPL-3.0-or-later
// "Set Vol", "Set Call ", "Set Time" and "Manual Commands  ": ask, check, convert, send.
#include <optional>

#include "app/control_program.h"
#include "civ/command_bytes.h"
#include "radio/command_input.h"
#include "radio/radio_main.h"
#include "radio/value_refusal.h"

namespace tavrin {

namespace {

constexpr const char* kVolumeTitle = "Set Audio Level";
constexpr const char* kCallTitle = "New Call Sign";
constexpr const char* kTimeTitle = "New Time of Day";
constexpr const char* kManualTitle = "Manual Command Mode";

// The call sign is never refused: an answer longer than ten characters is sent whole.
constexpr const char* kCallAccepted = "1 or more characters, not beginning with a blank";

}  // namespace

void RadioMain::SetVol() {
  LastRefusal.clear();
  const std::string answer =
      program_.platform.desktop.InputBox(kVolumeTitle, "Enter  'AUDIO LEVEL'  (0-99)", "25");
  // The level 0 is a real answer here, so only an empty answer or a leading blank is ignored,
  // and the status line stays as it is.
  if (answer.empty() || answer[0] == ' ') {
    LastRefusal = RefusalOf(TypedValue::AudioLevel, answer);
    return;
  }
  // "abc" would read as 0 and mute the audio; "1e999" is no number the byte can hold.
  if (!IsAcceptedNumber(TypedValue::AudioLevel, answer)) {
    RefuseValue(program_, kVolumeTitle, RefusalOf(TypedValue::AudioLevel, answer), true);
    return;
  }
  const civ::BcdByte level = TextToBcd(answer);
  SendPlainCommand(civ::Bytes({civ::kLevel, civ::kAudioLevel, level.byte}));
}

void RadioMain::SetCall() {
  LastRefusal.clear();
  const std::string answer = program_.platform.desktop.InputBox(
      kCallTitle, "Enter  'CALLSIGN'  (1-10 Chars)", program_.station.CallSign);
  if (IsUnusableAnswer(answer)) {
    ClearStatusLine();
    LastRefusal = RefusalText("Call sign", answer, kCallAccepted);
    return;
  }
  SendPlainCommand(civ::Bytes({civ::kMemoryContents, civ::kSettings, civ::kCallSignSetting}) +
                   CallSignBytes(answer));
  Call();  // read the stored call sign back
}

void RadioMain::SetTime() {
  LastRefusal.clear();
  const std::string answer = program_.platform.desktop.InputBox(
      kTimeTitle, "Enter  'TIME'  (HH:MM)...where hh=00-23, mm=00-59", "");
  if (IsUnusableAnswer(answer)) {
    ClearStatusLine();
    LastRefusal = RefusalOf(TypedValue::TimeOfDay, answer);
    return;
  }
  const auto time = HasTimeForm(answer) ? TimeBytes(answer) : std::nullopt;
  if (!time) {
    RefuseValue(program_, kTimeTitle, RefusalOf(TypedValue::TimeOfDay, answer), true);
    return;
  }
  program_.station.TimeField = *time;
  SendPlainCommand(civ::Bytes({civ::kMemoryContents, civ::kSettings, civ::kClockSetting}) +
                   program_.station.TimeField);
  Time();  // read the clock back
}

void RadioMain::ManualCommands() {
  LastRefusal.clear();
  Station& s = program_.station;
  const std::string answer = program_.platform.desktop.InputBox(
      kManualTitle, "Enter Command String  (1 to 4 cmds, sep w/spaces )", s.LastManualCommand);
  if (IsUnusableAnswer(answer)) {
    ClearStatusLine();
    LastRefusal = RefusalOf(TypedValue::ManualCommand, answer);
    return;
  }
  // Kept even when refused below, so that the next prompt offers the typo for correction.
  s.LastManualCommand = answer;
  const auto bytes = ManualCommandBytes(answer);
  if (!bytes) {
    RefuseValue(program_, kManualTitle,
                RefusalText("Command", answer, AcceptedText(TypedValue::ManualCommand),
                            "holds " + FirstNonHexToken(answer) + ", which is no hexadecimal byte"),
                true);
    return;
  }
  SendPlainCommand(*bytes);
}

}  // namespace tavrin
