// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the memory commands work with when their values are given rather than asked: the six
// values of a memory channel as an operator types them or a data file line gives them, and
// what became of the command.
#include <string>

namespace tavrin {

struct MemoryValues {
  std::string channel;    // "7", "7 " (a blank after a one-digit number is harmless), "100"
  std::string frequency;  // MMkkk or MmKkCc digits, or the frequency as the window shows it
  std::string mode;       // a mode word, any case: "usb", "CWr"
  std::string filter;     // "1", "2" or "3"
  std::string selected;   // "1" selected, anything else not
  std::string label;      // up to ten characters
};

struct MemoryCommandResult {
  // Why the command sent nothing (a missing value, one with no byte form, an unknown mode word
  // or filter); empty when it sent its frames.
  std::string refusal;
  // For a memory write: the 27-byte record sent.
  std::string record;
  [[nodiscard]] bool Sent() const { return refusal.empty(); }
};

// After a memory channel has been selected: read it back, or clear it.
enum class AfterSelect { Read, Clear };

}  // namespace tavrin
