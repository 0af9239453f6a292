// SPDX-License-Identifier: GPL-3.0-or-later
// Bringing the program up: the splash, the nested start-up of the memory window, the reading
// of KESTRA.INI and what each kind of file leads to, the shared state's start values, and the
// fatal box.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::BoxTexts;
using testing::Bytes;
using testing::Frame;
using testing::PortState;
using testing::ProgramFixture;

class StartUpTest : public ProgramFixture {
 protected:
  // A fresh program, port closed, nothing shown or sent yet.
  void Reset() {
    program.reset();
    serial.Close();
    ClearSent();
    desktop.boxes.clear();
    desktop.ended = false;
  }
};

TEST_F(StartUpTest, CompleteFileOpensPortAndDataFileAndSynchronises) {
  WriteConfig();
  ControlProgram& p = Program();
  p.Begin();
  p.splash.Continue();
  // The first query leaves one reply time after start-up.
  ASSERT_TRUE(Sent().empty());
  EXPECT_EQ(p.station.SyncStep, 1);
  EXPECT_TRUE(p.link.ReplyTimerArmed());
  Advance(100);
  ASSERT_FALSE(serial.SentFrames().empty());
  EXPECT_EQ(serial.SentFrames()[0].bytes, Bytes({0xFE, 0xFE, 0x64, 0xE0, 0x03, 0xFD}));
  EXPECT_LE(serial.SentFrames()[0].Ms(), 100.0);
  Advance(300);
  EXPECT_EQ(p.station.SyncStep, 0);  // the synchronisation has finished
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(desktop.ended || p.station.ConfigMissing);
  EXPECT_EQ(PortState(serial), "COM1 19200,N,8,1");
  EXPECT_EQ(p.station.PortOpened, 1);
  // The data file is open, and its full path replaces the bare name.
  EXPECT_TRUE(p.station.DataFileOpen && p.memory.Text8Bold);
  for (const std::string* path : {&p.station.DataFilePath, &p.station.DeftFile, &p.memory.Text8})
    EXPECT_EQ(*path, PathOf("KESTRA.TXT"));
  EXPECT_EQ(p.memory.Text7, "Open Process Complete");
  EXPECT_EQ(p.memory.Text6, "Hello K1ABC");
  // The windows: radio in front, memory loaded and hidden, splash gone, no setup.
  EXPECT_TRUE(p.radio.Visible && p.memory.Loaded);
  EXPECT_FALSE(p.memory.Visible || p.splash.Visible || p.setup.Visible);
  // Closing the data file, twice: the second does nothing.
  for (int twice = 0; twice < 2; ++twice) {
    p.CloseDataFile();
    EXPECT_FALSE(p.station.DataFileOpen || p.dataFile.OpenForInput());
  }
}

TEST_F(StartUpTest, LastLineDecidesWhatStartUpDoes) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"", true},  // an empty file opens the setup window
      {"[CommPort] COM1\r\nEND\r\n\r\n", true},
      {"[CommPort] COM1\r\nEND \r\n", false},
      {"[CommPort] COM1\r\nend\r\n", false},
      {"[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n", false},
  };
  WriteFile("KESTRA.TXT", "");
  for (const auto& [contents, setupOpens] : cases) {
    SCOPED_TRACE(contents);
    Reset();
    WriteFile("KESTRA.INI", contents);
    ControlProgram& p = Start();
    // No message either way, the port stays closed and no data file is opened.
    EXPECT_TRUE(desktop.boxes.empty() && Sent().empty());
    EXPECT_EQ(PortState(serial), "closed");
    EXPECT_EQ(p.station.PortOpened, 0);
    EXPECT_FALSE(p.station.DataFileOpen || desktop.ended);
    EXPECT_EQ(p.station.ConfigMissing, setupOpens);
    EXPECT_EQ(p.setup.Visible, setupOpens);
    // The memory window's boxes are left as they were.
    EXPECT_EQ(p.memory.Text6 + p.memory.Text7 + p.memory.Text8, "");
  }
}

