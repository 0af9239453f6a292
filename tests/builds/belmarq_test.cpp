// belmarq, the memory manager: its identity exchange with the transceiver at start-up, its
// file and rig operations on the memory window, and the radio window that only carries the
// port and the memory commands.
#include <gtest/gtest.h>

#include <functional>
#include <map>
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

class BelmarqTest : public ProgramFixture {
 protected:
  MemoryMain& Memory() { return program->memory; }
  Station& State() { return program->station; }
};

TEST_F(BelmarqTest, TheIdentityAnswerMustFillFifteenBytes) {
  // The echo of the own query (7 bytes) and the transceiver's answer (8 bytes).
  const std::string echo = Frame({0x19, 0x00});
  const std::string answer = Bytes({0xFE, 0xFE, 0xE0, 0x64, 0x19, 0x00, 0x64, 0xFD});
  const std::string broadcast =
      Bytes({0xFE, 0xFE, 0x00, 0x64, 0x00, 0x00, 0x50, 0x19, 0x14, 0x00, 0xFD});
  struct Case {
    const char* what;
    std::string reply;
    bool passes;
  };
  const Case cases[] = {
      {"whole answer", echo + answer, true},
      {"answer one byte short", echo + answer.substr(0, 7), false},
      {"answer and a broadcast behind it", echo + answer + broadcast, true},
      {"echo alone", echo, false},
      {"nothing", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    program.reset();
    desktop = FakeDesktop();
    WriteConfig();
    ScriptedSerial line;
    line.identityReply = c.reply;
    Platform scripted{desktop, clock, line, files};
    program = std::make_unique<ControlProgram>(scripted, Build::Belmarq);
    Start(Build::Belmarq);

    EXPECT_EQ(line.sent, std::vector<std::string>{Frame({0x19, 0x00})}) << "one query, no other";
    EXPECT_EQ(State().SyncStep, 0);
    EXPECT_EQ(desktop.ended, !c.passes);
    if (c.passes) {
      EXPECT_TRUE(desktop.boxes.empty());
      EXPECT_TRUE(Memory().Visible);
    } else {
      ASSERT_EQ(desktop.boxes.size(), 1u);
      EXPECT_EQ(desktop.boxes[0].title, "Unexpected Radio Condition");
      EXPECT_EQ(desktop.boxes[0].text,
                "RADIO NOT READY or COM PORT ERROR! ... Check RADIO or run SETUP (menu) or Edit "
                "KESTRA.INI! ... Restart Program now!");
      EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
    }
    // Nothing more happens once the exchange is over.
    Advance(1000);
    EXPECT_EQ(line.sent.size(), 1u);
    program.reset();
  }
}

TEST_F(BelmarqTest, OpensOnTheMemoryWindowWithTheRadioWindowNeverShown) {
  WriteConfig();
  ControlProgram& p = Start(Build::Belmarq);
  ASSERT_FALSE(desktop.ended);
  EXPECT_TRUE(p.memory.Visible);
  EXPECT_EQ(p.memory.Caption, "Memory Operations");
  EXPECT_FALSE(p.radio.Visible);
  EXPECT_FALSE(p.radio.Loaded);
  EXPECT_EQ(p.memory.Text6, "Hello K1ABC");
  // The identity answer was decoded into the hidden radio window and shown on the status line.
  EXPECT_EQ(p.radio.Text6, "ID = 64");
  EXPECT_EQ(p.memory.Text9.rfind("STATUS = ", 0), 0u);
}

TEST_F(BelmarqTest, FrontPanelChangesAreNeitherShownNorDecoded) {
  WriteConfig();
  ControlProgram& p = Start(Build::Belmarq);
  const std::string frequency = p.radio.Text1;
  const std::string status = p.memory.Text9;
  rig.SetTransceive(true);
  rig.TurnDial(5'000);
  rig.ChangeMode(sim::kModeFm, 1);
  Advance(500);
  EXPECT_EQ(p.radio.Text1, frequency);
  EXPECT_EQ(p.memory.Text9, status);
  EXPECT_EQ(Sent().size(), 1u) << "only the identity query was ever sent";
  EXPECT_FALSE(desktop.ended);
}

TEST_F(BelmarqTest, CreateFileAndUpdateRigCarryTheChannelsThroughTheFile) {
  WriteConfig();
  Start(Build::Belmarq);
  rig.SetChannel(1, MemoryChannel::Filled(14'195'000, sim::kModeUsb, 2, "DX NET"));
  rig.SetChannel(3, MemoryChannel::Filled(3'573'000, sim::kModeCwReverse, 1, "", true));
  rig.SetChannel(42, MemoryChannel::Filled(7'040'000, sim::kModeCw, 2, "QRP"));
  rig.SetChannel(99, MemoryChannel::Filled(29'600'000, sim::kModeFm, 3, "FM CALL", true));
  std::map<int, MemoryChannel> before;
  for (int n = 1; n <= 99; ++n) before[n] = rig.Channel(n);

  desktop.AnswerYes();
  Memory().Click("Command1");  // Create File
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Create File");
  EXPECT_EQ(desktop.boxes[0].text, "KESTRA.TXT ... Are you sure?");
  Advance(100 * 200 + 100);
  ASSERT_FALSE(State().CreateFileActive);
  EXPECT_EQ(Memory().Text1, "END");
  const std::string file = ReadFile("KESTRA.TXT");
  for (const char* line : {" 1            14.195.0      USB", "DX NET", " 42 ", "FM CALL", " END"})
    EXPECT_NE(file.find(line), std::string::npos) << line;

  // The transceiver loses its channels; the file brings them back.
  for (int n = 1; n <= 99; ++n) rig.SetChannel(n, MemoryChannel{});
  desktop.AnswerYes();
  Memory().Click("Command3");  // Update Rig
  EXPECT_EQ(desktop.boxes.back().title, "Update Rig");
  for (int step = 0; step < 400 && State().UpdateRigActive; ++step) Advance(200);
  ASSERT_FALSE(State().UpdateRigActive);
  for (int n = 1; n <= 99; ++n) {
    const MemoryChannel& was = before[n];
    const MemoryChannel& now = rig.Channel(n);
    ASSERT_EQ(now.blank, was.blank) << n;
    if (was.blank) continue;
    EXPECT_EQ(now.frequencyHz, was.frequencyHz) << n;
    EXPECT_EQ(now.mode, was.mode) << n;
    EXPECT_EQ(now.filter, was.filter) << n;
    EXPECT_EQ(now.selected, was.selected) << n;
    EXPECT_EQ(now.name, was.name) << n;
  }
  EXPECT_FALSE(desktop.ended);
}

}  // namespace
}  // namespace tavrin::testing
