// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pseudo-terminal a controller opens as its serial port: raw, no echo of its own (the
// simulated bus does the echoing), linked under a chosen name in the working directory.
#include <string>

namespace tavrin::rigsim {

class PtyLine {
 public:
  PtyLine() = default;
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  // Opens the master side and makes the line raw; false with `error` set on failure.
  bool Open(std::string& error);
  // Points `name` at the slave. An existing symbolic link is replaced only when it leads to a
  // pseudo-terminal (a simulator's line, maybe an earlier run's) or to a pulled line's name:
  // never one that leads to a real device (the user's "com1 -> /dev/ttyUSB0"), nor a file.
  bool Link(const std::string& name, std::string& error);
  // Whether a link target is a simulator's line: a pseudo-terminal or a pulled line's name.
  static bool IsSimulatorLine(const std::string& target);
  // Removes the link if it still points at this line.
  void Unlink();
  // The line goes away as a pulled cable's device does: the master side is closed, so that
  // the program holding the slave sees a hang-up, and the link is left pointing at a device
  // that is not there (as /dev/serial links do; a missing link would send the program to the
  // machine's own first serial port). Open and Link make a new line behind the same name.
  void Hangup();
  // The line and its link go.
  void Close();

  [[nodiscard]] int MasterFd() const { return master_; }
  [[nodiscard]] const std::string& SlavePath() const { return slavePath_; }
  // True while a program holds the slave side open.
  [[nodiscard]] bool ControllerAttached() const;

 private:
  int master_ = -1;
  std::string slavePath_;
  std::string link_;
  std::string pulledTarget_;  // where the link points while the cable is out
};

}  // namespace tavrin::rigsim
