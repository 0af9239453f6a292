// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One CI-V frame: FE FE, receiver address, sender address, command, data, FD.
//
// The simulator is the other end of the wire and keeps its own encoding of the protocol,
// written from the transceiver's side and independent of the control program's (civ/): a test
// that runs the program against it checks the program's encodings, not a copy of them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin::sim {

inline constexpr char kPreamble = static_cast<char>(0xFE);
inline constexpr char kEndOfMessage = static_cast<char>(0xFD);
inline constexpr std::uint8_t kRigAddress = 0x64;
inline constexpr std::uint8_t kControllerAddress = 0xE0;
inline constexpr std::uint8_t kBroadcastAddress = 0x00;
inline constexpr char kAccepted = static_cast<char>(0xFB);
inline constexpr char kRefused = static_cast<char>(0xFA);

struct Frame {
  std::uint8_t to = 0;
  std::uint8_t from = 0;
  std::uint8_t command = 0;
  std::string data;  // everything between the command and FD (sub-command included)
};

// A complete frame FE FE to from command [data] FD; nothing for anything else (too short, no
// end byte, an FE or FD inside).
std::optional<Frame> ParseFrame(std::string_view bytes);
// FE FE to from command data FD.
std::string BuildFrame(std::uint8_t to, std::uint8_t from, std::uint8_t command,
                       std::string_view data);

}  // namespace tavrin::sim