TEST_F(StartUpTest, SettingsAreTakenWithinTheirLengths) {
  WriteFile("KESTRA.INI",
            "[DeftFile] KESTRA.TXT\r\n[CallSign] DL1ABC/MOBILE\r\n[CommPort] COM12\r\n"
            "[CommBaud] 9600,N,8,1\r\nEND\r\n");
  WriteFile("KESTRA.TXT", "");
  ControlProgram& p = Start();
  EXPECT_EQ(p.station.CallSign, "DL1ABC/MOB");
  EXPECT_EQ(p.memory.Text6, "Hello DL1ABC/MOB");
  // Only the fourth character of the port name counts: COM12 is port 1.
  EXPECT_EQ(p.station.CommPort, "COM1");
  EXPECT_EQ(PortState(serial), "COM1 9600,N,8,1");
  EXPECT_TRUE(desktop.boxes.empty());
}

// The memory window's start-up and the radio window's both read the file and meet COM7; the
// answer given to the first question holds for both and is not written back.
TEST_F(StartUpTest, InvalidPortInTheFileIsAskedForOnceAndTheAnswerHolds) {
  WriteConfig("KESTRA.TXT", "K1ABC", "COM7", "19200,N,8,1");
  desktop.Type("com1");
  desktop.Type("COM2");  // would be the answer to a second question
  ControlProgram& p = Start();
  std::vector<std::string> titles;
  for (const auto& box : desktop.boxes) titles.push_back(box.title);
  EXPECT_EQ(titles,
            (std::vector<std::string>{"Open Comm Port Error", "Set Comm Port", "Setup Comm Port"}));
  EXPECT_EQ(PortState(serial), "COM1 19200,N,8,1");
  EXPECT_EQ(p.station.CommPort, "COM1");
  EXPECT_EQ(desktop.PendingInputs(), 1u);
  EXPECT_NE(ReadFile("KESTRA.INI").find("[CommPort] COM7\r\n"), std::string::npos);
  EXPECT_EQ(Sent().at(0), Frame({0x03}));
}

TEST_F(StartUpTest, DataFileThatCannotBeOpenedIsReportedOnceAndNotCalledComplete) {
  WriteConfig("KESTRA.TXT");
  std::filesystem::remove(directory / "KESTRA.TXT");
  std::filesystem::create_directory(directory / "KESTRA.TXT");
  ControlProgram& p = Start();
  EXPECT_EQ(desktop.MessageBoxes().size(), 1u);
  EXPECT_NE(p.memory.Text7, "Open Process Complete");
  EXPECT_FALSE(desktop.ended);
}

TEST_F(StartUpTest, FlagsStartCleared) {
  WriteConfig();
  ControlProgram& p = Start();
  Station& s = p.station;
  p.memory.Click("Command4");  // View Rig
  ASSERT_TRUE(p.memory.Runs("View Rig"));
  bool* const flags[] = {&s.AwaitingSquelch, &s.DataFileOpen, &s.EdgeUpper};
  for (bool* flag : flags) *flag = true;
  s.AutoStatusOn = false;
  p.link.Timer2.SetEnabled(true);
  p.InitFlags();
  p.InitFrameStrings();
  for (std::size_t i = 0; i < std::size(flags); ++i) EXPECT_FALSE(*flags[i]) << "flag " << i;
  EXPECT_EQ(p.memory.Operations().Running(), nullptr);
  EXPECT_FALSE(p.memory.Operations().StepTimer.Enabled());
  EXPECT_TRUE(s.AutoStatusOn);
  EXPECT_FALSE(p.link.ReplyTimerArmed());
}

TEST_F(StartUpTest, ReportErrorShowsItsBoxAndEndsTheProgram) {
  const std::vector<std::tuple<int, std::string, std::string>> cases = {
      {99, "",
       "Unexpected Radio Condition: RADIO NOT READY or COM PORT ERROR! ... Check RADIO or run "
       "SETUP (menu) or Edit KESTRA.INI! ... Restart Program now!"},
      {16, "Invalid procedure call",
       "Unexpected Trap Condition: Error Code 16 ... Invalid procedure call"},
  };
  for (const auto& [number, description, box] : cases) {
    SCOPED_TRACE(number);
    Reset();
    ControlProgram& p = Program();
    p.ReportError(number, description);
    EXPECT_EQ(BoxTexts(desktop), std::vector<std::string>{box});
    ASSERT_FALSE(desktop.boxes.empty());
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_TRUE(desktop.ended && p.station.Ended);
    // An ended program reports nothing more.
    p.ReportError(7, "again");
    EXPECT_EQ(desktop.boxes.size(), 1u);
  }
}

