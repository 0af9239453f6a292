// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/link_recovery.h"

#include "civ/command_bytes.h"
#include "civ/frame.h"

namespace tavrin {

LinkRecovery::LinkRecovery(Clock& clock, SerialControl& port, LinkState& state, CivLink& link,
                           LinkOwner& owner)
    : SearchTimer(clock, kSearchIntervalMs, [this] { SearchTick(); }),
      port_(port),
      state_(state),
      link_(link),
      owner_(owner) {}

void LinkRecovery::Stop() {
  stopped_ = true;
  SearchTimer.SetEnabled(false);
}

void LinkRecovery::DeviceGone() {
  if (stopped_) return;
  state_.PortGone = true;
  state_.AwaitingRadio = false;
  deviceWasOpen_ = true;
  link_.ForgetUnsolicited();
  owner_.Gone(LinkOwner::Absence::DeviceGone);
  UpdateSearchTimer();
}

void LinkRecovery::DeviceMissing() {
  if (stopped_) return;
  // A device that vanished again while it was being opened is still the one that went.
  if (!state_.PortGone) deviceWasOpen_ = false;
  state_.PortGone = true;
  UpdateSearchTimer();
}

void LinkRecovery::PortOpened() {
  state_.PortGone = false;
  UpdateSearchTimer();
}

void LinkRecovery::RadioSilent() {
  if (stopped_ || state_.PortGone) return;
  state_.AwaitingRadio = true;
  owner_.Gone(LinkOwner::Absence::RadioSilent);
  UpdateSearchTimer();
}

void LinkRecovery::UpdateSearchTimer() {
  SearchTimer.SetEnabled(!stopped_ && (state_.PortGone || state_.AwaitingRadio));
}

void LinkRecovery::SearchTick() {
  if (stopped_) return SearchTimer.SetEnabled(false);
  if (state_.PortGone) return LookForDevice();
  if (state_.AwaitingRadio) return AskForRadio();
  UpdateSearchTimer();
}

void LinkRecovery::LookForDevice() {
  // The port number the port was last opened with: the name it is looked for under.
  if (!port_.DevicePresent(port_.CommPort())) return;
  // A device that is there but will not open yet (still being set up by the system) is tried
  // again at the next tick.
  owner_.Back(LinkOwner::Presence::Device);
}

void LinkRecovery::AskForRadio() {
  if (!link_.Idle()) return;  // the operator or a sequence is using the line now
  link_.Exchange(civ::ControllerFrame(civ::Bytes({civ::kIdentity, civ::kReadIdentity})),
                 [this](const std::string& reply) { RadioAnswered(reply); });
}

void LinkRecovery::RadioAnswered(const std::string& reply) {
  if (!state_.AwaitingRadio || stopped_) return;
  if (reply.size() < civ::kIdentityReplyLength) {
    // Only our own query's echo (or nothing) came back: the transceiver is still silent.
    if (!state_.PortGone) owner_.Gone(LinkOwner::Absence::RadioSilent);
    return;
  }
  state_.AwaitingRadio = false;
  UpdateSearchTimer();
  owner_.Back(LinkOwner::Presence::Radio);
}

}  // namespace tavrin
