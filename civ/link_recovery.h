// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Healing the link by itself. USB CI-V cables are pulled and plugged back all the time, and a
// transceiver may be switched on after the program: neither should need a restart or a dialog.
//
// - Port gone: the device behind the port went away while open (or was not there when the port
//   was opened). About once a second the link looks for it under the same name (the comN link
//   or /dev/ttyS<n-1>); when it is there, the owner opens the port again and synchronises.
// - Radio silent: the start-up synchronisation got no identity answer. About once a second,
//   while the link is idle, the identity query goes out; when the transceiver answers, the
//   owner is told.
// The owner tells the operator what is going on meanwhile.
#include "civ/civ_link.h"
#include "civ/link_owner.h"
#include "civ/link_state.h"
#include "platform/clock.h"
#include "platform/serial_control.h"

namespace tavrin {

class LinkRecovery {
 public:
  LinkRecovery(Clock& clock, SerialControl& port, LinkState& state, CivLink& link,
               LinkOwner& owner);

  // The serial control reports that the device went away while the port was open.
  void DeviceGone();
  // The port could not be opened because its device is not there.
  void DeviceMissing();
  // The port was opened: there is nothing to look for any more.
  void PortOpened();
  // The synchronisation ended without an identity answer: ask for it once a second.
  void RadioSilent();
  // Nothing is looked for any more: the program has ended.
  void Stop();
  // Whether the device went away while open (else it was missing when the port was opened).
  [[nodiscard]] bool DeviceWasOpen() const { return deviceWasOpen_; }

  static constexpr int kSearchIntervalMs = 1000;
  Timer SearchTimer;

 private:
  void SearchTick();
  void LookForDevice();
  void AskForRadio();
  void RadioAnswered(const std::string& reply);
  void UpdateSearchTimer();

  SerialControl& port_;
  LinkState& state_;
  CivLink& link_;
  LinkOwner& owner_;
  bool stopped_ = false;
  bool deviceWasOpen_ = false;  // gone while open (else: missing when opened)
};

}  // namespace tavrin
