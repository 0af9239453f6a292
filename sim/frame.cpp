// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/frame.h"

namespace tavrin::sim {

std::optional<Frame> ParseFrame(std::string_view bytes) {
  // FE FE to from command FD is the shortest frame.
  if (bytes.size() < 6) return std::nullopt;
  if (bytes[0] != kPreamble || bytes[1] != kPreamble || bytes.back() != kEndOfMessage) {
    return std::nullopt;
  }
  const std::string_view inside = bytes.substr(2, bytes.size() - 3);
  for (char c : inside) {
    if (c == kPreamble || c == kEndOfMessage) return std::nullopt;
  }
  Frame frame;
  frame.to = static_cast<std::uint8_t>(inside[0]);
  frame.from = static_cast<std::uint8_t>(inside[1]);
  frame.command = static_cast<std::uint8_t>(inside[2]);
  frame.data = std::string(inside.substr(3));
  return frame;
}

std::string BuildFrame(std::uint8_t to, std::uint8_t from, std::uint8_t command,
                       std::string_view data) {
  std::string bytes{kPreamble, kPreamble, static_cast<char>(to), static_cast<char>(from),
                    static_cast<char>(command)};
  bytes.append(data);
  bytes.push_back(kEndOfMessage);
  return bytes;
}

}  // namespace tavrin::sim