// --- The splash window --------------------------------------------------------------------

TEST_F(StartUpTest, SplashShowsItsTextsAndWaitsTwoSecondsForEachBuild) {
  const std::tuple<Build, const char*, const char*> cases[] = {
      {Build::Tavrin, "Tavrin2", "Version 1.05"},
      {Build::Korvid, "Korvid", "Version 1.00"},
      {Build::Belmarq, "Belmarq", "Version 1.00"}};
  WriteConfig();
  for (const auto& [build, product, version] : cases) {
    SCOPED_TRACE(product);
    Reset();
    ControlProgram& p = Program(build);
    p.Begin();
    const SplashMain& s = p.splash;
    EXPECT_TRUE(s.Visible);
    EXPECT_EQ(s.lblProductName + "|" + s.lblVersion + "|" + s.lblDate + "|" + s.Text1,
              std::string(product) + "|" + version + "|Oct 30 2005|Click to Continue");
    EXPECT_FALSE(s.lblCompanyProduct.empty() || s.lblPlatform.empty());
    EXPECT_NE(s.lblCompanyProduct, s.lblPlatform);
    EXPECT_TRUE(s.Timer1.Enabled());
    EXPECT_EQ(s.Timer1.Interval(), 2000);
    Advance(1999);
    EXPECT_FALSE(p.radio.Loaded || p.memory.Visible);
    EXPECT_TRUE(s.Visible);
    Advance(1);
    EXPECT_FALSE(s.Visible || s.Timer1.Enabled());
    // belmarq shows its memory window, the others their radio window.
    EXPECT_EQ(p.radio.Visible, build != Build::Belmarq);
    EXPECT_EQ(p.memory.Visible, build == Build::Belmarq);
    EXPECT_EQ(p.station.PortOpened, 1);
    Advance(1000);
  }
}

TEST_F(StartUpTest, ClickOrKeyContinuesAtOnceAndOnlyOnce) {
  WriteFile("KESTRA.TXT", "");
  ControlProgram& p = Program();
  p.Begin();
  Advance(300);
  p.splash.Continue();
  EXPECT_TRUE(p.radio.Visible);
  EXPECT_FALSE(p.splash.Visible || p.splash.Timer1.Enabled());
  ASSERT_EQ(desktop.boxes.size(), 1u);  // the missing KESTRA.INI, once
  // Neither the timer nor a second key press runs start-up again.
  p.splash.Continue();
  Advance(5000);
  EXPECT_EQ(desktop.boxes.size(), 1u);
  EXPECT_TRUE(p.setup.Visible);
}

// A desktop that notes, for every box, whether the splash was still on screen.
class SplashWatchingDesktop : public FakeDesktop {
 public:
  BoxAnswer MessageBox(const std::string& title, const std::string& text, BoxIcon icon,
                       BoxButtons buttons) override {
    splashShownAtBox.push_back(program != nullptr && program->splash.Visible);
    return FakeDesktop::MessageBox(title, text, icon, buttons);
  }
  ControlProgram* program = nullptr;
  std::vector<bool> splashShownAtBox;
};

TEST_F(StartUpTest, StartUpRunsWithTheSplashInFront) {
  SplashWatchingDesktop watching;
  Platform watched{watching, clock, serial, files};
  program = std::make_unique<ControlProgram>(watched);
  watching.program = program.get();
  program->Begin();
  Advance(2000);
  // The missing KESTRA.INI is reported while the splash is still up; it closes afterwards.
  EXPECT_EQ(watching.splashShownAtBox, std::vector<bool>{true});
  EXPECT_FALSE(program->splash.Visible);
  EXPECT_TRUE(program->radio.Visible);
  program.reset();
}

}  // namespace
}  // namespace tavrin
