// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as a CHIRP CSV data file. Every record goes through the
// reader; a record it accepts must pass the text data file's upload check, hold values of the
// forms the memory-set command takes, and come back the same when the program writes it and
// reads it again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "memory/chirp_csv.h"

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
  return 0;
}
