// SPDX-License-Identifier: GPL-3.0-or-later
// Bringing the program up: the splash, the nested start-up of the memory window, the reading
// of KESTRA.INI and what each kind of file leads to, the shared state's start values, and the
// fatal box.
#include <gtest/gtest.h>

#include <algorithm>
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

TEST_F(StartUpTest, EmptyLastLineOpensTheSetupWindow) {
  WriteFile("KESTRA.TXT", "");
  for (const std::string contents : {"", "[CommPort] COM1\r\nEND\r\n\r\n"}) {
    SCOPED_TRACE(contents);
    Reset();
    WriteFile("KESTRA.INI", contents);
    ControlProgram& p = Start();
    // No message, the port stays closed and no data file is opened.
    EXPECT_TRUE(desktop.boxes.empty() && Sent().empty());
    EXPECT_EQ(PortState(serial), "closed");
    EXPECT_EQ(p.station.PortOpened, 0);
    EXPECT_FALSE(p.station.DataFileOpen || desktop.ended);
    EXPECT_TRUE(p.station.ConfigMissing && p.setup.Visible);
    EXPECT_EQ(p.memory.Text6 + p.memory.Text7 + p.memory.Text8, "");
  }
}

// A file cut short, garbage or anything else that does not end in END keeps the port closed,
// as the file asks, and says so once: which file, its last line, and that Setup writes a
// complete one; the status line tells the same. A file that cannot be read at all likewise.
TEST_F(StartUpTest, IncompleteOrUnreadableFileKeepsThePortClosedAndSaysSoOnce) {
  const std::string kAdvice =
      " ... The port stays closed ... Run SETUP (menu) and Save to write a complete file.";
  const auto incomplete = [&](const std::string& shown) {
    return "Incomplete Config File: KESTRA.INI does not end in END ... its last line is \"" +
           shown + "\"" + kAdvice;
  };
  const std::string kIncompleteStatus =
      "STATUS = PORT CLOSED ... KESTRA.INI does not end in END ... run SETUP (menu)";
  std::string megabyte;
  while (megabyte.size() < 1'000'000) megabyte += std::string(63, 'x') + "\r\n";
  struct Case {
    const char* name;
    std::string contents;  // empty: KESTRA.INI is a folder and cannot be read
    std::string box, status;
  };
  const std::vector<Case> cases = {
      {"END with a blank", "[CommPort] COM1\r\nEND \r\n", incomplete("END "), kIncompleteStatus},
      {"end in lower case", "[CommPort] COM1\r\nend\r\n", incomplete("end"), kIncompleteStatus},
      {"no END", "[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n",
       incomplete("[CommBaud] 19200,N,8,1"), kIncompleteStatus},
      {"cut short",
       "KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] KESTRA.TXT\r\n[CallSi",
       incomplete("[CallSi"), kIncompleteStatus},
      {"binary garbage", std::string("\x01\xFE\x00\x7F\x89PNG", 8), incomplete("?\xFE???PNG"),
       kIncompleteStatus},
      {"1 MB of text", megabyte, incomplete(std::string(40, 'x') + "..."), kIncompleteStatus},
      {"unreadable", "",
       "Unexpected Open Config File Error: Error Code 75 ... Path/File access error ... "
       "KESTRA.INI ... Input" +
           kAdvice,
       "STATUS = PORT CLOSED ... KESTRA.INI cannot be read ... run SETUP (menu)"},
  };
  WriteFile("KESTRA.TXT", "");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    std::filesystem::remove_all(PathOf("KESTRA.INI"));
    if (c.contents.empty()) {
      std::filesystem::create_directory(PathOf("KESTRA.INI"));
    } else {
      WriteFile("KESTRA.INI", c.contents);
    }
    ControlProgram& p = Start();
    EXPECT_EQ(BoxTexts(desktop), std::vector<std::string>{c.box});
    ASSERT_FALSE(desktop.boxes.empty());
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(p.radio.Text7, c.status);
    EXPECT_EQ(p.memory.Text9, c.status);
    // Nothing else: the port closed, nothing sent, no data file, no setup window, no end.
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(PortState(serial), "closed");
    EXPECT_EQ(p.station.PortOpened, 0);
    EXPECT_FALSE(p.station.DataFileOpen || p.station.ConfigMissing || p.setup.Visible ||
                 desktop.ended);
    EXPECT_EQ(p.memory.Text6 + p.memory.Text7 + p.memory.Text8, "");
  }
}

