// SPDX-License-Identifier: GPL-3.0-or-later
// How long the memory window takes to open a data file and show its first line, and what it
// costs in memory, for files from a normal backup (101 channels) to one far larger than any
// station keeps (200 MB of channel lines): the file is read a line at a time, so neither the
// time nor the memory may grow with the file.
//   cmake -S . -B build-bench -DSTATION_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target data_file_bench && build-bench/bin/data_file_bench
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/control_program.h"
#include "fuzz/silent_serial.h"
#include "memory/data_file.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"

namespace {

using namespace tavrin;
namespace fs = std::filesystem;

// A data file of `bytes` (about) of channel lines, made once per size in the temporary folder.
fs::path DataFileOf(std::int64_t bytes) {
  const fs::path path = fs::temp_directory_path() / ("data-file-bench-" + std::to_string(getpid()) +
                                                     "-" + std::to_string(bytes) + ".TXT");
  if (fs::exists(path)) return path;
  const std::string line =
      " 7            07.050.0      LSB           Fil 2                       NET\r\n";
  std::ofstream out(path, std::ios::binary);
  for (std::int64_t written = 0; written < bytes; written += static_cast<std::int64_t>(line.size()))
    out << line;
  return path;
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void OpenDataFileAndShowFirstLine(benchmark::State& state) {
  const fs::path path = DataFileOf(state.range(0));
  VirtualClock clock;
  FakeDesktop desktop;
  SilentSerial serial;
  Files files(path.parent_path().string());
  Platform platform{desktop, clock, serial, files};
  ControlProgram program(platform);
  program.InitFlags();
  program.InitFrameStrings();
  std::string name = path.filename().string();
  if (!program.dataFile.OpenDataFile(name, "Input")) state.SkipWithError("not opened");
  program.CloseDataFile();
  const double before = PeakMegabytes();
  for (auto _ : state) {
    // "View File" opens the data file again and its first step shows the first line.
    program.memory.ViewFile();
    clock.Advance(500);
    benchmark::DoNotOptimize(program.memory.Text7);
    program.memory.ClearStop();
  }
  state.counters["file_MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
  state.counters["peak_growth_MB"] = PeakMegabytes() - before;
  fs::remove(path);
}
BENCHMARK(OpenDataFileAndShowFirstLine)
    ->Arg(101 * 76)
    ->Arg(200'000'000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
