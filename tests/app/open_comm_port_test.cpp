// Opening the serial port from CommPort and CommBaud, and the three ways it can fail: a port
// that does not exist (asked for again), a port held by another program, anything else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::Frame;
using testing::ProgramFixture;

class OpenCommPortTest : public ProgramFixture {
 protected:
  ControlProgram& WithSettings(const std::string& port, const std::string& settings) {
    ControlProgram& p = Program();
    p.InitFrameStrings();
    p.station.CommPort = port;
    p.station.CommBaud = settings;
    return p;
  }
};

TEST_F(OpenCommPortTest, OpensThePortNamedByTheFourthCharacter) {
  struct Case {
    std::string port;
    int number;
  };
  const std::vector<Case> cases = {{"COM1", 1}, {"COM2", 2}, {"COM3", 3}, {"COM12", 1},
                                   {"com3", 3}, {"XYZ2", 2}, {"COM3 ", 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port);
    program.reset();
    serial.Close();
    ControlProgram& p = WithSettings(c.port, "9600,N,8,1");
    p.OpenCommPort();
    EXPECT_TRUE(serial.PortOpen());
    EXPECT_EQ(serial.CommPort(), c.number);
    EXPECT_EQ(serial.Settings(), "9600,N,8,1");
    EXPECT_EQ(p.station.PortOpened, 1);
    EXPECT_EQ(p.station.CommPort, c.port);
    EXPECT_TRUE(desktop.boxes.empty());
  }
}

