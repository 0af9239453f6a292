#include "civ/civ_link.h"

#include "app/control_program.h"
#include "civ/status_line.h"

namespace tavrin {

CivLink::CivLink(ControlProgram& program)
    : Timer2(program.platform.clock, 50, [this] { ReplyTimerTick(); }), program_(program) {}

void CivLink::SendCommand(const std::string& frame) {
  if (program_.station.PortOpened != 1 || program_.station.Ended) return;
  program_.platform.serial.Output(frame);
  Timer2.SetEnabled(true);
}

void CivLink::SendCivCommand(const std::string& commandBytes) {
  const Station& s = program_.station;
  SendCommand(s.CivPreamble + commandBytes + s.CivTail);
}

void CivLink::ReplyTimerTick() {
  Timer2.SetEnabled(false);
  if (program_.station.Ended) return;
  const std::string reply = program_.platform.serial.Input();
  ShowStatus(program_, reply);
  program_.decoder.DecodeReply(reply);
  if (program_.station.SyncStep != 0) {
    if (program_.build == Build::Belmarq) {
      program_.decoder.IdentityExchangeStep(reply);
    } else {
      program_.decoder.SynchronisationStep(reply);
    }
  }
}

void CivLink::TransceiveTick() {
  Station& s = program_.station;
  if (Timer2.Enabled() || s.Ended) return;
  SerialControl& port = program_.platform.serial;
  if (!port.PortOpen()) return;
  if (program_.build == Build::Belmarq) return;  // the memory manager has no transceive handling
  const std::string data = port.Input();
  if (data.empty() || !s.AutoStatusOn) return;
  ShowAutoStatus(program_, data);
  if (data.size() < 3 || static_cast<unsigned char>(data[0]) != 0xFE || data[2] != '\0') return;
  // Cut into frames, each up to and including its FD; a last piece without FD goes on too.
  std::size_t start = 0;
  while (start < data.size()) {
    const std::size_t end = data.find('\xFD', start);
    const std::size_t stop = end == std::string::npos ? data.size() : end + 1;
    program_.decoder.DecodeTransceive(data.substr(start, stop - start));
    start = stop;
  }
}

}  // namespace tavrin
