// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/frame.h"

#include "civ/command_bytes.h"

namespace tavrin::civ {

namespace {

constexpr char kPreambleChar = static_cast<char>(kPreamble);
constexpr char kEndChar = static_cast<char>(kEnd);
// FE FE to from command FD.
constexpr std::size_t kShortestFrame = 6;

}  // namespace

std::string BuildFrame(unsigned char to, unsigned char from, std::string_view commandBytes) {
  std::string frame{kPreambleChar, kPreambleChar, static_cast<char>(to), static_cast<char>(from)};
  frame.append(commandBytes);
  frame.push_back(kEndChar);
  return frame;
}

std::string ControllerFrame(std::string_view commandBytes) {
  return BuildFrame(kRigAddress, kControllerAddress, commandBytes);
}

const std::string& AnswerHead() {
  static const std::string head{kPreambleChar, kPreambleChar, static_cast<char>(kControllerAddress),
                                static_cast<char>(kRigAddress)};
  return head;
}

std::optional<Frame> ParseFrame(std::string_view bytes) {
  if (bytes.size() < kShortestFrame || bytes[0] != kPreambleChar || bytes[1] != kPreambleChar ||
      bytes.back() != kEndChar)
    return std::nullopt;
  const std::string_view inside = bytes.substr(2, bytes.size() - 3);
  for (const char c : inside)
    if (c == kPreambleChar || c == kEndChar) return std::nullopt;
  Frame frame;
  frame.to = static_cast<unsigned char>(inside[0]);
  frame.from = static_cast<unsigned char>(inside[1]);
  frame.command = static_cast<unsigned char>(inside[2]);
  frame.data = std::string(inside.substr(3));
  return frame;
}

std::vector<std::string_view> SplitFrames(std::string_view bytes) {
  std::vector<std::string_view> frames;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find(kEndChar, start);
    const std::size_t stop = end == std::string_view::npos ? bytes.size() : end + 1;
    frames.push_back(bytes.substr(start, stop - start));
    start = stop;
  }
  return frames;
}

std::optional<std::string_view> FindAnswer(std::string_view bytes, std::size_t from) {
  const std::string_view head = AnswerHead();
  std::size_t at = from;
  while ((at = bytes.find(std::string_view(head.data(), 2), at)) != std::string_view::npos) {
    while (at + 2 < bytes.size() && bytes[at + 2] == kPreambleChar) ++at;  // FE FE FE ...
    const std::size_t end = bytes.find(kEndChar, at);
    if (end == std::string_view::npos) return std::nullopt;
    // A frame carries no FE after its preamble: one before the FD is where a new frame began
    // and the one before it was cut. Bytes of two frames are never taken for one.
    const std::size_t inner = bytes.find(kPreambleChar, at + 2);
    if (inner < end) {
      at = inner;
      continue;
    }
    if (end - at >= head.size() && bytes.compare(at, head.size(), head) == 0)
      return bytes.substr(at, end - at + 1);
    at = end + 1;
  }
  return std::nullopt;
}

bool IsAcknowledgement(std::string_view frame) {
  if (frame.size() != kShortestFrame || frame.compare(0, AnswerHead().size(), AnswerHead()) != 0)
    return false;
  const auto code = static_cast<unsigned char>(frame[4]);
  return frame.back() == kEndChar && (code == kAccepted || code == kRefused);
}

}  // namespace tavrin::civ
