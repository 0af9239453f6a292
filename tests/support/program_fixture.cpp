// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/program_fixture.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace tavrin::testing {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values) bytes += static_cast<char>(v);
  return bytes;
}

std::string Frame(std::initializer_list<int> command) {
  return Bytes({0xFE, 0xFE, 0x64, 0xE0}) + Bytes(command) + Bytes({0xFD});
}

std::ostream& operator<<(std::ostream& out, const Settings& s) {
  return out << s.deftFile << " | " << s.callSign << " | " << s.commPort << " | " << s.commBaud;
}

Settings SettingsOf(const Station& station) {
  return {station.DeftFile, station.CallSign, station.CommPort, station.CommBaud};
}

void Apply(const Settings& settings, Station& station) {
  station.DeftFile = settings.deftFile;
  station.CallSign = settings.callSign;
  station.CommPort = settings.commPort;
  station.CommBaud = settings.commBaud;
}

std::string IniText(const Settings& s) {
  return "KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] " + s.deftFile +
         "\r\n[CallSign] " + s.callSign + "\r\n[CommPort] " + s.commPort + "\r\n[CommBaud] " +
         s.commBaud + "\r\n \r\nEND\r\n";
}

std::vector<std::string> BoxTexts(const FakeDesktop& desktop) {
  std::vector<std::string> texts;
  for (const RecordedBox& box : desktop.boxes) texts.push_back(box.title + ": " + box.text);
  return texts;
}

std::string PortState(const SerialControl& serial) {
  if (!serial.PortOpen()) return "closed";
  return "COM" + std::to_string(serial.CommPort()) + " " + serial.Settings();
}

namespace {

std::filesystem::path MakeDirectory() {
  static std::atomic<int> counter{0};
  const auto path =
      std::filesystem::temp_directory_path() /
      ("station-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path;
}

}  // namespace

ProgramFixture::ProgramFixture()
    : directory(MakeDirectory()),
      files(directory.string()),
      serial(clock, rig),
      devices(clock, DeviceFolders{(directory / "machine" / "dev").string(),
                                   (directory / "machine" / "sys").string(), ""}),
      platform{desktop, clock, serial, files, &devices} {}

ProgramFixture::~ProgramFixture() {
  program.reset();
  std::error_code ec;
  std::filesystem::remove_all(directory, ec);
}

void ProgramFixture::WriteConfig(const std::string& deftFile, const std::string& callSign,
                                 const std::string& commPort, const std::string& commBaud) {
  WriteFile("KESTRA.INI", "KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] " + deftFile +
                              "\r\n[CallSign] " + callSign + "\r\n[CommPort] " + commPort +
                              "\r\n[CommBaud] " + commBaud + "\r\n \r\nEND\r\n");
  if (!std::filesystem::exists(directory / deftFile) && deftFile.find('/') == std::string::npos)
    WriteFile(deftFile, "");
}

void ProgramFixture::WriteFile(const std::string& name, const std::string& contents) {
  std::ofstream out(directory / name, std::ios::binary | std::ios::trunc);
  out << contents;
}

std::string ProgramFixture::ReadFile(const std::string& name) const {
  std::ifstream in(directory / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ProgramFixture::PathOf(const std::string& name) const {
  return (directory / name).string();
}

ControlProgram& ProgramFixture::Program(Build build) {
  if (!program) program = std::make_unique<ControlProgram>(platform, build);
  return *program;
}

ControlProgram& ProgramFixture::Start(Build build, int settleMs) {
  ControlProgram& p = Program(build);
  p.Begin();
  p.splash.Continue();
  clock.Advance(settleMs);
  return p;
}

std::vector<std::string> ProgramFixture::Sent() const { return serial.SentFrameBytes(); }

void ProgramFixture::ClearSent() { serial.ClearSentFrames(); }

}  // namespace tavrin::testing
