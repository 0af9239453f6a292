#include "civ/reply_decoder.h"

#include "app/control_program.h"

namespace tavrin {

ReplyDecoder::ReplyDecoder(ControlProgram& program) : program_(program) {}

void ReplyDecoder::DecodeReply(const std::string& /*reply*/) {}
void ReplyDecoder::SynchronisationStep(const std::string& /*reply*/) {}
void ReplyDecoder::IdentityExchangeStep(const std::string& /*reply*/) {}
void ReplyDecoder::DecodeTransceive(const std::string& /*frame*/) {}

}  // namespace tavrin
