// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as a CHIRP CSV data file. Every record goes through the
// reader; a record it accepts must pass the text data file's upload check, hold values of the
// forms the memory-set command takes, and come back the same when the program writes it and
// reads it again. Then the file is the data file in use and runs through "View File" and
// "Update Rig" to their end on a port that swallows what is sent: a record the reader accepts
// is never refused by the memory-set command, and nothing of the file ends the program.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/control_program.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/silent_serial.h"
#include "memory/chirp_csv.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"

namespace {

using namespace tavrin;

std::string WithoutTrailingBlanks(std::string text) {
  text.erase(std::min(text.find_last_not_of(' ') + 1, text.size()));
  return text;
}

bool AllDigits(const std::string& text) {
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

void CheckStored(const ChirpCsvRecord& record) {
  const ParsedDataLine& p = record.parsed;
  fuzz::Check(UploadProblem(p).empty());
  fuzz::Check(p.MemFrequencyDigits.size() == 6 && AllDigits(p.MemFrequencyDigits));
  fuzz::Check(AllDigits(p.MemChannelText) && !p.MemChannelText.empty() &&
              p.MemChannelText.size() <= 3);
  const int channel = std::stoi(p.MemChannelText);
  fuzz::Check(channel >= 1 && channel <= 101);
  fuzz::Check(p.MemSelectedText == "0" || (p.MemSelectedText == "1" && channel <= 99));
  fuzz::Check(p.MemLabelText.size() <= 10);
  fuzz::Check(record.shown.Text5 == "Fil " + p.MemFilterText);
  // Written as "Create File" writes it and read again: the same values.
  const std::string line =
      ChirpCsvChannelLine(channel, record.shown.Text3, p.MemModeText, record.shown.Text5,
                          p.MemSelectedText == "1" ? "*" : " ", p.MemLabelText);
  const std::vector<ChirpCsvRecord> again =
      ReadChirpCsv(std::string(kChirpCsvHeader) + "\r\n" + line + "\r\n");
  fuzz::Check(again.size() == 2 && again[1].problem.empty());
  const ParsedDataLine& q = again[1].parsed;
  fuzz::Check(q.MemChannelText == p.MemChannelText);
  fuzz::Check(q.MemFrequencyDigits == p.MemFrequencyDigits);
  fuzz::Check(q.MemModeText == p.MemModeText && q.MemFilterText == p.MemFilterText);
  fuzz::Check(q.MemSelectedText == p.MemSelectedText);
  fuzz::Check(q.MemLabelText == WithoutTrailingBlanks(p.MemLabelText));
}

const std::filesystem::path& WorkDirectory() {
  static const fuzz::ScratchDirectory scratch("chirp-csv-fuzz");
  return scratch.Path();
}

void RunThroughTheWindow(const std::string& bytes) {
  {
    std::ofstream out(WorkDirectory() / "LIST.CSV", std::ios::binary | std::ios::trunc);
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
  std::string name = "LIST.CSV";
  fuzz::Check(program.dataFile.OpenDataFile(name, "Input"));

  MemoryMain& memory = program.memory;
  const std::size_t steps = bytes.size() + 2;
  memory.ViewFile();
  for (std::size_t i = 0; i < steps && memory.Runs("View File"); ++i) clock.Advance(500);
  fuzz::Check(!memory.Runs("View File"));

  desktop.AnswerYes();
  memory.UpdateRig();
  fuzz::Check(memory.Runs("Update Rig"));
  for (std::size_t i = 0; i < steps && memory.Runs("Update Rig"); ++i) {
    program.radio.LastRefusal.clear();
    clock.Advance(200);
    fuzz::Check(program.radio.LastRefusal.empty());
    fuzz::Check(!program.station.Ended && !desktop.ended);
  }
  fuzz::Check(!memory.Runs("Update Rig"));
  program.CloseDataFile();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<ChirpCsvRecord> records = ReadChirpCsv(bytes);
  std::size_t lines = 1;
  for (const char c : bytes) lines += c == '\n' ? 1 : 0;
  fuzz::Check(records.size() <= lines);
  for (const ChirpCsvRecord& record : records) {
    fuzz::Check(record.text.size() <= bytes.size());
    if (record.parsed.kind != DataLineKind::Channel) {
      fuzz::Check(record.problem.empty() && record.note.empty());
      continue;
    }
    if (record.problem.empty()) {
      CheckStored(record);
    } else {
      fuzz::Check(record.note.empty());
    }
  }
  RunThroughTheWindow(bytes);
  return 0;
}
