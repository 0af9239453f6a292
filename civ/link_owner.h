// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the CI-V link reports to the program that owns it, and the one question it asks. The
// link knows no window and no build: the owner decides what an answer or a broadcast shows.
#include <string>

namespace tavrin {

class LinkOwner {
 public:
  // Why the transceiver cannot be reached.
  enum class Absence {
    DeviceGone,   // the device behind the port went away while the port was open
    RadioSilent,  // the port is open, but the transceiver still does not answer
  };
  // What came back.
  enum class Presence {
    Device,  // the device is there again: the owner opens the port again
    Radio,   // the silent transceiver answered its identity query
  };

  // The reply the reply timer collected after a send, as it came; empty when nothing answered.
  virtual void Answered(const std::string& reply) = 0;
  // Bytes that came while no answer was awaited and auto status is on, as they came.
  virtual void Unsolicited(const std::string& bytes) = 0;
  // One frame cut from them, when they begin as a broadcast (FE ?? 00); a last piece without
  // its FD too.
  virtual void Broadcast(const std::string& frame) = 0;
  // The transceiver cannot be reached.
  virtual void Gone(Absence why) = 0;
  // It can be reached again. For a device: false while the port will not open yet (the link
  // tries again a second later).
  virtual bool Back(Presence what) = 0;
  // Whether a send that is not the operator's own (a network client's, the link's own
  // identity query) may go out now: the owner's own exchanges (the start-up synchronisation, a
  // memory-window operation) rely on each reply being the answer to their own command.
  [[nodiscard]] virtual bool MaySend() const = 0;

 protected:
  ~LinkOwner() = default;
};

}  // namespace tavrin
