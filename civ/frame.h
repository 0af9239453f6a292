// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CI-V frame: FE FE, the receiver's address, the sender's address, the command (and its
// sub-command and data), FD. Building one, taking one apart, and cutting a stream of bytes
// into frames.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::civ {

struct Frame {
  unsigned char to = 0;
  unsigned char from = 0;
  unsigned char command = 0;
  std::string data;  // everything between the command and FD (sub-command included)
};

// FE FE to from, the command bytes, FD.
std::string BuildFrame(unsigned char to, unsigned char from, std::string_view commandBytes);
// A frame from this controller to the transceiver: FE FE 64 E0, the command bytes, FD.
std::string ControllerFrame(std::string_view commandBytes);
// The head of a frame from the transceiver to this controller: FE FE E0 64.
const std::string& AnswerHead();

// A whole frame: FE FE, two addresses, a command, data without FE or FD, FD. Nothing for
// anything else.
std::optional<Frame> ParseFrame(std::string_view bytes);

// The bytes cut into frames, each up to and including its FD; bytes after the last FD form a
// last piece of their own.
std::vector<std::string_view> SplitFrames(std::string_view bytes);

// The first whole answer (a frame from the transceiver to this controller, up to its FD) that
// begins at or after `from`, read frame by frame past what is not one: a run of more than two
// FE in front of it is the line's noise, and the head of a cut frame (an FE before its FD)
// is skipped, so that no answer is made of the bytes of two frames.
std::optional<std::string_view> FindAnswer(std::string_view bytes, std::size_t from = 0);
// Whether a frame is the transceiver's bare "accepted" or "refused" (FE FE E0 64 FB FD or FA FD).
bool IsAcknowledgement(std::string_view frame);

}  // namespace tavrin::civ
