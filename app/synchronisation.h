// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bringing the radio window in line with the transceiver after start-up: five queries, one per
// reply, then the option marks set to what the replies showed. A build that does not read the
// transceiver's state (the memory manager) only checks that it answers its identity query.
#include <string>

namespace tavrin {

class ControlProgram;

class Synchronisation {
 public:
  explicit Synchronisation(ControlProgram& program);

  // SyncStep 1 and the reply timer armed: its tick runs the first step. A `quiet` one (the
  // link's own, after the cable came back) shows no box when the transceiver does not answer.
  void Start(bool quiet);
  // The step for the reply just collected, while SyncStep is not 0.
  void Step(const std::string& reply);
  // One step of the full synchronisation: steps 1 to 5 send the next query, step 6 checks the
  // identity answer and marks the radio window's options to the transceiver's state, or says
  // that the radio is not ready.
  void SynchronisationStep(const std::string& reply);
  // One step of the identity check: step 1 sends the "Rig Id" query, step 2 says that the radio
  // is not ready when the answer did not come.
  void IdentityExchangeStep(const std::string& reply);
  // The device went away in the middle: it starts again from the beginning when it is back.
  void Abandon();
  // Whether the synchronisation now running is the link's own (no box when it fails).
  [[nodiscard]] bool Quiet() const { return quiet_; }

 private:
  void MarkCaption(const char* caption);
  // The last step: SyncStep back to 0; false, after saying that the radio is not ready, when
  // the reply holds no identity answer.
  bool IdentityAnswered(const std::string& reply);

  ControlProgram& program_;
  bool quiet_ = false;
};

}  // namespace tavrin
