// SPDX-License-Identifier: GPL-3.0-or-later
// Bringing the radio window in line with the transceiver after start-up: five queries, one per
// reply, then the option marks set to what the replies showed. Belmarq only checks that the
// transceiver answers its identity query.
#include <array>
#include <utility>

#include "app/control_program.h"
#include "civ/reply_decoder.h"
#include "radio/operating_mode.h"

namespace tavrin {

namespace {

// The identity answer behind its own query's echo: 7 bytes of echo, 8 of answer.
constexpr std::size_t kIdentityReplyLength = 15;

// Marks the option captioned `caption` as program code does (its action runs when the mark
// changes).
void MarkCaption(ControlProgram& program, const char* caption) {
  program.radio.MarkOption(RadioMain::OptionByCaption(caption));
}

}  // namespace

namespace {

// The caption of the mode option that shows the mode field (Text4), or none.
const char* ModeOptionCaption(const std::string& modeField) {
  static const std::array<std::pair<const char*, const char*>, 8> kModeOptions = {{
      {"AM", "Am"},
      {"FM", "Fm"},
      {"USB", "Usb"},
      {"LSB", "Lsb"},
      {"CW", "Cw"},
      {"CWr", "Cwr"},
      {"RTTY", "Rtty"},
      {"RTTYr", "Rttyr"},
  }};
  for (const auto& [text, caption] : kModeOptions) {
    if (modeField == text) return caption;
  }
  return nullptr;
}

// The caption of the filter option that shows the filter field (Text5), or none.
const char* FilterOptionCaption(const std::string& filterField) {
  static const std::array<std::pair<const char*, const char*>, 3> kFilterOptions = {{
      {"Fil 1", "F1"},
      {"Fil 2", "F2"},
      {"Fil 3", "F3"},
  }};
  for (const auto& [text, caption] : kFilterOptions) {
    if (filterField == text) return caption;
  }
  return nullptr;
}

}  // namespace

void ReplyDecoder::MarkModeOption() {
  if (const char* caption = ModeOptionCaption(program_.radio.Text4)) MarkCaption(program_, caption);
}

void ReplyDecoder::MarkFilterOption() {
  if (const char* caption = FilterOptionCaption(program_.radio.Text5))
    MarkCaption(program_, caption);
}

void ReplyDecoder::ShowModeMarks(const std::string& modeText, const std::string& filterText) {
  RadioMain& radio = program_.radio;
  for (const char* caption : {ModeOptionCaption(modeText), FilterOptionCaption(filterText)}) {
    if (caption != nullptr) radio.ShowOptionMark(RadioMain::OptionByCaption(caption));
  }
}

void ReplyDecoder::SynchronisationStep(const std::string& reply) {
  Station& station = program_.station;
  RadioMain& radio = program_.radio;
  switch (station.SyncStep) {
    case 1:
      station.SyncStep = 2;
      radio.OpFq();
      return;
    case 2:
      station.SyncStep = 3;
      radio.OpMd();
      return;
    case 3:
      // The answer to the mode query: the filter marks below send their filter in this mode.
      if (const auto mode = ModeAnswerIn(reply)) NoteOperatingMode(station, *mode);
      station.SyncStep = 4;
      radio.Ant();
      return;
    case 4:
      station.SyncStep = 5;
      radio.RT();
      return;
    case 5:
      station.SyncStep = 6;
      radio.RigId();
      return;
    case 6:
      break;
    default:
      station.SyncStep = 0;
      return;
  }
  station.SyncStep = 0;
  if (reply.size() < kIdentityReplyLength) return program_.RadioNotReady();
  program_.recovery.SynchronisationDone();
  if (station.LastAntenna == "0") MarkCaption(program_, "Ant1");
  if (station.LastAntenna == "1") MarkCaption(program_, "Ant2");
  // The receive/transmit marks only show the state (see RadioMain::MarkOption).
  if (station.LastRxTx == "0") MarkCaption(program_, "Rx");
  if (station.LastRxTx == "1") MarkCaption(program_, "Tx");
  MarkModeOption();
  MarkFilterOption();
}

void ReplyDecoder::IdentityExchangeStep(const std::string& reply) {
  Station& station = program_.station;
  if (station.SyncStep == 1) {
    station.SyncStep = 2;
    program_.radio.RigId();
    // A port that is not open drops the query, and no tick would follow: the check ends now,
    // with nothing heard.
    if (!program_.link.ReplyTimerArmed()) IdentityExchangeStep({});
  } else if (station.SyncStep == 2) {
    station.SyncStep = 0;
    if (reply.size() < kIdentityReplyLength) return program_.RadioNotReady();
    program_.recovery.SynchronisationDone();
  } else {
    station.SyncStep = 0;
  }
}

}  // namespace tavrin
