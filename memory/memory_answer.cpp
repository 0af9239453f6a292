// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/memory_answer.h"

#include <optional>
#include <string_view>

#include "civ/command_bytes.h"
#include "civ/frame.h"

namespace tavrin {

namespace {

// What a whole answer frame (FE FE E0 64 ... FD) says about `code`'s channel; nothing when it
// is not a well-formed answer for that channel.
std::optional<MemoryAnswer> AnswerForChannel(std::string_view bytes, const std::string& code) {
  const auto frame = civ::ParseFrame(bytes);
  if (!frame || frame->command != civ::kMemoryContents) return std::nullopt;
  const std::string_view data = frame->data;
  // 00, then the record, which begins with the channel's code.
  if (data.size() < 1 + code.size() || static_cast<unsigned char>(data[0]) != civ::kMemoryChannel ||
      data.substr(1, code.size()) != code)
    return std::nullopt;
  const std::string_view record = data.substr(1);
  if (record.size() == code.size() + 1 && static_cast<unsigned char>(record.back()) == civ::kNoData)
    return MemoryAnswer{MemoryAnswer::Kind::Blank, {}};
  const auto filled = civ::MemoryRecord::FromBytes(record);
  if (!filled || !filled->WellFormed()) return std::nullopt;
  return MemoryAnswer{MemoryAnswer::Kind::Filled, *filled};
}

}  // namespace

MemoryAnswer FindMemoryAnswer(const std::string& reply, int channel) {
  const std::string code = civ::MemoryChannelCode(channel);
  for (std::size_t at = 0;;) {
    const auto frame = civ::FindAnswer(reply, at);
    if (!frame) break;
    if (const auto answer = AnswerForChannel(*frame, code)) return *answer;
    at = static_cast<std::size_t>(frame->data() - reply.data()) + frame->size();
  }
  MemoryAnswer none;
  if (reply.find(civ::AnswerHead()) != std::string::npos) none.kind = MemoryAnswer::Kind::Malformed;
  return none;
}

}  // namespace tavrin
