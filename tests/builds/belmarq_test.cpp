// SPDX-License-Identifier: GPL-3.0-or-later
// belmarq, the memory manager: its identity exchange with the transceiver at start-up, its
// file and rig operations on the memory window, and the radio window that only carries the
// port and the memory commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "sim/memory_channel.h"
#include "support/program_fixture.h"

namespace tavrin::testing {
namespace {

using sim::MemoryChannel;

// A serial line on which the test decides what comes back: after the identity query the next
// read returns `identityReply`; every other read returns nothing.
class ScriptedSerial : public SerialControl {
 public:
  void SetCommPort(int portNumber) override { port_ = portNumber; }
  [[nodiscard]] int CommPort() const override { return port_; }
  void SetSettings(const std::string& settings) override { settings_ = settings; }
  [[nodiscard]] std::string Settings() const override { return settings_; }
  void SetInputLen(int) override {}
  [[nodiscard]] bool PortOpen() const override { return open_; }
  PortError Open() override {
    open_ = true;
    return {};
  }
  void Close() override { open_ = false; }
  void Output(const std::string& bytes) override {
    sent.push_back(bytes);
    if (bytes == Frame({0x19, 0x00})) waiting_ += identityReply;
  }
  std::string Input() override { return std::exchange(waiting_, std::string()); }
  void OnInput(std::function<void()>) override {}

  std::string identityReply;
  std::vector<std::string> sent;

