// The setup window: what opening it does to the four settings, the rules that run as the user
// clicks and types, Save with what it writes and re-opens, Quit, Help, the frame's close, and
// the restart that ends a program started without KESTRA.INI.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::Frame;
using testing::ProgramFixture;

struct Settings {
  std::string deftFile, callSign, commPort, commBaud;
};

std::string FileWith(const Settings& s) {
  return "KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] " + s.deftFile +
         "\r\n[CallSign] " + s.callSign + "\r\n[CommPort] " + s.commPort + "\r\n[CommBaud] " +
         s.commBaud + "\r\n \r\nEND\r\n";
}

class SetupWindowTest : public ProgramFixture {
 protected:
  // A program with these settings in memory and the setup window opened on them.
  ControlProgram& OpenedOn(const Settings& s) {
    program.reset();
    desktop.boxes.clear();
    ControlProgram& p = Program();
    p.InitFrameStrings();
    p.station.DeftFile = s.deftFile;
    p.station.CallSign = s.callSign;
    p.station.CommPort = s.commPort;
    p.station.CommBaud = s.commBaud;
    p.setup.Show();
    return p;
  }
  std::vector<int> Marked(const ControlProgram& p) const {
    std::vector<int> marked;
    for (int option = 1; option <= 6; ++option) {
      if (p.setup.OptionMarked[static_cast<std::size_t>(option)]) marked.push_back(option);
    }
    return marked;
  }
};

