// SPDX-License-Identifier: GPL-3.0-or-later
// "Update Rig" and "Create File" of 99 channels against rigsim at 19200, 9600 and 4800 baud,
// each time set beside the wire time of the bytes it moved, measured in one run:
//   build-bench/bin/memory_transfer_bench [baud ...]
// The control program runs in this process on the Qt platform layer, as in tavrin: its timers
// are QTimers, its serial port is rigsim's pseudo-terminal behind com1, its data file is a file
// in a temporary folder. Only the message boxes are scripted (Yes to "Are you sure?"); the
// memory window's operations run as the buttons start them. rigsim keeps the line's byte time
// and answers as a transceiver does, once the controller has gone quiet.
//
// The wire time is the bytes on the line times the bits of a byte over the speed; the bytes on
// the line are those the program reads back from it: its own frames (the bus echoes them) and
// the transceiver's answers. "Update Rig" loads a file of 99 channels laid out as "Create File"
// writes it (head and tail lines included); "Create File" then reads the channels back, and the
// file it writes must be that file again, byte for byte.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/control_program.h"
#include "bench/child_process.h"
#include "memory/data_line.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_serial.h"
#include "platform/qt/view_hub.h"
#include "platform/serial_settings.h"

namespace {

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;
using tavrin::DataField;
using tavrin::bench::Spawn;
using tavrin::bench::Stop;

constexpr int kChannels = 99;

// Runs the event loop until `done` holds (looked at every millisecond) or `seconds` pass.
bool RunUntil(const std::function<bool()>& done, int seconds) {
  const auto until = SteadyClock::now() + std::chrono::seconds(seconds);
  QEventLoop loop;
  QTimer poll;
  poll.setTimerType(Qt::PreciseTimer);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done() || SteadyClock::now() > until) loop.quit();
  });
  poll.start(1);
  if (!done()) loop.exec();
  return done();
}

// The serial port, counting what the program reads from the line.
class CountingSerial : public tavrin::SerialControl {
 public:
  explicit CountingSerial(tavrin::SerialControl& port) : port_(port) {}
  void SetCommPort(int portNumber) override { port_.SetCommPort(portNumber); }
  [[nodiscard]] int CommPort() const override { return port_.CommPort(); }
  void SetSettings(const std::string& settings) override { port_.SetSettings(settings); }
  [[nodiscard]] std::string Settings() const override { return port_.Settings(); }
  void SetInputLen(int length) override { port_.SetInputLen(length); }
  [[nodiscard]] bool PortOpen() const override { return port_.PortOpen(); }
  tavrin::PortError Open() override { return port_.Open(); }
  void Close() override { port_.Close(); }
  void Output(const std::string& bytes) override { port_.Output(bytes); }
  std::string Input() override {
    std::string bytes = port_.Input();
    lineBytes += bytes.size();
    return bytes;
  }
  void OnInput(std::function<void()> handler) override { port_.OnInput(std::move(handler)); }
  void OnGone(std::function<void()> handler) override { port_.OnGone(std::move(handler)); }
  [[nodiscard]] bool DevicePresent(int portNumber) const override {
    return port_.DevicePresent(portNumber);
  }
  std::size_t lineBytes = 0;

 private:
  tavrin::SerialControl& port_;
};

