// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/memory_answer.h"

#include "civ/command_bytes.h"
#include "civ/frame.h"

namespace tavrin {

namespace {

const std::string kMemoryChannel = civ::Bytes({civ::kMemoryContents, civ::kMemoryChannel});

// After the answer's FD: nothing, or the start of the next frame.
bool EndsCleanly(const std::string& reply, std::size_t after) {
  return after >= reply.size() || static_cast<unsigned char>(reply[after]) == civ::kPreamble;
}

bool IsByteAt(const std::string& reply, std::size_t at, unsigned char byte) {
  return at < reply.size() && static_cast<unsigned char>(reply[at]) == byte;
}

}  // namespace

std::string MemoryReadFrame(int channel) {
  return civ::ControllerFrame(kMemoryChannel + civ::MemoryChannelCode(channel));
}

MemoryAnswer CheckMemoryAnswer(const std::string& reply, std::size_t answerAt, int channel) {
  MemoryAnswer answer;
  if (answerAt >= reply.size()) return answer;  // silent
  answer.kind = MemoryAnswer::Kind::Malformed;
  const std::string head = civ::AnswerHead() + kMemoryChannel + civ::MemoryChannelCode(channel);
  if (reply.compare(answerAt, head.size(), head) != 0) return answer;
  const std::size_t recordAt = answerAt + head.size() - 2;  // the record begins with the code
  const std::size_t afterCode = answerAt + head.size();
  // A blank channel: FF and the end.
  if (IsByteAt(reply, afterCode, civ::kNoData) && IsByteAt(reply, afterCode + 1, civ::kEnd) &&
      EndsCleanly(reply, afterCode + 2)) {
    answer.kind = MemoryAnswer::Kind::Blank;
    return answer;
  }
  const std::size_t endAt = recordAt + civ::kMemoryRecordLength;
  if (!IsByteAt(reply, endAt, civ::kEnd) || !EndsCleanly(reply, endAt + 1)) return answer;
  const auto record = civ::MemoryRecord::FromBytes(
      std::string_view(reply).substr(recordAt, civ::kMemoryRecordLength));
  if (!record || !record->WellFormed()) return answer;
  answer.kind = MemoryAnswer::Kind::Filled;
  answer.record = *record;
  return answer;
}

MemoryAnswer MemoryAnswerAfterEcho(const std::string& reply, int channel) {
  const std::string echo = MemoryReadFrame(channel);
  if (reply.compare(0, echo.size(), echo) != 0) {
    // Without the echo of the read nothing was sent or heard: the port is closed or gone.
    return reply.size() <= echo.size() ? MemoryAnswer{}
                                       : MemoryAnswer{MemoryAnswer::Kind::Malformed, {}};
  }
  return CheckMemoryAnswer(reply, echo.size(), channel);
}

MemoryAnswer MemoryAnswerAfterChain(const std::string& reply, int channel) {
  const std::string echo = MemoryReadFrame(channel);
  const std::size_t at = reply.find(echo);
  if (at == std::string::npos) return {};
  return CheckMemoryAnswer(reply, at + echo.size(), channel);
}

}  // namespace tavrin
