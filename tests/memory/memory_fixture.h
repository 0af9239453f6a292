#pragma once
// The control program started on the in-process transceiver, with helpers for the memory
// window's tests.
#include <string>
#include <vector>

#include "support/program_fixture.h"

namespace tavrin::testing {

class MemoryFixture : public ProgramFixture {
 protected:
  // Starts the program with KESTRA.TXT as the data file and forgets the start-up's frames
  // and boxes.
  ControlProgram& StartProgram(Build build = Build::Tavrin) {
    WriteConfig();
    ControlProgram& p = Start(build);
    ClearSent();
    desktop.boxes.clear();
    return p;
  }
  MemoryMain& Memory() { return program->memory; }
  Station& State() { return program->station; }

  // Frames sent since the last ClearSent whose command bytes (after FE FE 64 E0) begin with
  // `head`.
  [[nodiscard]] std::vector<std::string> SentStartingWith(const std::string& head) const {
    std::vector<std::string> found;
    for (const std::string& frame : Sent())
      if (frame.compare(4, head.size(), head) == 0) found.push_back(frame);
    return found;
  }
};

}  // namespace tavrin::testing
