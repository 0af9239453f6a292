#pragma once
// The CI-V link of the radio window: the one send operation, the 50 ms one-shot reply timer
// (Timer2) that collects the answer, and the transceive handling (Timer1) that collects what
// the transceiver sends on its own. Timer1 is realised event-driven: the serial control calls
// TransceiveTick whenever bytes arrive, instead of a 1 ms poll, so an idle program costs no CPU.
#include <string>

#include "platform/clock.h"

namespace tavrin {

class ControlProgram;

class CivLink {
 public:
  explicit CivLink(ControlProgram& program);

  // Writes one frame (or several joined) when PortOpened is 1, then arms the reply timer.
  void SendCommand(const std::string& frame);
  // CivPreamble + command bytes + CivTail, sent.
  void SendCivCommand(const std::string& commandBytes);

  // Reply timer tick: disarm, read all, status line, decode, synchronisation step.
  void ReplyTimerTick();
  // Transceive tick: while no answer is awaited, read what came unasked, show and decode it.
  void TransceiveTick();

  [[nodiscard]] bool ReplyTimerArmed() const { return Timer2.Enabled(); }

  Timer Timer2;  // reply timer, 50 ms one-shot

 private:
  ControlProgram& program_;
};

}  // namespace tavrin
