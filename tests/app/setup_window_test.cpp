// SPDX-License-Identifier: GPL-3.0-or-later
// The setup window: what opening it does to the four settings, the rules that run as the user
// clicks and types, Save with what it writes and re-opens, Quit, Help, the frame's close, and
// the restart that ends a program started without KESTRA.INI.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::BoxTexts;
using testing::Frame;
using testing::IniText;
using testing::PortState;
using testing::ProgramFixture;
using testing::Settings;
using testing::SettingsOf;

const Settings kSaved = {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"};
const std::string kRestartBox = "Restart (creating missing file): Restart program!";

class SetupWindowTest : public ProgramFixture {
 protected:
  // A program with these settings in memory and the setup window opened on them.
  ControlProgram& OpenedOn(const Settings& s) {
    program.reset();
    desktop.boxes.clear();
    ControlProgram& p = Program();
    p.InitFrameStrings();
    testing::Apply(s, p.station);
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
    Settings before;
    std::vector<int> marked;
    std::string text1, text2;
    Settings after;  // empty: as before
  };
  // clang-format off
  const std::vector<Case> cases = {
      {{"KESTRA.TXT", "K1ABC", "COM2", "9600,N,8,1"}, {2, 5}, "K1ABC", "KESTRA.TXT", {}},
      {{"", "", "", ""}, {1, 4}, kDefaultCallSign, "KESTRA.TXT",
       {"KESTRA.TXT", kDefaultCallSign, "COM1", "19200,N,8,1"}},
      // A hand-edited port or speed marks no option of its group.
      {{"KESTRA.TXT", "K1ABC", "COM4", "4800,N,8,1"}, {6}, "K1ABC", "KESTRA.TXT", {}},
      {{"KESTRA.TXT", "K1ABC", "com3", "19200,n,8,1"}, {}, "K1ABC", "KESTRA.TXT", {}},
      {{"KESTRA.TXT", "k1abc", "COM1", "19200,N,8,1"}, {1, 4}, "k1abc", "KESTRA.TXT",
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"}},
      {{"C:\\RADIO\\nets.dat", "W1AW", "COM3", "19200,N,8,1"}, {3, 4}, "W1AW", "NETS.DAT",
       {"NETS.DAT", "W1AW", "COM3", "19200,N,8,1"}},
      {{"mylist", "W1AW", "COM1", "19200,N,8,1"}, {1, 4}, "W1AW", "MYLIST",
       {"MYLIST.txt", "W1AW", "COM1", "19200,N,8,1"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before.deftFile + "|" + c.before.callSign + "|" + c.before.commPort);
    ControlProgram& p = OpenedOn(c.before);
    EXPECT_TRUE(p.setup.Visible);
    EXPECT_EQ(p.setup.Caption, "System Setup");
    EXPECT_EQ(Marked(p), c.marked);
    EXPECT_EQ(p.setup.Text1, c.text1);
    EXPECT_EQ(p.setup.Text2, c.text2);
    EXPECT_EQ(SettingsOf(p.station), c.after.deftFile.empty() ? c.before : c.after);
    EXPECT_TRUE(desktop.boxes.empty());
  }
}

TEST_F(SetupWindowTest, ClicksAndTypingChangeTheSettingsAtOnce) {
  ControlProgram& p = OpenedOn(kSaved);
  SetupMain& w = p.setup;
  const auto data = [&](const char* text) { return [&w, text] { w.DataFileChanged(text); }; };
  const auto call = [&](const char* text) { return [&w, text] { w.CallSignChanged(text); }; };
  // clang-format off
  const std::vector<std::pair<std::function<void()>, Settings>> steps = {
      {[&] { w.ChoosePort(3); },   {"KESTRA.TXT", "K1ABC", "COM3", "19200,N,8,1"}},
      {[&] { w.ChooseSpeed(6); },  {"KESTRA.TXT", "K1ABC", "COM3", "4800,N,8,1"}},
      {call("g4xyz"),              {"KESTRA.TXT", "G4XYZ", "COM3", "4800,N,8,1"}},
      {call("{k1~}"),              {"KESTRA.TXT", "[K1^]", "COM3", "4800,N,8,1"}},
      {call("\xE9\x80"),           {"KESTRA.TXT", "\xC9\x60", "COM3", "4800,N,8,1"}},
      {call(""),                   {"KESTRA.TXT", "", "COM3", "4800,N,8,1"}},
      {data("mylist"),             {"mylist.txt", "", "COM3", "4800,N,8,1"}},
      {data("C:\\RADIO\\NETS.DAT"), {"C:\\RADIO\\NETS.DAT", "", "COM3", "4800,N,8,1"}},
      {data("C:\\DATA\\"),         {"C:\\DATA\\.txt", "", "COM3", "4800,N,8,1"}},
      {data(" nets.txt"),          {"KESTRA.TXT", "", "COM3", "4800,N,8,1"}},
      {data("A.DATA"),             {"A.DATA.txt", "", "COM3", "4800,N,8,1"}},
      {data("X.TX"),               {"X.TX.txt", "", "COM3", "4800,N,8,1"}},
      {data(""),                   {"KESTRA.TXT", "", "COM3", "4800,N,8,1"}},
      {[&] { w.ChoosePort(2); },   {"KESTRA.TXT", "", "COM2", "4800,N,8,1"}},
      {[&] { w.ChooseSpeed(5); },  {"KESTRA.TXT", "", "COM2", "9600,N,8,1"}},
  };
  // clang-format on
  for (std::size_t i = 0; i < steps.size(); ++i) {
    steps[i].first();
    EXPECT_EQ(SettingsOf(p.station), steps[i].second) << "step " << i;
  }
  EXPECT_EQ(Marked(p), (std::vector<int>{2, 5}));
  // The fields keep what was typed.
  EXPECT_EQ(w.Text1, "");
  EXPECT_EQ(w.Text2, "");
  // Every keystroke runs the rule on the whole field: only the final text counts.
  const std::string typed = "mylist";
  for (std::size_t n = 1; n <= typed.size(); ++n) w.DataFileChanged(typed.substr(0, n));
  EXPECT_EQ(w.Text2, "mylist");
  EXPECT_EQ(p.station.DeftFile, "mylist.txt");
  w.CallSignChanged("k");
  w.CallSignChanged("k1");
  EXPECT_EQ(w.Text1, "k1");
  EXPECT_EQ(p.station.CallSign, "K1");
}

TEST_F(SetupWindowTest, SaveWritesTheFileReopensPortAndDataFileAndReadsBack) {
  struct Case {
    Settings before;
    const char *typedFile, *typedCall;  // nullptr: field untouched
    int port, speed;                    // option clicked, 0 for none
    Settings written;
    int openedPort;     // 0: the port does not exist here, its error flow runs
    Settings readBack;  // empty: as written
  };
  // clang-format off
  const std::vector<Case> cases = {
      {{"KESTRA.TXT", "K1ABC", "COM4", "19200,N,8,1"}, nullptr, nullptr, 0, 0,
       {"KESTRA.TXT", "K1ABC", "COM4", "19200,N,8,1"}, 0, {}},
      {{"KESTRA.TXT", "k1abc", "COM1", "19200,N,8,1"}, nullptr, nullptr, 0, 0,
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"}, 1, {}},
      {kSaved, "mylist", nullptr, 0, 0, {"MYLIST.TXT", "K1ABC", "COM1", "19200,N,8,1"}, 1, {}},
      {kSaved, "C:\\RADIO\\NETS.DAT", nullptr, 0, 0,
       {"NETS.DAT", "K1ABC", "COM1", "19200,N,8,1"}, 1, {}},
      {kSaved, "C:\\DATA\\", nullptr, 0, 0, {".TXT", "K1ABC", "COM1", "19200,N,8,1"}, 1, {}},
      {kSaved, nullptr, "{k1~}", 0, 0, {"KESTRA.TXT", "[K1^]", "COM1", "19200,N,8,1"}, 1, {}},
      {kSaved, nullptr, "", 0, 0, {"KESTRA.TXT", kDefaultCallSign, "COM1", "19200,N,8,1"}, 1, {}},
      {kSaved, "NETS.TXT", "VE3ABC/QRP", 3, 6, {"NETS.TXT", "VE3ABC/QRP", "COM3", "4800,N,8,1"},
       3, {}},
      {kSaved, "LOG.TXT", "G4XYZ", 2, 5, {"LOG.TXT", "G4XYZ", "COM2", "9600,N,8,1"}, 2, {}},
      // Saved whole; start-up reads them back within the reader's limits.
      {kSaved, "longdatafile.txt", "dl1abc/mobile", 0, 0,
       {"LONGDATAFILE.TXT", "DL1ABC/MOBILE", "COM1", "19200,N,8,1"}, 1,
       {"LONGDATAFILE", "DL1ABC/MOB", "COM1", "19200,N,8,1"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written.deftFile + "|" + c.written.callSign);
    serial.Close();
    WriteFile(c.written.deftFile, "");
    ControlProgram& p = OpenedOn(c.before);
    if (c.typedFile != nullptr) p.setup.DataFileChanged(c.typedFile);
    if (c.typedCall != nullptr) p.setup.CallSignChanged(c.typedCall);
    if (c.port != 0) p.setup.ChoosePort(c.port);
    if (c.speed != 0) p.setup.ChooseSpeed(c.speed);
    p.setup.Save();
    EXPECT_EQ(ReadFile("KESTRA.INI"), IniText(c.written));
    if (c.openedPort != 0) {
      EXPECT_EQ(PortState(serial), c.written.commPort + " " + c.written.commBaud);
      EXPECT_EQ(p.station.PortOpened, 1);
      EXPECT_TRUE(desktop.boxes.empty());
    } else {
      EXPECT_EQ(desktop.boxes.at(0).title, "Open Comm Port Error");
    }
    // Data file: opened, and its full path now stands in the setting. A name longer than 12
    // characters is taken as a path of its own and kept as it is.
    const std::string path =
        c.written.deftFile.size() > 12 ? c.written.deftFile : PathOf(c.written.deftFile);
    EXPECT_TRUE(p.station.DataFileOpen && p.memory.Text8Bold);
    for (const std::string* shown : {&p.station.DataFilePath, &p.station.DeftFile, &p.memory.Text8})
      EXPECT_EQ(*shown, path);
    EXPECT_EQ(p.memory.Text7, "Setup Process Complete");
    EXPECT_FALSE(p.setup.Visible || desktop.ended);
    program.reset();
    ControlProgram& reader = Program();
    ASSERT_EQ(ReadConfigFile(reader).lastLine, "END");
    EXPECT_EQ(SettingsOf(reader.station), c.readBack.deftFile.empty() ? c.written : c.readBack);
  }
}

TEST_F(SetupWindowTest, QuitAfterCom2KeepsTheEditInMemoryOnly) {
  WriteConfig();
  ControlProgram& p = Start();
  const std::string fileBefore = ReadFile("KESTRA.INI");
  p.setup.Show();
  p.setup.ChoosePort(2);
  p.setup.Quit();
  EXPECT_FALSE(p.setup.Visible || desktop.ended);
  EXPECT_EQ(p.station.CommPort, "COM2");
  EXPECT_EQ(ReadFile("KESTRA.INI"), fileBefore);
  EXPECT_EQ(PortState(serial), "COM1 19200,N,8,1");
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(SetupWindowTest, RestartEndsTheProgramAfterSaveOrQuitButNotAfterTheFrameClose) {
  // Save, Quit, and the frame's close control, which skips the restart.
  const std::function<void(SetupMain&)> ways[] = {&SetupMain::Save, &SetupMain::Quit,
                                                  &SetupMain::CloseByFrame};
  WriteFile("KESTRA.TXT", "");
  for (const bool missing : {true, false}) {
    for (std::size_t way = 0; way < std::size(ways); ++way) {
      SCOPED_TRACE("way " + std::to_string(way) + (missing ? ", file was missing" : ""));
      serial.Close();
      desktop.ended = false;
      ControlProgram& p = OpenedOn(kSaved);
      p.station.ConfigMissing = missing;
      ways[way](p.setup);
      EXPECT_FALSE(p.setup.Visible);
      const bool restart = missing && way != 2;
      EXPECT_EQ(desktop.ended, restart);
      EXPECT_EQ(BoxTexts(desktop),
                restart ? std::vector<std::string>{kRestartBox} : std::vector<std::string>{});
      if (restart) {
        EXPECT_EQ(desktop.boxes.at(0).icon, BoxIcon::Critical);
        EXPECT_EQ(desktop.boxes.at(0).buttons, BoxButtons::Ok);
      }
    }
  }
}

TEST_F(SetupWindowTest, ShowingAnOpenWindowOnlyBringsItForward) {
  ControlProgram& p = OpenedOn(kSaved);
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
  // Help shows its box only.
  p.setup.Help();
  EXPECT_EQ(BoxTexts(desktop), std::vector<std::string>{"Help: Help Yourself"});
  EXPECT_TRUE(p.setup.Visible);
  EXPECT_FALSE(std::filesystem::exists(PathOf("KESTRA.INI")));
}

TEST_F(SetupWindowTest, UnwritableConfigurationKeepsTheWindowOpen) {
  WriteConfig();
  ControlProgram& p = Start();
  std::filesystem::remove(PathOf("KESTRA.INI"));
  std::filesystem::create_directory(PathOf("KESTRA.INI"));
  p.memory.Text7 = "before";
  p.setup.Show();
  p.setup.ChoosePort(2);
  p.setup.DataFileChanged("other");
  p.setup.Save();
  EXPECT_EQ(BoxTexts(desktop),
            std::vector<std::string>{"Save Config File Error: Error Code 75 ... Path/File access "
                                     "error ... " +
                                     PathOf("KESTRA.INI") +
                                     " ... Output ... The settings were not saved ... KESTRA.INI "
                                     "was kept as it was."});
  // Nothing else of Save happened: the user can mend the cause and save again.
  EXPECT_TRUE(p.setup.Visible);
  EXPECT_FALSE(desktop.ended);
  EXPECT_EQ(PortState(serial), "COM1 19200,N,8,1");
  EXPECT_EQ(p.station.DeftFile, "other.txt");
  EXPECT_EQ(p.memory.Text7, "before");

  std::filesystem::remove(PathOf("KESTRA.INI"));
  WriteFile("OTHER.TXT", "");
  p.setup.Save();
  EXPECT_FALSE(p.setup.Visible);
  EXPECT_EQ(ReadFile("KESTRA.INI"), IniText({"OTHER.TXT", "K1ABC", "COM2", "19200,N,8,1"}));
  EXPECT_EQ(PortState(serial), "COM2 19200,N,8,1");
  EXPECT_EQ(p.memory.Text7, "Setup Process Complete");
}

TEST_F(SetupWindowTest, DataFileNameTheSystemRefusesGetsTheDataFileBox) {
  ControlProgram& p = OpenedOn(kSaved);
  p.setup.DataFileChanged(std::string(300, 'n'));
  p.setup.Save();
  // The settings were saved; opening the data file failed with its own box, not a crash.
  EXPECT_NE(ReadFile("KESTRA.INI").find("[DeftFile] " + std::string(300, 'N') + ".TXT\r\n"),
            std::string::npos);
  bool dataFileBox = false;
  for (const auto& box : desktop.boxes) dataFileBox |= box.title.rfind("Open File", 0) == 0;
  EXPECT_TRUE(dataFileBox);
  EXPECT_FALSE(p.station.DataFileOpen);
}

// --- The device behind each port --------------------------------------------------------------

// A folder standing for the machine's /dev: device files are plain files here.
class DeviceTest : public SetupWindowTest {
 protected:
  std::string Device(const std::string& name) {
    const std::filesystem::path path = directory / "machine" / "dev" / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "";
    return path.string();
  }
  std::string LinkOf(const std::string& name) const {
    std::error_code ec;
    return std::filesystem::read_symlink(directory / name, ec).string();
  }
  // The window open on a program that runs with COM1 open.
  ControlProgram& Running() {
    WriteConfig();
    ControlProgram& p = Start();
    desktop.boxes.clear();
    p.setup.Show();
    return p;
  }
};

TEST_F(DeviceTest, PortsShowTheirDevicesAndTheListTheDevicesPresent) {
  const std::string usb0 = Device("ttyUSB0");
  const std::string byId =
      (directory / "machine/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0").string();
  std::filesystem::create_directories(std::filesystem::path(byId).parent_path());
  std::filesystem::create_symlink("../../ttyUSB0", byId);
  serial.SetPortExists(3, false);
  ControlProgram& p = Running();
  EXPECT_EQ(p.setup.PortDevice[1], "the simulated transceiver");
  EXPECT_EQ(p.setup.PortDevice[3], "not present");
  EXPECT_EQ(p.setup.DeviceList,
            std::vector<std::string>{byId + "  (FTDI FT232R USB UART A1, " + usb0 + ")"});
  EXPECT_EQ(p.setup.DeviceListIndex, -1);
  // A cable plugged in while the window is open shows up within two seconds.
  const std::string acm0 = Device("ttyACM0");
  Advance(2000);
  ASSERT_EQ(p.setup.DeviceList.size(), 2u);
  EXPECT_EQ(p.setup.DeviceList[1], acm0);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(DeviceTest, ChoosingADeviceLinksTheMarkedPortAndKestraIniKeepsItsLayout) {
  const std::string usb0 = Device("ttyUSB0");
  const std::string usb1 = Device("ttyUSB1");
  struct Case {
    int port;  // option marked before the choice, 0 none (a hand-edited COM4)
    std::string link, commPort;
  };
  const std::vector<Case> cases = {{1, "com1", "COM1"}, {3, "com3", "COM3"}, {0, "com1", "COM1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port);
    std::filesystem::remove(directory / c.link);
    ControlProgram& p = OpenedOn(
        {"KESTRA.TXT", "K1ABC", c.port ? "COM" + std::to_string(c.port) : "COM4", "19200,N,8,1"});
    p.setup.ChooseDevice(1);
    EXPECT_EQ(LinkOf(c.link), usb1);
    EXPECT_EQ(p.setup.DeviceListIndex, 1);
    EXPECT_EQ(p.setup.Text3, usb1);
    EXPECT_EQ(p.station.CommPort, c.commPort);
    EXPECT_EQ(p.setup.StatusLine(),
              "Com " + c.link.substr(3) + " now leads to " + usb1 + ". Save to use it.");
    // Another choice replaces the link.
    p.setup.ChooseDevice(0);
    EXPECT_EQ(LinkOf(c.link), usb0);
    p.setup.ChooseDevice(7);  // no such line: nothing happens
    EXPECT_EQ(LinkOf(c.link), usb0);
    EXPECT_TRUE(desktop.boxes.empty());
    p.setup.Save();
    EXPECT_EQ(ReadFile("KESTRA.INI"), IniText({"KESTRA.TXT", "K1ABC", c.commPort, "19200,N,8,1"}));
  }
}

TEST_F(DeviceTest, ATypedPathIsLinkedAndOneThatIsNotThereIsAskedFirst) {
  const std::string usb0 = Device("ttyUSB0");
  ControlProgram& p = OpenedOn(kSaved);
  p.setup.UsePath();
  EXPECT_EQ(p.setup.StatusLine(), "Type the device first, for example /dev/ttyUSB0.");
  p.setup.DevicePathChanged("  " + usb0 + " ");
  p.setup.UsePath();
  EXPECT_EQ(LinkOf("com1"), usb0);
  EXPECT_EQ(p.setup.DeviceListIndex, 0);
  const std::string later = "/dev/serial/by-id/usb-Silicon_Labs_CP2102-if00-port0";
  for (const bool yes : {false, true}) {
    desktop.boxes.clear();
    if (yes) {
      desktop.AnswerYes();
    } else {
      desktop.AnswerNo();
    }
    p.setup.DevicePathChanged(later);
    p.setup.UsePath();
    EXPECT_EQ(BoxTexts(desktop), std::vector<std::string>{"Device Path: " + later +
                                                          " is not there now ... Let Com 1 lead "
                                                          "to it all the same?"});
    EXPECT_EQ(LinkOf("com1"), yes ? later : usb0);
  }
  // A comN that is a file of the user's is never replaced.
  WriteFile("com2", "mine");
  desktop.boxes.clear();
  p.setup.ChoosePort(2);
  p.setup.DevicePathChanged(usb0);
  p.setup.UsePath();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Set Comm Port Error");
  EXPECT_EQ(ReadFile("com2"), "mine");
}

// Two devices, one with nothing answering on it and one with the transceiver at 9600 baud:
// each is asked its identity at 19200, 9600 and 4800 baud, one device and speed at a time,
// until the transceiver answers; the port's link and options follow, and the box offers Save.
TEST_F(DeviceTest, FindTransceiverPicksTheDeviceThatAnswersAtItsSpeed) {
  const std::string silent = Device("ttyUSB0");
  const std::string radio = Device("ttyUSB1");
  sim::Transceiver other;
  devices.Connect(radio, other, 9600);
  for (const bool save : {false, true}) {
    SCOPED_TRACE(save ? "saved" : "not saved");
    program.reset();
    serial.Close();
    ControlProgram& p = Running();
    ClearSent();
    const std::size_t silentBefore = devices.SentTo(silent).size();
    const std::size_t radioBefore = devices.SentTo(radio).size();
    if (!save) desktop.AnswerNo();
    p.setup.FindTransceiver();
    // The program's own port is let go while the devices are asked.
    EXPECT_EQ(PortState(serial), "closed");
    EXPECT_TRUE(p.setup.Finding());
    EXPECT_EQ(p.setup.StatusLine(), "Asking " + silent + " at 19200 baud ...");
    Advance(60);
    EXPECT_EQ(p.setup.StatusLine(), "Asking " + silent + " at 9600 baud ...");
    Advance(250);
    EXPECT_FALSE(p.setup.Finding());
    const std::string identity = Frame({0x19, 0x00});
    EXPECT_EQ(devices.SentTo(silent).size(), silentBefore + 3);
    EXPECT_EQ(devices.SentTo(radio).size(), radioBefore + 2);
    for (const std::string& path : {silent, radio}) {
      for (const std::string& frame : devices.SentTo(path)) EXPECT_EQ(frame, identity);
    }
    EXPECT_TRUE(Sent().empty()) << "nothing went to the program's own port";
    EXPECT_EQ(BoxTexts(desktop),
              std::vector<std::string>{"Find Transceiver: The transceiver answered on " + radio +
                                       " at 9600 baud ... Com 1 now leads to it and 9600,N,8,1 "
                                       "is marked ... Save the settings now?"});
    EXPECT_EQ(LinkOf("com1"), radio);
    EXPECT_EQ(p.setup.DeviceListIndex, 1);
    EXPECT_EQ(p.station.CommBaud, "9600,N,8,1");
    EXPECT_EQ(p.setup.Visible, !save);
    EXPECT_EQ(PortState(serial), "COM1 9600,N,8,1") << "the port opened again, at the new speed";
    EXPECT_EQ(ReadFile("KESTRA.INI"),
              save ? IniText({"KESTRA.TXT", "K1ABC", "COM1", "9600,N,8,1"})
                   : IniText({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"}));
  }
}

TEST_F(DeviceTest, FindTransceiverNamesWhatItCouldNotAsk) {
  ControlProgram& p = Running();
  p.setup.FindTransceiver();
  EXPECT_EQ(BoxTexts(desktop),
            std::vector<std::string>{"Find Transceiver: No serial device was found ... Plug in "
                                     "the CI-V cable, wait a few seconds and try again."});
  EXPECT_EQ(PortState(serial), "COM1 19200,N,8,1") << "the program's own port opened again";

  const std::string busy = Device("ttyUSB0");
  const std::string barred = Device("ttyUSB1");
  const std::string silent = Device("ttyUSB2");
  const std::string advice =
      barred +
      " belongs to the group dialout. Add yourself with: sudo adduser alice dialout, "
      "then log out and in again.";
  devices.FailOpen(busy, {kErrorPortAlreadyOpen, "Port already open"});
  devices.FailOpen(barred, {kErrorPermissionDenied, "Permission denied", advice});
  desktop.boxes.clear();
  p.setup.FindTransceiver();
  Advance(200);
  EXPECT_EQ(BoxTexts(desktop),
            std::vector<std::string>{
                "Find Transceiver: No transceiver answered on " + silent +
                " at 19200, 9600, 4800 baud ... In use by another program: " + busy +
                " ... Not open to this user: " + barred + " ... " + advice +
                " ... Check that the transceiver is switched on, that its CI-V address is 64 and "
                "its CI-V speed one of these, and that the cable is plugged in."});
  EXPECT_TRUE(devices.SentTo(busy).empty() && devices.SentTo(barred).empty());
  EXPECT_EQ(p.setup.StatusLine(), "No transceiver answered.");

  // Quit in the middle of a search stops it: no box, no more questions, the port back.
  desktop.boxes.clear();
  p.setup.FindTransceiver();
  Advance(60);
  p.setup.Quit();
  const std::size_t asked = devices.SentTo(silent).size();
  Advance(500);
  EXPECT_EQ(devices.SentTo(silent).size(), asked);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(PortState(serial), "COM1 19200,N,8,1");
}

// --- Without KESTRA.INI, from start to restart and a second start -------------------------

TEST_F(SetupWindowTest, MissingConfigurationFromFirstStartToSecondStart) {
  WriteFile("KESTRA.TXT", "");
  {
    ControlProgram& p = Start();
    // The memory window's own start-up meets the missing file and creates it, once.
    EXPECT_EQ(BoxTexts(desktop),
              std::vector<std::string>{"Open Config File Error: Error Code 53 ... File not found "
                                       "... KESTRA.INI ... Input ... File will be created."});
    EXPECT_EQ(ReadFile("KESTRA.INI"), "");
    EXPECT_TRUE(p.station.ConfigMissing && Sent().empty());
    EXPECT_EQ(p.station.PortOpened, 0);
    EXPECT_FALSE(serial.PortOpen() || p.station.DataFileOpen);
    EXPECT_EQ(p.memory.Text7, "");
    ASSERT_TRUE(p.setup.Visible);
    EXPECT_EQ(Marked(p), (std::vector<int>{1, 4}));
    EXPECT_EQ(p.setup.Text1, kDefaultCallSign);
    EXPECT_EQ(p.setup.Text2, "KESTRA.TXT");
    p.setup.CallSignChanged("k1abc");
    p.setup.ChoosePort(2);
    p.setup.Save();
    EXPECT_EQ(ReadFile("KESTRA.INI"), IniText({"KESTRA.TXT", "K1ABC", "COM2", "19200,N,8,1"}));
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(BoxTexts(desktop)[1], kRestartBox);
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
  EXPECT_FALSE(p.station.ConfigMissing || p.setup.Visible || desktop.ended);
  EXPECT_EQ(p.station.PortOpened, 1);
  EXPECT_EQ(PortState(serial), "COM2 19200,N,8,1");
  EXPECT_EQ(p.memory.Text6, "Hello K1ABC");
  EXPECT_EQ(Sent().at(0), Frame({0x03}));
}

TEST_F(SetupWindowTest, SaveOnAFullDiskSaysSoAndNeverAsksForARestart) {
  // Started without KESTRA.INI (created empty), then Save on a disk with no room left.
  WriteFile("KESTRA.TXT", "");
  ControlProgram& p = Start();
  ASSERT_TRUE(p.station.ConfigMissing && p.setup.Visible);
  desktop.boxes.clear();
  files.InjectWriteFault(WriteFault{WriteFault::Stage::Write, ENOSPC, 0});
  p.setup.Save();
  EXPECT_EQ(BoxTexts(desktop),
            std::vector<std::string>{"Save Config File Error: Error Code 61 ... No space left on "
                                     "device ... " +
                                     PathOf("KESTRA.INI") +
                                     " ... Output ... The settings were not saved ... KESTRA.INI "
                                     "was kept as it was."});
  EXPECT_FALSE(desktop.ended) << "no \"Restart program!\" after a Save that did not save";
  EXPECT_TRUE(p.setup.Visible);
  EXPECT_EQ(ReadFile("KESTRA.INI"), "");

  // Room again: the same Save goes through and asks for the restart.
  files.InjectWriteFault(std::nullopt);
  desktop.boxes.clear();
  p.setup.Save();
  EXPECT_EQ(ReadFile("KESTRA.INI"),
            IniText({"KESTRA.TXT", kDefaultCallSign, "COM1", "19200,N,8,1"}));
  EXPECT_EQ(BoxTexts(desktop), std::vector<std::string>{kRestartBox});
  EXPECT_TRUE(desktop.ended);
}

}  // namespace
}  // namespace tavrin