TEST_F(OpenCommPortTest, ReopeningClosesTheOldPortFirst) {
  ControlProgram& p = WithSettings("COM1", "19200,N,8,1");
  p.OpenCommPort();
  ASSERT_EQ(serial.CommPort(), 1);
  p.station.CommPort = "COM3";
  p.station.CommBaud = "4800,N,8,1";
  p.OpenCommPort();
  EXPECT_TRUE(serial.PortOpen());
  EXPECT_EQ(serial.CommPort(), 3);
  EXPECT_EQ(serial.Settings(), "4800,N,8,1");
  // Opening the same port again works too: it is closed before it is opened.
  p.OpenCommPort();
  EXPECT_TRUE(serial.PortOpen());
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(OpenCommPortTest, InvalidPortIsAskedForAndTriedAgain) {
  struct Case {
    const char* name;
    std::string port;
    std::string answer;  // typed into the input box; empty is Cancel
    std::string askedDefault, newPort;
    int number;
  };
  const std::vector<Case> cases = {
      {"typed in lower case", "COM7", "com2", "COM7", "COM2", 2},
      {"cancelled", "COM7", "", "COM7", "COM1", 1},
      {"no port at all", "", "COM3", "COM1", "COM3", 3},
      {"port number zero", "COM0", "COM3", "COM0", "COM3", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    program.reset();
    serial.Close();
    desktop.boxes.clear();
    WriteConfig("KESTRA.TXT", "K1ABC", c.port, "19200,N,8,1");
    const std::string fileBefore = ReadFile("KESTRA.INI");
    ControlProgram& p = WithSettings(c.port, "19200,N,8,1");
    if (!c.answer.empty()) desktop.Type(c.answer);
    p.OpenCommPort();
    ASSERT_EQ(desktop.boxes.size(), 3u);
    EXPECT_EQ(desktop.boxes[0].kind, RecordedBox::Kind::Message);
    EXPECT_EQ(desktop.boxes[0].title, "Open Comm Port Error");
    EXPECT_EQ(desktop.boxes[0].text,
              "Error Code 8002 ... Invalid port number ... " + c.port + " ... 19200,N,8,1");
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(desktop.boxes[1].kind, RecordedBox::Kind::Input);
    EXPECT_EQ(desktop.boxes[1].title, "Set Comm Port");
    EXPECT_EQ(desktop.boxes[1].text, "Enter Radio Interface COMM PORT (ie..com1)");
    EXPECT_EQ(desktop.boxes[1].defaultAnswer, c.askedDefault);
    EXPECT_EQ(desktop.boxes[2].title, "Setup Comm Port");
    EXPECT_EQ(desktop.boxes[2].text,
              c.newPort + " Temporarily Enabled. Run SETUP (menu) to Re-Configure.");
    EXPECT_EQ(desktop.boxes[2].icon, BoxIcon::None);
    EXPECT_EQ(p.station.CommPort, c.newPort);
    EXPECT_TRUE(serial.PortOpen());
    EXPECT_EQ(serial.CommPort(), c.number);
    EXPECT_EQ(p.station.PortOpened, 1);
    EXPECT_EQ(ReadFile("KESTRA.INI"), fileBefore);
  }
}

TEST_F(OpenCommPortTest, InvalidPortIsAskedForThreeTimesAtMost) {
  ControlProgram& p = WithSettings("COM7", "19200,N,8,1");
  desktop.Type("COM8");
  desktop.Type("COM9");
  desktop.Type("COM5");
  desktop.Type("COM2");  // never asked for
  p.OpenCommPort();
  EXPECT_EQ(desktop.InputBoxes().size(), 3u);
  EXPECT_EQ(desktop.PendingInputs(), 1u);
  std::vector<std::string> errors;
  for (const auto& box : desktop.MessageBoxes()) {
    if (box.title == "Open Comm Port Error") errors.push_back(box.text);
  }
  EXPECT_EQ(errors, (std::vector<std::string>{
                        "Error Code 8002 ... Invalid port number ... COM7 ... 19200,N,8,1",
                        "Error Code 8002 ... Invalid port number ... COM8 ... 19200,N,8,1",
                        "Error Code 8002 ... Invalid port number ... COM9 ... 19200,N,8,1",
                        "Error Code 8002 ... Invalid port number ... COM5 ... 19200,N,8,1"}));
  EXPECT_FALSE(serial.PortOpen());
  EXPECT_EQ(p.station.PortOpened, 0);
  EXPECT_EQ(p.station.CommPort, "COM5");
  EXPECT_FALSE(desktop.ended);
}

TEST_F(OpenCommPortTest, OtherFailuresAreReportedAndLeaveThePortClosed) {
  struct Case {
    const char* name;
    std::string port, settings;
    bool heldElsewhere;
    std::string title, text;
  };
  const std::vector<Case> cases = {
      {"held by another program", "COM2", "19200,N,8,1", true,
       "Comm Port Error - Port Already Open",
       "Error Code 8005 ... Port already open ... COM2 ... 19200,N,8,1"},
      {"malformed settings", "COM1", "19200,X,8", false, "Open Comm Port - Unexpected Error",
       "Error Code 380 ... Invalid property value ... COM1 ... 19200,X,8"},
      {"empty settings", "COM1", "", false, "Open Comm Port - Unexpected Error",
       "Error Code 380 ... Invalid property value ... COM1 ... "},
  };
  for (const Case& c : cases) {
    for (const int openedBefore : {0, 1}) {
      SCOPED_TRACE(std::string(c.name) + (openedBefore ? ", was open" : ", never open"));
      program.reset();
      serial.Close();
      desktop.boxes.clear();
      ControlProgram& p = WithSettings(c.port, c.settings);
      p.station.PortOpened = openedBefore;
      serial.SetHeldElsewhere(c.heldElsewhere);
      p.OpenCommPort();
      serial.SetHeldElsewhere(false);
      ASSERT_EQ(desktop.boxes.size(), 1u);
      EXPECT_EQ(desktop.boxes[0].title, c.title);
      EXPECT_EQ(desktop.boxes[0].text, c.text);
      EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
      EXPECT_TRUE(desktop.InputBoxes().empty());
      EXPECT_FALSE(serial.PortOpen());
      EXPECT_EQ(p.station.PortOpened, openedBefore);  // never set back
      EXPECT_FALSE(desktop.ended);
    }
  }
}

TEST_F(OpenCommPortTest, FramesAreDroppedAfterAFailedReopen) {
  ControlProgram& p = WithSettings("COM1", "19200,N,8,1");
  p.OpenCommPort();
  p.link.SendCivCommand("\x03");
  Advance(60);
  ASSERT_EQ(Sent().size(), 1u);
  ClearSent();
  // Another program takes the port while it is re-opened: PortOpened stays 1.
  serial.SetHeldElsewhere(true);
  p.OpenCommPort();
  ASSERT_EQ(p.station.PortOpened, 1);
  ASSERT_FALSE(serial.PortOpen());
  p.link.SendCivCommand("\x03");
  EXPECT_FALSE(p.link.ReplyTimerArmed());
  Advance(60);
  EXPECT_TRUE(Sent().empty());
  EXPECT_FALSE(desktop.ended);
}

}  // namespace
}  // namespace tavrin
