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
  // Points `name` at the slave, replacing an existing symbolic link (never another file).
  bool Link(const std::string& name, std::string& error);
  // Removes the link if it still points at this line.
  void Unlink();
  // The line goes away as a pulled cable's device does: the link is removed and the master
  // side closed, so that the program holding the slave sees a hang-up. Open and Link make a
  // new one.
  void Close();

  [[nodiscard]] int MasterFd() const { return master_; }
  [[nodiscard]] const std::string& SlavePath() const { return slavePath_; }
  // True while a program holds the slave side open.
  [[nodiscard]] bool ControllerAttached() const;

 private:
  int master_ = -1;
  std::string slavePath_;
  std::string link_;
};

}  // namespace tavrin::rigsim
