// SPDX-License-Identifier: GPL-3.0-or-later
// The suite's CHIRP CSV writer and reader as a small program, for the test that hands their
// files to CHIRP's own code and back.
//
//   chirp_csv_probe write FILE   channels from standard input, one a line, fields separated by
//                                tabs: channel, frequency as the memory window shows it
//                                (14.195.0), mode, filter (Fil 2), select mark (* or blank),
//                                label; FILE gets the header and a line for each
//   chirp_csv_probe read FILE    every record of FILE that holds a channel, one a line:
//                                channel, frequency digits, mode, filter, selected (1 or 0),
//                                label, separated by tabs; "skip", a tab and the reason for a
//                                record that cannot be stored; "note", a tab and the note
//                                after a record that has one
//
// Texts are the program's single-byte letters (Latin-1) on both sides.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "memory/chirp_csv.h"

namespace {

using namespace tavrin;

std::vector<std::string> TabFields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (const char c : line) {
    if (c == '\t') {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  return fields;
}

int WriteFile(const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << kChirpCsvHeader << "\r\n";
  std::string line;
  while (std::getline(std::cin, line)) {
    const std::vector<std::string> f = TabFields(line);
    if (f.size() != 6) {
      std::cerr << "a channel needs six fields: " << line << "\n";
      return 2;
    }
    out << ChirpCsvChannelLine(std::stol(f[0]), f[1], f[2], f[3], f[4], f[5]) << "\r\n";
  }
  out.flush();
  return out ? 0 : 1;
}

int ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "cannot open " << path << "\n";
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const ChirpCsvRecord& record : ReadChirpCsv(bytes)) {
    if (record.parsed.kind != DataLineKind::Channel) continue;
    if (!record.problem.empty()) {
      std::cout << "skip\t" << record.problem << "\n";
      continue;
    }
    const ParsedDataLine& p = record.parsed;
    std::cout << p.MemChannelText << "\t" << p.MemFrequencyDigits << "\t" << p.MemModeText << "\t"
              << p.MemFilterText << "\t" << p.MemSelectedText << "\t" << p.MemLabelText << "\n";
    if (!record.note.empty()) std::cout << "note\t" << record.note << "\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "write") return WriteFile(args[1]);
  if (args.size() == 2 && args[0] == "read") return ReadFile(args[1]);
  std::cerr << "usage: chirp_csv_probe write|read FILE\n";
  return 2;
}
