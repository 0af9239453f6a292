// Bringing the program up: the splash, the nested start-up of the memory window, the reading
// of KESTRA.INI and what each kind of file leads to, the shared state's start values, and the
// fatal box.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/control_program.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"
#include "sim/sim_serial.h"
#include "sim/transceiver.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::Bytes;
using testing::Frame;
using testing::ProgramFixture;

class StartUpTest : public ProgramFixture {
 protected:
  // A station as Save leaves it: the settings and an (empty) data file.
  void WriteStation(const std::string& callSign = "K1ABC", const std::string& port = "COM1") {
    WriteConfig("KESTRA.TXT", callSign, port, "19200,N,8,1");
    WriteFile("KESTRA.TXT", "");
  }
  std::vector<std::string> MessageTitles() const {
    std::vector<std::string> titles;
    for (const auto& box : desktop.boxes) titles.push_back(box.title);
    return titles;
  }
};

TEST_F(StartUpTest, CompleteFileOpensPortAndDataFileAndSynchronises) {
  WriteStation();
  ControlProgram& p = Start();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(desktop.ended);
  EXPECT_EQ(p.station.PortOpened, 1);
  EXPECT_TRUE(serial.PortOpen());
  EXPECT_EQ(serial.CommPort(), 1);
  EXPECT_EQ(serial.Settings(), "19200,N,8,1");
  // The data file is open, and its full path replaces the bare name.
  EXPECT_TRUE(p.station.DataFileOpen);
  EXPECT_EQ(p.station.DataFilePath, PathOf("KESTRA.TXT"));
  EXPECT_EQ(p.station.DeftFile, PathOf("KESTRA.TXT"));
  EXPECT_EQ(p.memory.Text8, p.station.DataFilePath);
  EXPECT_TRUE(p.memory.Text8Bold);
  EXPECT_EQ(p.memory.Text7, "Open Process Complete");
  EXPECT_EQ(p.memory.Text6, "Hello K1ABC");
  EXPECT_FALSE(p.station.ConfigMissing);
  // The windows: radio in front, memory loaded and hidden, splash gone, no setup.
  EXPECT_TRUE(p.radio.Visible);
  EXPECT_TRUE(p.memory.Loaded);
  EXPECT_FALSE(p.memory.Visible);
  EXPECT_FALSE(p.splash.Visible);
  EXPECT_FALSE(p.setup.Visible);
  // The synchronisation queried the transceiver step by step and finished.
  const std::vector<std::string> sent = Sent();
  ASSERT_GE(sent.size(), 5u);
  EXPECT_EQ(sent[0], Frame({0x03}));
  EXPECT_EQ(sent[1], Frame({0x04}));
  EXPECT_EQ(sent[2], Frame({0x12}));
  EXPECT_EQ(sent[3], Frame({0x1C, 0x00}));
  EXPECT_EQ(sent[4], Frame({0x19, 0x00}));
  EXPECT_EQ(p.station.SyncStep, 0);
}

TEST_F(StartUpTest, FirstQueryLeavesOneReplyTimeAfterStartUp) {
  WriteStation();
  ControlProgram& p = Program();
  p.Begin();
  p.splash.Continue();
  ASSERT_TRUE(serial.SentFrames().empty());
  EXPECT_EQ(p.station.SyncStep, 1);
  EXPECT_TRUE(p.link.ReplyTimerArmed());
  Advance(100);
  ASSERT_FALSE(serial.SentFrames().empty());
  EXPECT_EQ(serial.SentFrames()[0].bytes, Bytes({0xFE, 0xFE, 0x64, 0xE0, 0x03, 0xFD}));
  EXPECT_LE(serial.SentFrames()[0].Ms(), 100.0);
}