// The boxes of a port that will not open come once per start, though the memory window's load
// runs a second start-up inside the first.
TEST_F(StartUpTest, EachPortBoxComesOncePerStart) {
  struct Case {
    std::string settings;
    bool heldElsewhere;
    std::string box;
  };
  const std::vector<Case> cases = {
      {"19200,N,8,1", true,
       "Comm Port Error - Port Already Open: Error Code 8005 ... Port already open ... COM1 ... "
       "19200,N,8,1"},
      {"19200,X,8,1", false,
       "Open Comm Port - Unexpected Error: Error Code 380 ... Invalid property value ... COM1 ... "
       "19200,X,8,1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    Reset();
    WriteConfig("KESTRA.TXT", "K1ABC", "COM1", c.settings);
    serial.SetHeldElsewhere(c.heldElsewhere);
    Start();
    serial.SetHeldElsewhere(false);
    EXPECT_EQ(BoxTexts(desktop), std::vector<std::string>{c.box});
    EXPECT_EQ(PortState(serial), "closed");
  }
}

// Leftovers of a program killed while it replaced the data file or KESTRA.INI (the temporary
// file beside it, ".NAME.xxxxxx") are removed at the next start; a replacement that another
// program is writing now, and files of any other name, are left alone.
TEST_F(StartUpTest, LeftoverTemporaryFilesAreRemovedAtTheNextStart) {
  WriteConfig();
  const std::vector<std::string> leftovers = {".KESTRA.TXT.a1B2c3", ".KESTRA.INI.Zz9yY8"};
  const std::vector<std::string> others = {".KESTRA.TXT.abc12",  ".OTHER.TXT.abc123",
                                           "KESTRA.TXT.abc123",  ".KESTRA.TXT.abc123.bak",
                                           ".KESTRA.TXT.abc-23", "notes.txt"};
  for (const auto& name : leftovers) WriteFile(name, "half a file");
  for (const auto& name : others) WriteFile(name, "kept");
  // Another program of the suite is writing its new data file right now.
  FileError error;
  std::unique_ptr<TextOutput> writing = files.OpenReplacement(PathOf("KESTRA.TXT"), error);
  ASSERT_TRUE(writing != nullptr);
  std::vector<std::string> before;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    before.push_back(entry.path().filename().string());
  Start();
  std::vector<std::string> after;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    after.push_back(entry.path().filename().string());
  for (const auto& name : leftovers) {
    EXPECT_EQ(std::count(after.begin(), after.end(), name), 0) << name;
  }
  for (const auto& name : before) {
    if (std::count(leftovers.begin(), leftovers.end(), name) == 0) {
      EXPECT_EQ(std::count(after.begin(), after.end(), name), 1) << name << " was removed";
    }
  }
  EXPECT_TRUE(writing->WriteLine("still writing"));
  EXPECT_TRUE(writing->Commit());
  EXPECT_EQ(ReadFile("KESTRA.TXT"), "still writing\r\n");
}

TEST_F(StartUpTest, SettingsAreTakenWithinTheirLengths) {
  WriteFile("KESTRA.INI",
            "[DeftFile] KESTRA.TXT\r\n[CallSign] DL1ABC/MOBILE\r\n[CommPort] COM12\r\n"
            "[CommBaud] 9600,N,8,1\r\nEND\r\n");
  WriteFile("KESTRA.TXT", "");
  serial.SetPortExists(12, true);
  ControlProgram& p = Start();
  EXPECT_EQ(p.station.CallSign, "DL1ABC/MOB");
  EXPECT_EQ(p.memory.Text6, "Hello DL1ABC/MOB");
  // The port name is read whole: COM12 is port 12.
  EXPECT_EQ(p.station.CommPort, "COM12");
  EXPECT_EQ(PortState(serial), "COM12 9600,N,8,1");
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
