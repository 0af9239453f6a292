// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Healing the link by itself. USB CI-V cables are pulled and plugged back all the time, and a
// transceiver may be switched on after the program: neither should need a restart or a dialog.
//
// - Port gone: the device behind the port went away while open (or was not there when the port
//   was opened). About once a second the program looks for it under the same name (the comN
//   link or /dev/ttyS<n-1>); when it is back the port is opened again with the settings in
//   force, without any box, and the start-up synchronisation runs again so that the panel shows
//   the transceiver's state.
// - Radio silent: the start-up synchronisation got no identity answer. About once a second,
//   while the link is idle, the identity query goes out; when the transceiver answers, the
//   synchronisation runs again.
// The status line tells the operator what is going on meanwhile.
#include <string>

#include "platform/clock.h"

namespace tavrin {

class ControlProgram;

class LinkRecovery {
 public:
  explicit LinkRecovery(ControlProgram& program);

  // The serial control reports that the device went away while the port was open.
  void DeviceGone();
  // OpenCommPort gave up on a port whose device is not there.
  void DeviceMissing();
  // The port was opened: there is nothing to look for any more.
  void PortOpened();
  // The synchronisation (or belmarq's identity exchange) ended without an identity answer.
  // Its box is shown only when the operator's own start-up or Save ran it; a synchronisation
  // that this class started after a cable came back fails quietly.
  void RadioSilent();
  // Whether the synchronisation now running was started here.
  [[nodiscard]] bool Resynchronising() const { return resynchronising_; }
  // The synchronisation ended with the transceiver answering.
  void SynchronisationDone() { resynchronising_ = false; }

  // The status line while the port is gone: "STATUS = RADIO NOT READY ... COM1 is gone ...".
  [[nodiscard]] std::string PortGoneStatus() const;
  void ShowPortGone();

  static constexpr int kSearchIntervalMs = 1000;
  Timer SearchTimer;

 private:
  void SearchTick();
  void LookForDevice();
  void AskForRadio();
  void RadioAnswered(const std::string& reply);
  void Resynchronise();
  void UpdateSearchTimer();

  ControlProgram& program_;
  bool resynchronising_ = false;
  bool deviceWasOpen_ = false;  // gone while open (else: missing when opened)
};

}  // namespace tavrin
