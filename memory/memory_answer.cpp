// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/memory_answer.h"

#include <cstdint>

#include "civ/encodings.h"

namespace tavrin {

namespace {

constexpr unsigned char kPreamble = 0xFE;
constexpr unsigned char kEnd = 0xFD;
constexpr unsigned char kNoData = 0xFF;
constexpr unsigned char kController = 0xE0;
constexpr unsigned char kRig = 0x64;
constexpr unsigned char kMemoryContents = 0x1A;
constexpr unsigned char kMemorySubCommand = 0x00;
constexpr std::size_t kHeaderLength = 6;  // FE FE E0 64 1A 00

// Where the record's parts lie, from its first byte.
constexpr std::size_t kSelect = 2;
constexpr std::size_t kFrequency = 3;  // five bytes
constexpr std::size_t kMode = 8;
constexpr std::size_t kFilter = 9;
constexpr std::size_t kTone = 10;  // seven bytes
constexpr std::size_t kToneLength = 7;

unsigned char ByteAt(const std::string& bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}

bool IsBcd(unsigned char byte) { return (byte >> 4) <= 9 && (byte & 0x0F) <= 9; }

bool AllBcd(const std::string& bytes, std::size_t first, std::size_t count) {
  for (std::size_t i = first; i < first + count; ++i)
    if (!IsBcd(ByteAt(bytes, i))) return false;
  return true;
}

// After the answer's FD: nothing, or the start of the next frame.
bool EndsCleanly(const std::string& reply, std::size_t after) {
  return after >= reply.size() || ByteAt(reply, after) == kPreamble;
}

bool RecordIsWellFormed(const std::string& record) {
  const unsigned char select = ByteAt(record, kSelect);
  return (select == 0 || select == 1) && AllBcd(record, kFrequency, 5) &&
         ModeText(ByteAt(record, kMode)).has_value() &&
         FilterText(ByteAt(record, kFilter)).has_value() && AllBcd(record, kTone, kToneLength);
}

}  // namespace

std::string MemoryChannelCode(int channel) {
  if (channel == 100) return std::string("\x01\x00", 2);
  if (channel == 101) return std::string("\x01\x01", 2);
  const int units = channel % 10;
  const int tens = (channel / 10) % 10;
  return std::string{'\x00', static_cast<char>(tens << 4 | units)};
}

std::string MemoryReadFrame(int channel) {
  return std::string("\xFE\xFE\x64\xE0\x1A\x00", 6) + MemoryChannelCode(channel) + "\xFD";
}

MemoryAnswer CheckMemoryAnswer(const std::string& reply, std::size_t answerAt, int channel) {
  MemoryAnswer answer;
  if (answerAt >= reply.size()) return answer;  // silent
  answer.kind = MemoryAnswer::Kind::Malformed;
  const std::string header{
      static_cast<char>(kPreamble),       static_cast<char>(kPreamble),
      static_cast<char>(kController),     static_cast<char>(kRig),
      static_cast<char>(kMemoryContents), static_cast<char>(kMemorySubCommand)};
  if (reply.compare(answerAt, kHeaderLength, header) != 0) return answer;
  const std::size_t codeAt = answerAt + kHeaderLength;
  if (reply.compare(codeAt, 2, MemoryChannelCode(channel)) != 0) return answer;
  const std::size_t afterCode = codeAt + 2;
  // A blank channel: FF and the end.
  if (afterCode + 1 < reply.size() && ByteAt(reply, afterCode) == kNoData &&
      ByteAt(reply, afterCode + 1) == kEnd && EndsCleanly(reply, afterCode + 2)) {
    answer.kind = MemoryAnswer::Kind::Blank;
    return answer;
  }
  const std::size_t endAt = codeAt + kMemoryRecordLength;
  if (endAt >= reply.size() || ByteAt(reply, endAt) != kEnd || !EndsCleanly(reply, endAt + 1))
    return answer;
  std::string record = reply.substr(codeAt, kMemoryRecordLength);
  if (!RecordIsWellFormed(record)) return answer;
  answer.kind = MemoryAnswer::Kind::Filled;
  answer.record = std::move(record);
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