// A data file of 99 channels as "Create File" lays it out: every mode, filter and select mark,
// frequencies across the bands.
std::string NinetyNineChannels() {
  static const char* const kModes[] = {"LSB", "USB", "AM", "CW", "RTTY", "FM", "CWr", "RTTYr"};
  std::vector<std::vector<DataField>> lines = {
      tavrin::DataFileTitleFields("KESTRA.TXT"), tavrin::DataFileEmptyFields(),
      tavrin::DataFileHeaderFields(), tavrin::DataFileEmptyFields()};
  for (int n = 1; n <= kChannels; ++n) {
    char frequency[16];
    std::snprintf(frequency, sizeof frequency, "%02d.%03d.%d", 1 + n % 29, (n * 37) % 1000, n % 10);
    lines.push_back(tavrin::DataFileChannelFields(
        n, frequency, kModes[n % 8], "Fil " + std::to_string(1 + n % 3), n % 4 == 0 ? "*" : " ",
        "CH " + std::to_string(n)));
  }
  for (const auto& fields : {tavrin::DataFileEmptyFields(), tavrin::DataFileHeaderFields(),
                             tavrin::DataFileEmptyFields(), tavrin::DataFileEndFields()})
    lines.push_back(fields);
  std::string file;
  for (const auto& fields : lines) file += tavrin::FormatDataLine(fields) + "\r\n";
  return file;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Measured {
  double seconds = -1;
  std::size_t lineBytes = 0;
};

// Runs the operation a button starts, answering Yes, until it has ended.
Measured Run(tavrin::ControlProgram& program, tavrin::FakeDesktop& desktop, CountingSerial& serial,
             const std::string& title, void (tavrin::MemoryMain::*button)()) {
  // Nothing left over on the line from what came before.
  RunUntil([] { return false; }, 1);
  serial.lineBytes = 0;
  desktop.AnswerYes();
  const auto start = SteadyClock::now();
  (program.memory.*button)();
  if (!program.memory.Runs(title)) return {};
  if (!RunUntil([&] { return !program.memory.Runs(title); }, 120)) return {};
  const double seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
  return {seconds, serial.lineBytes};
}

void Report(const char* what, int baud, const Measured& measured, int bitsPerByte) {
  const double wire = static_cast<double>(measured.lineBytes) * bitsPerByte / baud;
  std::printf(
      "  %-12s %6d baud  %7.2f s   %6zu bytes on the line, wire time %6.2f s   ratio %.2f\n", what,
      baud, measured.seconds, measured.lineBytes, wire, wire > 0 ? measured.seconds / wire : 0.0);
}

// One speed: rigsim and the program on it; false when something did not work.
bool MeasureAt(int baud, const std::string& rigsim, bool& goalMet) {
  const fs::path directory =
      fs::temp_directory_path() /
      ("memory-transfer-bench-" + std::to_string(getpid()) + "-" + std::to_string(baud));
  fs::create_directories(directory);
  const std::string settings = std::to_string(baud) + ",N,8,1";
  const std::string channels = NinetyNineChannels();
  {
    std::ofstream ini(directory / "KESTRA.INI", std::ios::binary);
    ini << "KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] KESTRA.TXT\r\n[CallSign] "
           "N0CALL\r\n[CommPort] COM1\r\n[CommBaud] "
        << settings << "\r\n \r\nEND\r\n";
    std::ofstream(directory / "KESTRA.TXT", std::ios::binary) << channels;
  }
  const pid_t rig = Spawn({rigsim, "--headless", "--baud", std::to_string(baud)}, directory);
  RunUntil([&] { return fs::is_symlink(directory / "com1"); }, 10);
  const fs::path before = fs::current_path();
  fs::current_path(directory);
  bool ok = false;
  {
    tavrin::Files files(directory.string());
    tavrin::QtSerial port(files);
    CountingSerial serial(port);
    tavrin::ViewHub hub;
    tavrin::QtClock clock(hub);
    tavrin::FakeDesktop desktop;
    tavrin::Platform platform{desktop, clock, serial, files};
    tavrin::ControlProgram program(platform);
    // The splash's end: the radio window loads and runs the start-up and its synchronisation.
    program.radio.Load();
    const bool synchronised = RunUntil([&] { return program.station.SyncStep == 0; }, 10) &&
                              program.station.PortOpened == 1 && !program.station.AwaitingRadio &&
                              !desktop.ended;
    if (!synchronised) {
      std::printf("memory_transfer_bench: no transceiver at %d baud\n", baud);
    } else {
      const int bits = tavrin::ParseSerialSettings(settings)->BitsPerByte();
      const Measured update =
          Run(program, desktop, serial, "Update Rig", &tavrin::MemoryMain::UpdateRig);
      const Measured create =
          Run(program, desktop, serial, "Create File", &tavrin::MemoryMain::CreateFile);
      Report("Update Rig", baud, update, bits);
      Report("Create File", baud, create, bits);
      const std::string written = ReadFile(directory / "KESTRA.TXT");
      if (written == channels) {
        std::printf("  the file Create File wrote is the file Update Rig loaded, byte for byte\n");
      } else {
        // A memory read whose answer does not fit the 50 ms reply window (at 9600 baud and
        // below) is asked once more at the end of the pass, then left out of the file.
        int lines = 0;
        for (std::size_t at = written.find("\r\n "); at != std::string::npos;
             at = written.find("\r\n ", at + 1))
          lines += at + 3 < written.size() && written[at + 3] >= '0' && written[at + 3] <= '9';
        std::printf("  the file Create File wrote holds %d of the %d channels\n", lines, kChannels);
      }
      ok = update.seconds > 0 && create.seconds > 0;
      if (ok && baud == 19200) {
        for (const Measured& m : {update, create})
          goalMet = goalMet && m.seconds <= 1.3 * static_cast<double>(m.lineBytes) * bits / baud;
      }
    }
  }
  fs::current_path(before);
  Stop(rig);
  fs::remove_all(directory);
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  std::vector<int> bauds;
  for (int i = 1; i < argc; ++i) bauds.push_back(std::atoi(argv[i]));
  if (bauds.empty()) bauds = {19200, 9600, 4800};
  const std::string rigsim = (fs::canonical("/proc/self/exe").parent_path() / "rigsim").string();
  std::printf("99 channels each way, the time from the click to the end beside the wire time:\n");
  bool ok = true;
  bool goalMet = true;
  for (const int baud : bauds) ok = MeasureAt(baud, rigsim, goalMet) && ok;
  std::printf("goal: at most 1.3 times the wire time at 19200 baud: %s\n",
              goalMet ? "met" : "not met");
  return ok ? 0 : 2;
}