TEST_F(StartUpTest, MissingFileIsReportedOnceThenTheSetupWindowOpens) {
  WriteFile("KESTRA.TXT", "");
  ControlProgram& p = Start();
  // The memory window's own start-up meets the missing file and creates it; the radio
  // window's run finds it empty.
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Open Config File Error");
  EXPECT_EQ(desktop.boxes[0].text,
            "Error Code 53 ... File not found ... KESTRA.INI ... Input ... File will be created.");
  EXPECT_TRUE(std::filesystem::exists(PathOf("KESTRA.INI")));
  EXPECT_TRUE(p.station.ConfigMissing);
  EXPECT_TRUE(p.setup.Visible);
  EXPECT_EQ(p.station.PortOpened, 0);
  EXPECT_FALSE(serial.PortOpen());
  EXPECT_FALSE(p.station.DataFileOpen);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(p.memory.Text7, "");
  EXPECT_FALSE(desktop.ended);
}

TEST_F(StartUpTest, LastLineDecidesWhatStartUpDoes) {
  struct Case {
    const char* name;
    std::string contents;
    bool setupOpens;
  };
  const std::vector<Case> cases = {
      {"empty file", "", true},
      {"ends with an empty line", "[CommPort] COM1\r\nEND\r\n\r\n", true},
      {"END with a trailing blank", "[CommPort] COM1\r\nEND \r\n", false},
      {"end in lower case", "[CommPort] COM1\r\nend\r\n", false},
      {"no END at all", "[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    program.reset();
    desktop.boxes.clear();
    serial.ClearSentFrames();
    serial.Close();
    WriteFile("KESTRA.INI", c.contents);
    WriteFile("KESTRA.TXT", "");
    ControlProgram& p = Start();
    // No message either way, the port stays closed and no data file is opened.
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_FALSE(serial.PortOpen());
    EXPECT_EQ(p.station.PortOpened, 0);
    EXPECT_FALSE(p.station.DataFileOpen);
    EXPECT_TRUE(serial.SentFrames().empty());
    EXPECT_EQ(p.station.ConfigMissing, c.setupOpens);
    EXPECT_EQ(p.setup.Visible, c.setupOpens);
    // The memory window's boxes are left as they were.
    EXPECT_EQ(p.memory.Text6, "");
    EXPECT_EQ(p.memory.Text7, "");
    EXPECT_EQ(p.memory.Text8, "");
    EXPECT_FALSE(desktop.ended);
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
  EXPECT_TRUE(serial.PortOpen());
  EXPECT_EQ(serial.CommPort(), 1);
  EXPECT_EQ(serial.Settings(), "9600,N,8,1");
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(StartUpTest, InvalidPortInTheFileIsAskedForInBothStartUps) {
  WriteStation("K1ABC", "COM7");
  desktop.Type("COM2");
  desktop.Type("COM2");
  ControlProgram& p = Start();
  // The memory window's start-up and the radio window's each read the file and meet COM7;
  // the answer is not written back.
  EXPECT_EQ(MessageTitles(),
            (std::vector<std::string>{"Open Comm Port Error", "Set Comm Port", "Setup Comm Port",
                                      "Open Comm Port Error", "Set Comm Port", "Setup Comm Port"}));
  EXPECT_TRUE(serial.PortOpen());
  EXPECT_EQ(serial.CommPort(), 2);
  EXPECT_EQ(p.station.CommPort, "COM2");
  EXPECT_EQ(p.station.PortOpened, 1);
  EXPECT_NE(ReadFile("KESTRA.INI").find("[CommPort] COM7\r\n"), std::string::npos);
  EXPECT_EQ(Sent().at(0), Frame({0x03}));
}

TEST_F(StartUpTest, FrameStringsAndFlagsStartFromKnownValues) {
  ControlProgram& p = Program();
  Station& s = p.station;
  s.CreateFileActive = s.ViewFileActive = s.UpdateRigActive = s.ViewRigActive = true;
  s.BlankRigActive = s.ScanRigActive = s.MemorySequenceBusy = s.ClearAfterSelect = true;
  s.AwaitingSquelch = s.DataFileOpen = true;
  s.SequenceChannel = 42;
  s.AutoStatusOn = false;
  s.EdgeUpper = true;
  p.link.Timer2.SetEnabled(true);
  p.InitFlags();
  p.InitFrameStrings();
  for (const bool flag : {s.CreateFileActive, s.ViewFileActive, s.UpdateRigActive, s.ViewRigActive,
                          s.BlankRigActive, s.ScanRigActive, s.MemorySequenceBusy,
                          s.ClearAfterSelect, s.AwaitingSquelch, s.DataFileOpen, s.EdgeUpper}) {
    EXPECT_FALSE(flag);
  }
  EXPECT_EQ(s.SequenceChannel, 0);
  EXPECT_TRUE(s.AutoStatusOn);
  EXPECT_FALSE(p.link.ReplyTimerArmed());
  struct Field {
    const char* name;
    const std::string& value;
    std::string expected;
  };
  const Field fields[] = {
      {"CivPreamble", s.CivPreamble, Bytes({0xFE, 0xFE, 0x64, 0xE0})},
      {"CivTail", s.CivTail, Bytes({0xFD})},
      {"SelectChannelField", s.SelectChannelField, Bytes({0, 0})},
      {"MemChannelText", s.MemChannelText, Bytes({0, 0})},
      {"VfoFrequencyField", s.VfoFrequencyField, Bytes({0, 0, 0, 0, 0})},
      {"MemFrequencyDigits", s.MemFrequencyDigits, Bytes({0, 0, 0, 0, 0})},
      {"TimeField", s.TimeField, Bytes({0, 0})},
      {"MemFilterText", s.MemFilterText, Bytes({0})},
      {"MemSelectedText", s.MemSelectedText, Bytes({0})},
      {"ToneField", s.ToneField, Bytes({0x00, 0x00, 0x08, 0x85, 0x00, 0x08, 0x85})},
      {"DecodedLabel", s.DecodedLabel, std::string(10, ' ')},
      {"MemoryRecordField", s.MemoryRecordField,
       Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x08, 0x85, 0x00, 0x08, 0x85}) +
           std::string(10, ' ')},
  };
  for (const Field& f : fields) {
    SCOPED_TRACE(f.name);
    EXPECT_EQ(f.value, f.expected);
  }
  EXPECT_EQ(s.MemoryRecordField.size(), 27u);
}

TEST_F(StartUpTest, ReportErrorShowsItsBoxAndEndsTheProgram) {
  struct Case {
    int number;
    std::string description;
    std::string title, text;
  };
  const std::vector<Case> cases = {
      {99, "", "Unexpected Radio Condition",
       "RADIO NOT READY or COM PORT ERROR! ... Check RADIO or run SETUP (menu) or Edit "
       "KESTRA.INI! ... Restart Program now!"},
      {16, "Invalid procedure call", "Unexpected Trap Condition",
       "Error Code 16 ... Invalid procedure call"},
      {12, "No mode in the answer", "Unexpected Trap Condition",
       "Error Code 12 ... No mode in the answer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    program.reset();
    desktop.boxes.clear();
    desktop.ended = false;
    ControlProgram& p = Program();
    p.ReportError(c.number, c.description);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, c.title);
    EXPECT_EQ(desktop.boxes[0].text, c.text);
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_TRUE(desktop.ended);
    EXPECT_TRUE(p.station.Ended);
    // An ended program reports nothing more and sends nothing.
    p.ReportError(7, "again");
    EXPECT_EQ(desktop.boxes.size(), 1u);
  }
}

TEST_F(StartUpTest, CloseDataFileClosesIt) {
  WriteStation();
  ControlProgram& p = Start();
  ASSERT_TRUE(p.station.DataFileOpen);
  p.CloseDataFile();
  EXPECT_FALSE(p.station.DataFileOpen);
  EXPECT_FALSE(p.dataFile.OpenForInput());
  p.CloseDataFile();  // closing a closed file does nothing
  EXPECT_FALSE(p.station.DataFileOpen);
}

// --- The splash window --------------------------------------------------------------------

TEST_F(StartUpTest, SplashShowsItsTextsAndWaitsTwoSeconds) {
  WriteStation();
  ControlProgram& p = Program();
  p.Begin();
  EXPECT_TRUE(p.splash.Visible);
  EXPECT_EQ(p.splash.lblProductName, "Tavrin2");
  EXPECT_EQ(p.splash.lblVersion, "Version 1.05");
  EXPECT_EQ(p.splash.lblDate, "Oct 30 2005");
  EXPECT_FALSE(p.splash.lblCompanyProduct.empty());
  EXPECT_FALSE(p.splash.lblPlatform.empty());
  EXPECT_NE(p.splash.lblCompanyProduct, p.splash.lblPlatform);
  EXPECT_EQ(p.splash.Text1, "Click to Continue");
  EXPECT_TRUE(p.splash.Timer1.Enabled());
  EXPECT_EQ(p.splash.Timer1.Interval(), 2000);
  Advance(1999);
  EXPECT_FALSE(p.radio.Loaded);
  EXPECT_TRUE(p.splash.Visible);
  Advance(1);
  EXPECT_TRUE(p.radio.Visible);
  EXPECT_FALSE(p.splash.Visible);
  EXPECT_FALSE(p.splash.Timer1.Enabled());
  EXPECT_EQ(p.station.PortOpened, 1);
}

TEST_F(StartUpTest, ClickOrKeyContinuesAtOnceAndOnlyOnce) {
  WriteFile("KESTRA.TXT", "");
  ControlProgram& p = Program();
  p.Begin();
  Advance(300);
  p.splash.Continue();
  EXPECT_TRUE(p.radio.Visible);
  EXPECT_FALSE(p.splash.Visible);
  EXPECT_FALSE(p.splash.Timer1.Enabled());
  ASSERT_EQ(desktop.boxes.size(), 1u);  // the missing KESTRA.INI, once
  // Neither the timer nor a second key press runs start-up again.
  p.splash.Continue();
  Advance(5000);
  EXPECT_EQ(desktop.boxes.size(), 1u);
  EXPECT_TRUE(p.setup.Visible);
}

TEST_F(StartUpTest, EachBuildShowsItsNameAndItsMainWindow) {
  struct Case {
    Build build;
    const char* product;
    const char* version;
    bool radioShown, memoryShown;
  };
  const Case cases[] = {{Build::Tavrin, "Tavrin2", "Version 1.05", true, false},
                        {Build::Korvid, "Korvid", "Version 1.00", true, false},
                        {Build::Belmarq, "Belmarq", "Version 1.00", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.product);
    program.reset();
    serial.Close();
    WriteStation();
    ControlProgram& p = Program(c.build);
    p.Begin();
    EXPECT_EQ(p.splash.lblProductName, c.product);
    EXPECT_EQ(p.splash.lblVersion, c.version);
    EXPECT_EQ(p.splash.lblDate, "Oct 30 2005");
    Advance(2000);
    EXPECT_FALSE(p.splash.Visible);
    EXPECT_EQ(p.radio.Visible, c.radioShown);
    EXPECT_EQ(p.memory.Visible, c.memoryShown);
    EXPECT_EQ(p.station.PortOpened, 1);
    Advance(1000);
  }
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

TEST(SplashDuringStartUp, StartUpRunsWithTheSplashInFront) {
  const auto directory = std::filesystem::temp_directory_path() / "splash_during_start_up";
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  VirtualClock clock;
  SplashWatchingDesktop desktop;
  Files files(directory.string());
  sim::Transceiver rig;
  SimSerial serial(clock, rig);
  Platform platform{desktop, clock, serial, files};
  {
    ControlProgram program(platform);
    desktop.program = &program;
    program.Begin();
    clock.Advance(2000);
    // The missing KESTRA.INI is reported while the splash is still up; it closes afterwards.
    ASSERT_EQ(desktop.splashShownAtBox.size(), 1u);
    EXPECT_TRUE(desktop.splashShownAtBox[0]);
    EXPECT_FALSE(program.splash.Visible);
    EXPECT_TRUE(program.radio.Visible);
    desktop.program = nullptr;
  }
  std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace tavrin
