// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as a memory data file. Every line goes through the parser,
// the upload check and the window display; then the whole file is opened as the data file and
// run through "View File" and "Update Rig" to their end on a port that swallows what is sent.
// A line that the upload check passes must be stored by the memory-set command without a
// refusal and without ending the program.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/control_program.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/silent_serial.h"
#include "memory/data_file.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"

namespace {

using namespace tavrin;

const std::filesystem::path& WorkDirectory() {
  static const fuzz::ScratchDirectory scratch("data-file-fuzz");
  return scratch.Path();
}

void CheckLines(const std::string& bytes) {
  TextInput input(bytes);
  while (!input.AtEnd()) {
    const std::string line = input.ReadLine();
    const ParsedDataLine parsed = ParseDataLine(line);
    const std::string problem = UploadProblem(parsed);
    const DataLineDisplay shown = DisplayDataLine(line);
    fuzz::Check(shown.Text7 == line && shown.Text1.size() <= 3 && shown.Text6.size() <= 12);
    fuzz::Check(parsed.MemLabelText.size() <= 10);
    if (parsed.kind == DataLineKind::Channel && problem.empty()) {
      // What the program itself would write for these values reads back the same (it writes
      // the channel number as " 7", whatever blanks stood before it in the line read).
      const std::string channel = parsed.MemChannelText.substr(
          std::min(parsed.MemChannelText.find_first_not_of(' '), parsed.MemChannelText.size()));
      const std::vector<DataField> fields = {
          DataField::OfText(" " + channel),
          DataField::OfText(parsed.MemFrequencyDigits),
          DataField::OfText(parsed.MemModeText),
          DataField::OfText("Fil " + parsed.MemFilterText),
          DataField::OfText(parsed.MemSelectedText == "1" ? "Yes" : ""),
          DataField::OfText(parsed.MemLabelText)};
      const ParsedDataLine again = ParseDataLine(FormatDataLine(fields));
      fuzz::Check(again.MemModeText == parsed.MemModeText);
      fuzz::Check(again.MemFilterText == parsed.MemFilterText);
      fuzz::Check(again.MemSelectedText == parsed.MemSelectedText);
    }
  }
}

void RunThroughTheWindow(const std::string& bytes) {
  const std::filesystem::path file = WorkDirectory() / "KESTRA.TXT";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  VirtualClock clock;
  FakeDesktop desktop;
  SilentSerial serial;
  Files files(WorkDirectory().string());
  Platform platform{desktop, clock, serial, files};
  ControlProgram program(platform);
  program.InitFlags();
  program.InitFrameStrings();
  program.station.PortOpened = 1;
  std::string name = "KESTRA.TXT";
  if (!program.dataFile.OpenDataFile(name, "Input")) __builtin_trap();

  Station& s = program.station;
  MemoryMain& memory = program.memory;
  const std::size_t steps = bytes.size() + 2;
  memory.ViewFile();
  for (std::size_t i = 0; i < steps && memory.Runs("View File"); ++i) clock.Advance(500);
  if (memory.Runs("View File")) __builtin_trap();

  desktop.AnswerYes();
  memory.UpdateRig();
  if (!memory.Runs("Update Rig")) __builtin_trap();
  for (std::size_t i = 0; i < steps && memory.Runs("Update Rig"); ++i) {
    program.radio.LastRefusal.clear();
    clock.Advance(200);
    // A line the check passed is never refused by the memory-set command, and nothing of a
    // data file ends the program.
    if (!program.radio.LastRefusal.empty()) __builtin_trap();
    if (s.Ended || desktop.ended) __builtin_trap();
  }
  if (memory.Runs("Update Rig")) __builtin_trap();
  program.CloseDataFile();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckLines(bytes);
  RunThroughTheWindow(bytes);
  return 0;
}