 private:
  int port_ = 1;
  std::string settings_;
  bool open_ = false;
  std::string waiting_;
};

// The channels 1..99 as text, to compare them all at once.
std::vector<std::string> Channels(const sim::Transceiver& rig) {
  std::vector<std::string> channels;
  for (int n = 1; n <= 99; ++n) {
    const MemoryChannel& c = rig.Channel(n);
    channels.push_back(c.blank
                           ? "blank"
                           : std::to_string(c.frequencyHz) + " " + std::to_string(c.mode) + " " +
                                 std::to_string(c.filter) + (c.selected ? " * " : " ") + c.name);
  }
  return channels;
}

class BelmarqTest : public ProgramFixture {};

TEST_F(BelmarqTest, TheIdentityAnswerMustFillFifteenBytes) {
  // The echo of the own query (7 bytes) and the transceiver's answer (8 bytes).
  const std::string echo = Frame({0x19, 0x00});
  const std::string answer = Bytes({0xFE, 0xFE, 0xE0, 0x64, 0x19, 0x00, 0x64, 0xFD});
  const std::string broadcast =
      Bytes({0xFE, 0xFE, 0x00, 0x64, 0x00, 0x00, 0x50, 0x19, 0x14, 0x00, 0xFD});
  const std::tuple<const char*, std::string, bool> cases[] = {
      {"whole answer", echo + answer, true},
      {"answer one byte short", echo + answer.substr(0, 7), false},
      {"answer and a broadcast behind it", echo + answer + broadcast, true},
      {"echo alone", echo, false},
      {"nothing", "", false},
  };
  WriteConfig();
  for (const auto& [what, reply, passes] : cases) {
    SCOPED_TRACE(what);
    program.reset();
    desktop = FakeDesktop();
    ScriptedSerial line;
    line.identityReply = reply;
    Platform scripted{desktop, clock, line, files};
    program = std::make_unique<ControlProgram>(scripted, Build::Belmarq);
    Start(Build::Belmarq);

    EXPECT_EQ(line.sent, std::vector<std::string>{Frame({0x19, 0x00})}) << "one query, no other";
    EXPECT_EQ(program->station.SyncStep, 0);
    EXPECT_FALSE(desktop.ended) << "a silent transceiver leaves the program running";
    EXPECT_TRUE(program->memory.Visible);
    EXPECT_EQ(program->station.AwaitingRadio, !passes);
    EXPECT_EQ(BoxTexts(desktop),
              passes ? std::vector<std::string>{}
                     : std::vector<std::string>{
                           "Unexpected Radio Condition: RADIO NOT READY or COM PORT ERROR! ... "
                           "Check RADIO or run SETUP (menu) or Edit KESTRA.INI! ... Restart "
                           "Program now!"});
    // A good answer ends the exchange; without one the identity is asked again about once a
    // second until the transceiver answers.
    Advance(1000);
    EXPECT_EQ(line.sent.size(), passes ? 1u : 2u);
    program.reset();
  }
}

TEST_F(BelmarqTest, OpensOnTheMemoryWindowAndIgnoresTheFrontPanel) {
  WriteConfig();
  ControlProgram& p = Start(Build::Belmarq);
  ASSERT_FALSE(desktop.ended);
  EXPECT_TRUE(p.memory.Visible);
  EXPECT_EQ(p.memory.Caption, "Memory Operations");
  EXPECT_FALSE(p.radio.Visible || p.radio.Loaded);
  EXPECT_EQ(p.memory.Text6, "Hello K1ABC");
  // The identity answer was decoded into the hidden radio window and shown on the status line;
  // no option was marked.
  EXPECT_EQ(p.radio.Text6, "ID = 64");
  EXPECT_EQ(p.memory.Text9.rfind("STATUS = ", 0), 0u);
  EXPECT_EQ(std::count(p.radio.OptionMarked.begin(), p.radio.OptionMarked.end(), true), 0);
  // Front-panel changes are neither shown nor decoded.
  const std::string frequency = p.radio.Text1;
  const std::string status = p.memory.Text9;
  rig.SetTransceive(true);
  rig.TurnDial(5'000);
  rig.ChangeMode(sim::kModeFm, 1);
  Advance(500);
  EXPECT_EQ(p.radio.Text1, frequency);
  EXPECT_EQ(p.memory.Text9, status);
  EXPECT_EQ(Sent(), std::vector<std::string>{Frame({0x19, 0x00})}) << "only the identity query";
  EXPECT_FALSE(desktop.ended);
}

TEST_F(BelmarqTest, CreateFileAndUpdateRigCarryTheChannelsThroughTheFile) {
  WriteConfig();
  Start(Build::Belmarq);
  MemoryMain& memory = program->memory;
  rig.SetChannel(1, MemoryChannel::Filled(14'195'000, sim::kModeUsb, 2, "DX NET"));
  rig.SetChannel(3, MemoryChannel::Filled(3'573'000, sim::kModeCwReverse, 1, "", true));
  rig.SetChannel(42, MemoryChannel::Filled(7'040'000, sim::kModeCw, 2, "QRP"));
  rig.SetChannel(99, MemoryChannel::Filled(29'600'000, sim::kModeFm, 3, "FM CALL", true));
  const std::vector<std::string> before = Channels(rig);

  desktop.AnswerYes();
  memory.Click("Command1");  // Create File
  EXPECT_EQ(BoxTexts(desktop),
            std::vector<std::string>{"Create File: KESTRA.TXT ... Are you sure?"});
  Advance(100 * 200 + 100);
  ASSERT_FALSE(program->memory.Runs("Create File"));
  EXPECT_EQ(memory.Text1, "END");
  const std::string file = ReadFile("KESTRA.TXT");
  for (const char* line : {" 1            14.195.0      USB", "DX NET", " 42 ", "FM CALL", " END"})
    EXPECT_NE(file.find(line), std::string::npos) << line;

  // The transceiver loses its channels; the file brings them back.
  for (int n = 1; n <= 99; ++n) rig.SetChannel(n, MemoryChannel{});
  desktop.AnswerYes();
  memory.Click("Command3");  // Update Rig
  EXPECT_EQ(desktop.boxes.back().title, "Update Rig");
  for (int step = 0; step < 400 && program->memory.Runs("Update Rig"); ++step) Advance(200);
  ASSERT_FALSE(program->memory.Runs("Update Rig"));
  EXPECT_EQ(Channels(rig), before);
  EXPECT_FALSE(desktop.ended);
}

}  // namespace
}  // namespace tavrin::testing
