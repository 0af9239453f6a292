#pragma once
// Turns what the transceiver sends into window text and shared state: the reply to a command
// (recognised by its echo at the head of the buffer), the start-up synchronisation, and the
// unsolicited transceive frames.
#include <string>

namespace tavrin {

class ControlProgram;

class ReplyDecoder {
 public:
  explicit ReplyDecoder(ControlProgram& program);

  void DecodeReply(const std::string& reply);
  // One step of the start-up synchronisation (tavrin, korvid), with the reply just collected.
  void SynchronisationStep(const std::string& reply);
  // One step of belmarq's identity exchange.
  void IdentityExchangeStep(const std::string& reply);
  void DecodeTransceive(const std::string& frame);

 private:
  ControlProgram& program_;
};

}  // namespace tavrin
