// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/synchronisation.h"

#include <utility>

#include "app/control_program.h"
#include "civ/command_bytes.h"
#include "civ/operating_mode.h"

namespace tavrin {

Synchronisation::Synchronisation(ControlProgram& program) : program_(program) {}

void Synchronisation::Start(bool quiet) {
  quiet_ = quiet;
  program_.station.SyncStep = 1;
  program_.link.Timer2.SetEnabled(true);
}

void Synchronisation::Abandon() {
  program_.station.SyncStep = 0;
  quiet_ = false;
}

void Synchronisation::Step(const std::string& reply) {
  if (program_.profile.readsRadioState) {
    SynchronisationStep(reply);
  } else {
    IdentityExchangeStep(reply);
  }
}

void Synchronisation::MarkCaption(const char* caption) { program_.radio.MarkCaption(caption); }

bool Synchronisation::IdentityAnswered(const std::string& reply) {
  program_.station.SyncStep = 0;
  const bool quiet = std::exchange(quiet_, false);
  if (reply.size() >= civ::kIdentityReplyLength) return true;
  program_.RadioNotReady(quiet);
  return false;
}

void Synchronisation::SynchronisationStep(const std::string& reply) {
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
  if (!IdentityAnswered(reply)) return;
  if (station.LastAntenna == "0") MarkCaption("Ant1");
  if (station.LastAntenna == "1") MarkCaption("Ant2");
  // The receive/transmit marks only show the state (see RadioMain::MarkOption).
  if (station.LastRxTx == "0") MarkCaption("Rx");
  if (station.LastRxTx == "1") MarkCaption("Tx");
  program_.decoder.MarkModeOption();
  program_.decoder.MarkFilterOption();
}

void Synchronisation::IdentityExchangeStep(const std::string& reply) {
  Station& station = program_.station;
  if (station.SyncStep == 1) {
    station.SyncStep = 2;
    program_.radio.RigId();
    // A port that is not open drops the query, and no tick would follow: the check ends now,
    // with nothing heard.
    if (!program_.link.ReplyTimerArmed()) IdentityExchangeStep({});
  } else if (station.SyncStep == 2) {
    IdentityAnswered(reply);
  } else {
    station.SyncStep = 0;
  }
}

}  // namespace tavrin
