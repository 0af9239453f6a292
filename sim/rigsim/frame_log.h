// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// rigsim --log FILE: every frame the controller sends, as it reaches the transceiver, written
// to FILE in hex, one frame a line ("FE FE 64 E0 03 FD"), so that a test or a person can see
// what a control program said on the bus.
#include <cstdio>
#include <string>

namespace tavrin::rigsim {

class FrameLog {
 public:
  FrameLog() = default;
  ~FrameLog();
  FrameLog(const FrameLog&) = delete;
  FrameLog& operator=(const FrameLog&) = delete;

  // Creates or empties the file; false with `error` set when it cannot be written.
  bool Open(const std::string& path, std::string& error);
  // Bytes as the controller wrote them; each frame completed by its FD is written at once.
  void Add(const std::string& bytes);

 private:
  std::FILE* file_ = nullptr;
  std::string pending_;
};

}  // namespace tavrin::rigsim
