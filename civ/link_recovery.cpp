// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/link_recovery.h"

#include "app/control_program.h"

namespace tavrin {

namespace {

// The identity answer behind its own query's echo: 7 bytes of echo, 8 of answer.
constexpr std::size_t kIdentityReplyLength = 15;
const char* const kRadioNotReadyLine = "STATUS = RADIO NOT READY";

void ShowStatusLine(ControlProgram& program, const std::string& line) {
  program.radio.Text7 = line;
  program.memory.Text9 = line;
}

}  // namespace

LinkRecovery::LinkRecovery(ControlProgram& program)
    : SearchTimer(program.platform.clock, kSearchIntervalMs, [this] { SearchTick(); }),
      program_(program) {}

std::string LinkRecovery::PortGoneStatus() const {
  const std::string& port = program_.station.CommPort;
  return std::string(kRadioNotReadyLine) + " ... " + port +
         (deviceWasOpen_ ? " is gone" : " is not there") + " ... looking for it";
}

void LinkRecovery::ShowPortGone() { ShowStatusLine(program_, PortGoneStatus()); }

void LinkRecovery::DeviceGone() {
  Station& s = program_.station;
  if (s.Ended) return;
  s.PortGone = true;
  deviceWasOpen_ = true;
  // A synchronisation cut off by the pull starts again from the beginning when the cable is
  // back; what it asked for so far may no longer hold.
  s.SyncStep = 0;
  s.AwaitingRadio = false;
  resynchronising_ = false;
  program_.link.ForgetUnsolicited();
  ShowPortGone();
  UpdateSearchTimer();
}

void LinkRecovery::DeviceMissing() {
  Station& s = program_.station;
  if (s.Ended) return;
  // A device that vanished again while it was being opened is still the one that went.
  if (!s.PortGone) deviceWasOpen_ = false;
  s.PortGone = true;
  UpdateSearchTimer();
}

void LinkRecovery::PortOpened() {
  program_.station.PortGone = false;
  UpdateSearchTimer();
}

void LinkRecovery::RadioSilent() {
  Station& s = program_.station;
  resynchronising_ = false;
  if (s.Ended || s.PortGone) return;
  s.AwaitingRadio = true;
  ShowStatusLine(program_, kRadioNotReadyLine);
  UpdateSearchTimer();
}

void LinkRecovery::UpdateSearchTimer() {
  const Station& s = program_.station;
  SearchTimer.SetEnabled(!s.Ended && (s.PortGone || s.AwaitingRadio));
}

void LinkRecovery::SearchTick() {
  const Station& s = program_.station;
  if (s.Ended) return SearchTimer.SetEnabled(false);
  if (s.PortGone) return LookForDevice();
  if (s.AwaitingRadio) return AskForRadio();
  UpdateSearchTimer();
}

void LinkRecovery::LookForDevice() {
  if (!program_.platform.serial.DevicePresent(PortNumberOf(program_.station.CommPort))) return;
  // A device that is there but will not open yet (still being set up by the system) is tried
  // again at the next tick.
  if (program_.ReopenCommPortQuietly()) Resynchronise();
}

void LinkRecovery::AskForRadio() {
  CivLink& link = program_.link;
  if (!link.Idle()) return;  // the operator or a sequence is using the line now
  const Station& s = program_.station;
  link.Exchange(s.CivPreamble + std::string("\x19\x00", 2) + s.CivTail,
                [this](const std::string& reply) { RadioAnswered(reply); });
}

void LinkRecovery::RadioAnswered(const std::string& reply) {
  Station& s = program_.station;
  if (!s.AwaitingRadio || s.Ended) return;
  if (reply.size() < kIdentityReplyLength) {
    // Only our own query's echo (or nothing) came back: the transceiver is still silent.
    if (!s.PortGone) ShowStatusLine(program_, kRadioNotReadyLine);
    return;
  }
  s.AwaitingRadio = false;
  UpdateSearchTimer();
  // Belmarq asks nothing but the identity, which has just answered.
  if (program_.build != Build::Belmarq) Resynchronise();
}

void LinkRecovery::Resynchronise() {
  Station& s = program_.station;
  resynchronising_ = true;
  s.SyncStep = 1;
  program_.link.Timer2.SetEnabled(true);
}

}  // namespace tavrin