TEST_F(SetupWindowTest, OpeningShowsAndFoldsTheSettings) {
  struct Case {
    const char* name;
    Settings before;
    std::vector<int> marked;
    std::string text1, text2;
    Settings after;
  };
  const std::vector<Case> cases = {
      {"as saved",
       {"KESTRA.TXT", "K1ABC", "COM2", "9600,N,8,1"},
       {2, 5},
       "K1ABC",
       "KESTRA.TXT",
       {"KESTRA.TXT", "K1ABC", "COM2", "9600,N,8,1"}},
      {"nothing set",
       {"", "", "", ""},
       {1, 4},
       kDefaultCallSign,
       "KESTRA.TXT",
       {"KESTRA.TXT", kDefaultCallSign, "COM1", "19200,N,8,1"}},
      {"hand-edited port",
       {"KESTRA.TXT", "K1ABC", "COM4", "4800,N,8,1"},
       {6},
       "K1ABC",
       "KESTRA.TXT",
       {"KESTRA.TXT", "K1ABC", "COM4", "4800,N,8,1"}},
      {"port in lower case",
       {"KESTRA.TXT", "K1ABC", "com3", "19200,n,8,1"},
       {},
       "K1ABC",
       "KESTRA.TXT",
       {"KESTRA.TXT", "K1ABC", "com3", "19200,n,8,1"}},
      {"call sign in lower case",
       {"KESTRA.TXT", "k1abc", "COM1", "19200,N,8,1"},
       {1, 4},
       "k1abc",
       "KESTRA.TXT",
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"}},
      {"data file as a path",
       {"C:\\RADIO\\nets.dat", "W1AW", "COM3", "19200,N,8,1"},
       {3, 4},
       "W1AW",
       "NETS.DAT",
       {"NETS.DAT", "W1AW", "COM3", "19200,N,8,1"}},
      {"data file without extension",
       {"mylist", "W1AW", "COM1", "19200,N,8,1"},
       {1, 4},
       "W1AW",
       "MYLIST",
       {"MYLIST.txt", "W1AW", "COM1", "19200,N,8,1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ControlProgram& p = OpenedOn(c.before);
    EXPECT_TRUE(p.setup.Visible);
    EXPECT_EQ(p.setup.Caption, "System Setup");
    EXPECT_EQ(Marked(p), c.marked);
    EXPECT_EQ(p.setup.Text1, c.text1);
    EXPECT_EQ(p.setup.Text2, c.text2);
    EXPECT_EQ(p.station.DeftFile, c.after.deftFile);
    EXPECT_EQ(p.station.CallSign, c.after.callSign);
    EXPECT_EQ(p.station.CommPort, c.after.commPort);
    EXPECT_EQ(p.station.CommBaud, c.after.commBaud);
    EXPECT_TRUE(desktop.boxes.empty());
  }
}

TEST_F(SetupWindowTest, ClicksAndTypingChangeTheSettingsAtOnce) {
  ControlProgram& p = OpenedOn({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"});
  struct Step {
    const char* name;
    std::function<void()> act;
    Settings after;
  };
  SetupMain& w = p.setup;
  const std::vector<Step> steps = {
      {"Com 3", [&] { w.ChoosePort(3); }, {"KESTRA.TXT", "K1ABC", "COM3", "19200,N,8,1"}},
      {"4800", [&] { w.ChooseSpeed(6); }, {"KESTRA.TXT", "K1ABC", "COM3", "4800,N,8,1"}},
      {"call sign typed",
       [&] { w.CallSignChanged("g4xyz"); },
       {"KESTRA.TXT", "G4XYZ", "COM3", "4800,N,8,1"}},
      {"brace and tilde",
       [&] { w.CallSignChanged("{k1~}"); },
       {"KESTRA.TXT", "[K1^]", "COM3", "4800,N,8,1"}},
      {"codes above 127",
       [&] { w.CallSignChanged("\xE9\x80"); },
       {"KESTRA.TXT", "\xC9\x60", "COM3", "4800,N,8,1"}},
      {"call sign emptied",
       [&] { w.CallSignChanged(""); },
       {"KESTRA.TXT", "", "COM3", "4800,N,8,1"}},
      {"name without extension",
       [&] { w.DataFileChanged("mylist"); },
       {"mylist.txt", "", "COM3", "4800,N,8,1"}},
      {"path kept whole",
       [&] { w.DataFileChanged("C:\\RADIO\\NETS.DAT"); },
       {"C:\\RADIO\\NETS.DAT", "", "COM3", "4800,N,8,1"}},
      {"path ending in a backslash",
       [&] { w.DataFileChanged("C:\\DATA\\"); },
       {"C:\\DATA\\.txt", "", "COM3", "4800,N,8,1"}},
      {"leading blank",
       [&] { w.DataFileChanged(" nets.txt"); },
       {"KESTRA.TXT", "", "COM3", "4800,N,8,1"}},
      {"other extension length",
       [&] { w.DataFileChanged("A.DATA"); },
       {"A.DATA.txt", "", "COM3", "4800,N,8,1"}},
      {"two-letter extension",
       [&] { w.DataFileChanged("X.TX"); },
       {"X.TX.txt", "", "COM3", "4800,N,8,1"}},
      {"field emptied", [&] { w.DataFileChanged(""); }, {"KESTRA.TXT", "", "COM3", "4800,N,8,1"}},
      {"Com 2", [&] { w.ChoosePort(2); }, {"KESTRA.TXT", "", "COM2", "4800,N,8,1"}},
      {"9600", [&] { w.ChooseSpeed(5); }, {"KESTRA.TXT", "", "COM2", "9600,N,8,1"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(p.station.DeftFile, step.after.deftFile);
    EXPECT_EQ(p.station.CallSign, step.after.callSign);
    EXPECT_EQ(p.station.CommPort, step.after.commPort);
    EXPECT_EQ(p.station.CommBaud, step.after.commBaud);
  }
  EXPECT_EQ(Marked(p), (std::vector<int>{2, 5}));
  // The fields keep what was typed.
  EXPECT_EQ(w.Text1, "");
  EXPECT_EQ(w.Text2, "");
}

TEST_F(SetupWindowTest, EveryKeystrokeRunsTheRuleOnTheWholeField) {
  ControlProgram& p = OpenedOn({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"});
  const std::string typed = "mylist";
  for (std::size_t n = 1; n <= typed.size(); ++n) p.setup.DataFileChanged(typed.substr(0, n));
  EXPECT_EQ(p.setup.Text2, "mylist");
  EXPECT_EQ(p.station.DeftFile, "mylist.txt");
  // "myl" had been made "myl.txt" on the way; only the final text counts.
  p.setup.CallSignChanged("k");
  p.setup.CallSignChanged("k1");
  EXPECT_EQ(p.setup.Text1, "k1");
  EXPECT_EQ(p.station.CallSign, "K1");
}

TEST_F(SetupWindowTest, SaveWritesTheFileAndReopensPortAndDataFile) {
  struct Case {
    const char* name;
    Settings before;
    std::function<void(SetupMain&)> edit;
    Settings written;
    int port;
  };
  const std::vector<Case> cases = {
      {"hand-edited port kept",
       {"KESTRA.TXT", "K1ABC", "COM4", "19200,N,8,1"},
       nullptr,
       {"KESTRA.TXT", "K1ABC", "COM4", "19200,N,8,1"},
       0},
      {"call sign folded",
       {"KESTRA.TXT", "k1abc", "COM1", "19200,N,8,1"},
       nullptr,
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"},
       1},
      {"name gets its extension",
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"},
       [](SetupMain& w) { w.DataFileChanged("mylist"); },
       {"MYLIST.TXT", "K1ABC", "COM1", "19200,N,8,1"},
       1},
      {"path reduced to the name",
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"},
       [](SetupMain& w) { w.DataFileChanged("C:\\RADIO\\NETS.DAT"); },
       {"NETS.DAT", "K1ABC", "COM1", "19200,N,8,1"},
       1},
      {"path ending in a backslash",
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"},
       [](SetupMain& w) { w.DataFileChanged("C:\\DATA\\"); },
       {".TXT", "K1ABC", "COM1", "19200,N,8,1"},
       1},
      {"brace and tilde",
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"},
       [](SetupMain& w) { w.CallSignChanged("{k1~}"); },
       {"KESTRA.TXT", "[K1^]", "COM1", "19200,N,8,1"},
       1},
      {"empty call sign gets the default",
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"},
       [](SetupMain& w) { w.CallSignChanged(""); },
       {"KESTRA.TXT", kDefaultCallSign, "COM1", "19200,N,8,1"},
       1},
      {"new port and speed",
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"},
       [](SetupMain& w) {
         w.ChoosePort(3);
         w.ChooseSpeed(6);
       },
       {"KESTRA.TXT", "K1ABC", "COM3", "4800,N,8,1"},
       3},
      {"long values saved whole",
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"},
       [](SetupMain& w) {
         w.DataFileChanged("longdatafile.txt");
         w.CallSignChanged("dl1abc/mobile");
       },
       {"LONGDATAFILE.TXT", "DL1ABC/MOBILE", "COM1", "19200,N,8,1"},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    serial.Close();
    WriteFile(c.written.deftFile, "");
    ControlProgram& p = OpenedOn(c.before);
    if (c.edit) c.edit(p.setup);
    p.setup.Save();
    EXPECT_EQ(ReadFile("KESTRA.INI"), FileWith(c.written));
    // Port: re-opened with the new settings (COM4 does not exist here: its error flow runs).
    if (c.port != 0) {
      EXPECT_TRUE(serial.PortOpen());
      EXPECT_EQ(serial.CommPort(), c.port);
      EXPECT_EQ(serial.Settings(), c.written.commBaud);
      EXPECT_EQ(p.station.PortOpened, 1);
      EXPECT_TRUE(desktop.boxes.empty());
    } else {
      ASSERT_FALSE(desktop.boxes.empty());
      EXPECT_EQ(desktop.boxes[0].title, "Open Comm Port Error");
    }
    // Data file: opened, and its full path now stands in the setting. A name longer than 12
    // characters is taken as a path of its own and kept as it is.
    const std::string path =
        c.written.deftFile.size() > 12 ? c.written.deftFile : PathOf(c.written.deftFile);
    EXPECT_TRUE(p.station.DataFileOpen);
    EXPECT_EQ(p.station.DataFilePath, path);
    EXPECT_EQ(p.station.DeftFile, path);
    EXPECT_EQ(p.memory.Text8, path);
    EXPECT_TRUE(p.memory.Text8Bold);
    EXPECT_EQ(p.memory.Text7, "Setup Process Complete");
    EXPECT_FALSE(p.setup.Visible);
    EXPECT_FALSE(desktop.ended);
  }
}

TEST_F(SetupWindowTest, SavedFileReadsBackToTheSameSettings) {
  const std::vector<Settings> cases = {
      {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"},
      {"NETS.TXT", "VE3ABC/QRP", "COM3", "4800,N,8,1"},
      {"LOG.TXT", "G4XYZ", "COM2", "9600,N,8,1"},
  };
  for (const Settings& s : cases) {
    SCOPED_TRACE(s.callSign);
    serial.Close();
    WriteFile(s.deftFile, "");
    ControlProgram& p = OpenedOn({"KESTRA.TXT", "X", "COM1", "19200,N,8,1"});
    p.setup.DataFileChanged(s.deftFile);
    p.setup.CallSignChanged(s.callSign);
    p.setup.ChoosePort(s.commPort.back() - '0');
    p.setup.ChooseSpeed(s.commBaud == "19200,N,8,1" ? 4 : s.commBaud == "9600,N,8,1" ? 5 : 6);
    p.setup.Save();
    program.reset();
    ControlProgram& reader = Program();
    ASSERT_EQ(ReadConfigFile(reader).lastLine, "END");
    EXPECT_EQ(reader.station.DeftFile, s.deftFile);
    EXPECT_EQ(reader.station.CallSign, s.callSign);
    EXPECT_EQ(reader.station.CommPort, s.commPort);
    EXPECT_EQ(reader.station.CommBaud, s.commBaud);
  }
}

TEST_F(SetupWindowTest, QuitKeepsTheEditsInMemoryOnly) {
  WriteConfig("KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1");
  ControlProgram& p = Start();
  const std::string fileBefore = ReadFile("KESTRA.INI");
  p.setup.Show();
  p.setup.ChoosePort(2);
  p.setup.Quit();
  EXPECT_FALSE(p.setup.Visible);
  EXPECT_EQ(p.station.CommPort, "COM2");
  EXPECT_EQ(ReadFile("KESTRA.INI"), fileBefore);
  EXPECT_TRUE(serial.PortOpen());
  EXPECT_EQ(serial.CommPort(), 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(desktop.ended);
}

TEST_F(SetupWindowTest, RestartEndsTheProgramAfterSaveOrQuitButNotAfterTheFrameClose) {
  struct Case {
    const char* name;
    std::function<void(SetupMain&)> leave;
    bool restart;
  };
  const std::vector<Case> cases = {
      {"Save", [](SetupMain& w) { w.Save(); }, true},
      {"Quit", [](SetupMain& w) { w.Quit(); }, true},
      {"frame close", [](SetupMain& w) { w.CloseByFrame(); }, false},
  };
  for (const bool missing : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (missing ? ", file was missing" : ""));
      serial.Close();
      desktop.ended = false;
      WriteFile("KESTRA.TXT", "");
      ControlProgram& p = OpenedOn({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"});
      p.station.ConfigMissing = missing;
      c.leave(p.setup);
      EXPECT_FALSE(p.setup.Visible);
      const bool expected = missing && c.restart;
      EXPECT_EQ(desktop.ended, expected);
      if (expected) {
        ASSERT_EQ(desktop.boxes.size(), 1u);
        EXPECT_EQ(desktop.boxes[0].title, "Restart (creating missing file)");
        EXPECT_EQ(desktop.boxes[0].text, "Restart program!");
        EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
        EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::Ok);
      } else {
        EXPECT_TRUE(desktop.boxes.empty());
      }
    }
  }
}

TEST_F(SetupWindowTest, ShowingAnOpenWindowOnlyBringsItForward) {
  ControlProgram& p = OpenedOn({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"});
  p.setup.CallSignChanged("w1a");
  p.setup.ChoosePort(3);
  const int raised = p.setup.RaiseCount;
  p.setup.Show();
  EXPECT_EQ(p.setup.Text1, "w1a");
  EXPECT_EQ(Marked(p), (std::vector<int>{3, 4}));
  EXPECT_GT(p.setup.RaiseCount, raised);
  // Closed and opened again, it starts afresh from the settings.
  p.setup.CloseByFrame();
  p.setup.Show();
  EXPECT_EQ(p.setup.Text1, "W1A");
  EXPECT_EQ(Marked(p), (std::vector<int>{3, 4}));
}

TEST_F(SetupWindowTest, HelpShowsItsBoxOnly) {
  ControlProgram& p = OpenedOn({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"});
  p.setup.Help();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Help");
  EXPECT_EQ(desktop.boxes[0].text, "Help Yourself");
  EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::Ok);
  EXPECT_TRUE(p.setup.Visible);
  EXPECT_FALSE(std::filesystem::exists(PathOf("KESTRA.INI")));
}

TEST_F(SetupWindowTest, UnwritableConfigurationKeepsTheWindowOpen) {
  WriteConfig("KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1");
  ControlProgram& p = Start();
  std::filesystem::remove(PathOf("KESTRA.INI"));
  std::filesystem::create_directory(PathOf("KESTRA.INI"));
  p.memory.Text7 = "before";
  p.setup.Show();
  p.setup.ChoosePort(2);
  p.setup.DataFileChanged("other");
  p.setup.Save();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Unexpected Open Config File Error");
  EXPECT_EQ(desktop.boxes[0].text,
            "Error Code 75 ... Path/File access error ... KESTRA.INI ... Output");
  // Nothing else of Save happened: the user can mend the cause and save again.
  EXPECT_TRUE(p.setup.Visible);
  EXPECT_EQ(serial.CommPort(), 1);
  EXPECT_EQ(p.station.DeftFile, "other.txt");
  EXPECT_EQ(p.memory.Text7, "before");
  EXPECT_FALSE(desktop.ended);

  std::filesystem::remove(PathOf("KESTRA.INI"));
  WriteFile("OTHER.TXT", "");
  p.setup.Save();
  EXPECT_FALSE(p.setup.Visible);
  EXPECT_EQ(ReadFile("KESTRA.INI"), FileWith({"OTHER.TXT", "K1ABC", "COM2", "19200,N,8,1"}));
  EXPECT_EQ(serial.CommPort(), 2);
  EXPECT_EQ(p.memory.Text7, "Setup Process Complete");
}

TEST_F(SetupWindowTest, ReadOnlyDirectoryKeepsTheWindowOpen) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write into read-only directories";
  ControlProgram& p = OpenedOn({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"});
  ::chmod(directory.c_str(), 0555);
  p.setup.Save();
  ::chmod(directory.c_str(), 0755);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Unexpected Open Config File Error");
  EXPECT_TRUE(p.setup.Visible);
  EXPECT_FALSE(std::filesystem::exists(PathOf("KESTRA.INI")));
}

TEST_F(SetupWindowTest, DataFileNameTheSystemRefusesGetsTheDataFileBox) {
  ControlProgram& p = OpenedOn({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"});
  const std::string name(300, 'n');
  p.setup.DataFileChanged(name);
  p.setup.Save();
  // The settings were saved; opening the data file failed with its own box, not a crash.
  EXPECT_NE(ReadFile("KESTRA.INI").find("[DeftFile] " + std::string(300, 'N') + ".TXT\r\n"),
            std::string::npos);
  bool dataFileBox = false;
  for (const auto& box : desktop.boxes) {
    if (box.title.rfind("Open File", 0) == 0) dataFileBox = true;
  }
  EXPECT_TRUE(dataFileBox);
  EXPECT_FALSE(p.station.DataFileOpen);
}

// --- Without KESTRA.INI, from start to restart and a second start -------------------------

TEST_F(SetupWindowTest, MissingConfigurationFromFirstStartToSecondStart) {
  WriteFile("KESTRA.TXT", "");
  {
    ControlProgram& p = Start();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, "Open Config File Error");
    EXPECT_EQ(ReadFile("KESTRA.INI"), "");
    ASSERT_TRUE(p.setup.Visible);
    EXPECT_EQ(Marked(p), (std::vector<int>{1, 4}));
    EXPECT_EQ(p.setup.Text1, kDefaultCallSign);
    EXPECT_EQ(p.setup.Text2, "KESTRA.TXT");
    p.setup.CallSignChanged("k1abc");
    p.setup.ChoosePort(2);
    p.setup.Save();
    EXPECT_EQ(ReadFile("KESTRA.INI"), FileWith({"KESTRA.TXT", "K1ABC", "COM2", "19200,N,8,1"}));
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.boxes[1].title, "Restart (creating missing file)");
    EXPECT_EQ(desktop.boxes[1].text, "Restart program!");
    EXPECT_TRUE(desktop.ended);
  }
  // The second start finds the file and runs normally.
  program.reset();
  serial.Close();
  desktop.boxes.clear();
  desktop.ended = false;
  ClearSent();
  ControlProgram& p = Start();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(p.station.ConfigMissing);
  EXPECT_FALSE(p.setup.Visible);
  EXPECT_EQ(p.station.PortOpened, 1);
  EXPECT_EQ(serial.CommPort(), 2);
  EXPECT_EQ(p.memory.Text6, "Hello K1ABC");
  ASSERT_FALSE(Sent().empty());
  EXPECT_EQ(Sent()[0], Frame({0x03}));
  EXPECT_FALSE(desktop.ended);
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

TEST_F(SetupWindowTest, PortOptionsTellWhereEachPortLeads) {
  ControlProgram& p = OpenedOn({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"});
  serial.SetPortExists(3, false);
  EXPECT_EQ(p.setup.PortDescription(1), "COM1 is the simulated transceiver");
  EXPECT_EQ(p.setup.PortDescription(3), "COM3 is not present");
  EXPECT_EQ(p.setup.PortDescription(4), "");  // no such option
}

}  // namespace
}  // namespace tavrin
