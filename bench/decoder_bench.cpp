// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the program turns what the transceiver sends into window text, and how long a
// decoded answer waits on the line: the reply timer reads 50 ms after the send, so the wait
// from the last answer byte to the decoded field is what is left of those 50 ms.
//   cmake -S . -B build-bench -DSTATION_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target decoder_bench && build-bench/bin/decoder_bench
#include <benchmark/benchmark.h>

#include <string>

#include "app/control_program.h"
#include "memory/data_file.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"
#include "sim/hex.h"
#include "sim/sim_serial.h"
#include "sim/transceiver.h"

namespace {

using namespace tavrin;

// A control program on the in-process transceiver with its port open.
struct Bench {
  VirtualClock clock;
  FakeDesktop desktop;
  Files files{"/tmp"};
  sim::Transceiver rig;
  SimSerial serial{clock, rig};
  Platform platform{desktop, clock, serial, files};
  ControlProgram program{platform};

  Bench() {
    program.InitFrameStrings();
    serial.SetCommPort(1);
    serial.SetSettings("19200,N,8,1");
    serial.Open();
    program.station.PortOpened = 1;
  }
};

void DecodeMemoryRead(benchmark::State& state) {
  Bench bench;
  // Echo of 1A 00 00 07, then channel 7's contents.
  const std::string reply = sim::FromHex(
      "FE FE 64 E0 1A 00 00 07 FD FE FE E0 64 1A 00 00 07 01 00 00 05 07 00 00 02 00 00 08 85 "
      "00 08 85 4E 45 54 20 20 20 20 20 20 20 FD");
  for (auto _ : state) {
    bench.program.decoder.DecodeReply(reply);
    benchmark::DoNotOptimize(bench.program.radio.Text1);
  }
}
BENCHMARK(DecodeMemoryRead);

void ParseChannelLine(benchmark::State& state) {
  const std::string line =
      " 7            07.050.0      LSB           Fil 2                       NET";
  for (auto _ : state) benchmark::DoNotOptimize(ParseDataLine(line));
}
BENCHMARK(ParseChannelLine);

// Virtual time from the last byte of the frequency answer reaching the input to the frequency
// field being written, for each line speed the setup window offers.
void AnswerToField(benchmark::State& state) {
  const int baud = static_cast<int>(state.range(0));
  double waitedMs = 0;
  for (auto _ : state) {
    Bench bench;
    bench.serial.Close();
    bench.serial.SetSettings(std::to_string(baud) + ",N,8,1");
    bench.serial.Open();
    std::int64_t lastByte = 0;
    bench.serial.OnInput([&] { lastByte = bench.clock.NowMicros(); });
    bench.program.radio.Text1.clear();
    bench.program.radio.OpFq();
    std::int64_t decoded = -1;
    for (int step = 0; step < 200 && decoded < 0; ++step) {
      bench.clock.AdvanceMicros(500);
      if (!bench.program.radio.Text1.empty()) decoded = bench.clock.NowMicros();
    }
    waitedMs = decoded < 0 ? -1 : static_cast<double>(decoded - lastByte) / 1000.0;
  }
  state.counters["last_byte_to_field_ms"] = waitedMs;
}
BENCHMARK(AnswerToField)->Arg(19200)->Arg(9600)->Arg(4800)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
