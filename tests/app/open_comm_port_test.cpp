// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the serial port from CommPort and CommBaud, and the three ways it can fail: a port
// that does not exist (asked for again), a port held by another program, anything else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::BoxTexts;
using testing::PortState;
using testing::ProgramFixture;

class OpenCommPortTest : public ProgramFixture {
 protected:
  // A fresh program with these settings, the port closed and no box shown.
  ControlProgram& WithSettings(const std::string& port, const std::string& settings) {
    program.reset();
    serial.Close();
    desktop.boxes.clear();
    ControlProgram& p = Program();
    p.InitFrameStrings();
    p.station.CommPort = port;
    p.station.CommBaud = settings;
    return p;
  }
};

std::string InvalidPort(const std::string& port) {
  return "Open Comm Port Error: Error Code 8002 ... Invalid port number ... " + port +
         " ... 19200,N,8,1";
}

TEST_F(OpenCommPortTest, OpensThePortNamedByTheWholeName) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"COM1", "COM1"}, {"COM2", "COM2"},  {"COM3", "COM3"},
      {"com3", "COM3"}, {"COM3 ", "COM3"}, {"COM12", "COM12"},
  };
  serial.SetPortExists(12, true);
  for (const auto& [port, opened] : cases) {
    SCOPED_TRACE(port);
    ControlProgram& p = WithSettings(port, "9600,N,8,1");
    p.OpenCommPort();
    EXPECT_EQ(PortState(serial), opened + " 9600,N,8,1");
    EXPECT_EQ(p.station.PortOpened, 1);
    EXPECT_EQ(p.station.CommPort, port);
    EXPECT_TRUE(desktop.boxes.empty());
  }
  serial.SetPortExists(12, false);
  // A port this machine does not have, or a name that is not COM and a number, gets the
  // invalid-port box with the name as written; never another port.
  for (const std::string port :
       {"COM12", "COM99", "XYZ2", "COM2x", "COM", "COM-1", "COM99999999999999999999"}) {
    SCOPED_TRACE(port);
    ControlProgram& p = WithSettings(port, "19200,N,8,1");
    p.OpenCommPort();
    ASSERT_FALSE(desktop.boxes.empty());
    EXPECT_EQ(BoxTexts(desktop)[0], InvalidPort(port));
    EXPECT_EQ(PortState(serial), "COM1 19200,N,8,1");  // the input box was cancelled: COM1
  }
  // Re-opening closes the old port first, also when it is the same one.
  ControlProgram& p = WithSettings("COM1", "19200,N,8,1");
  p.OpenCommPort();
  p.station.CommPort = "COM3";
  p.station.CommBaud = "4800,N,8,1";
  for (int again = 0; again < 2; ++again) {
    p.OpenCommPort();
    EXPECT_EQ(PortState(serial), "COM3 4800,N,8,1");
  }
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(OpenCommPortTest, InvalidPortIsAskedForAndTriedAgain) {
  struct Case {
    const char* name;
    std::string port;
    std::string answer;  // typed into the input box; empty is Cancel
    std::string askedDefault, newPort;
  };
  const std::vector<Case> cases = {
      {"typed in lower case", "COM7", "com2", "COM7", "COM2"},
      {"cancelled", "COM7", "", "COM7", "COM1"},
      {"no port at all", "", "COM3", "COM1", "COM3"},
      {"port number zero", "COM0", "COM3", "COM0", "COM3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteConfig("KESTRA.TXT", "K1ABC", c.port, "19200,N,8,1");
    const std::string fileBefore = ReadFile("KESTRA.INI");
    ControlProgram& p = WithSettings(c.port, "19200,N,8,1");
    if (!c.answer.empty()) desktop.Type(c.answer);
    p.OpenCommPort();
    EXPECT_EQ(BoxTexts(desktop),
              (std::vector<std::string>{
                  InvalidPort(c.port), "Set Comm Port: Enter Radio Interface COMM PORT (ie..com1)",
                  "Setup Comm Port: " + c.newPort +
                      " Temporarily Enabled. Run SETUP (menu) to Re-Configure."}));
    ASSERT_EQ(desktop.boxes.size(), 3u);
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(desktop.boxes[1].kind, RecordedBox::Kind::Input);
    EXPECT_EQ(desktop.boxes[1].defaultAnswer, c.askedDefault);
    EXPECT_EQ(desktop.boxes[2].icon, BoxIcon::None);
    EXPECT_EQ(p.station.CommPort, c.newPort);
    EXPECT_EQ(PortState(serial), c.newPort + " 19200,N,8,1");
    EXPECT_EQ(p.station.PortOpened, 1);
    EXPECT_EQ(ReadFile("KESTRA.INI"), fileBefore);
  }
}

TEST_F(OpenCommPortTest, InvalidPortIsAskedForThreeTimesAtMost) {
  ControlProgram& p = WithSettings("COM7", "19200,N,8,1");
  for (const char* answer : {"COM8", "COM9", "COM5", "COM2"}) desktop.Type(answer);
  p.OpenCommPort();
  EXPECT_EQ(desktop.InputBoxes().size(), 3u);
  EXPECT_EQ(desktop.PendingInputs(), 1u);  // COM2 is never asked for
  std::vector<std::string> errors;
  for (const std::string& box : BoxTexts(desktop)) {
    if (box.rfind("Open Comm Port Error", 0) == 0) errors.push_back(box);
  }
  EXPECT_EQ(errors, (std::vector<std::string>{InvalidPort("COM7"), InvalidPort("COM8"),
                                              InvalidPort("COM9"), InvalidPort("COM5")}));
  EXPECT_EQ(PortState(serial), "closed");
  EXPECT_EQ(p.station.PortOpened, 0);
  EXPECT_EQ(p.station.CommPort, "COM5");
  EXPECT_FALSE(desktop.ended);
}

TEST_F(OpenCommPortTest, OtherFailuresAreReportedAndLeaveThePortClosed) {
  struct Case {
    std::string port, settings;
    bool heldElsewhere;
    std::string box;
  };
  const std::vector<Case> cases = {
      {"COM2", "19200,N,8,1", true,
       "Comm Port Error - Port Already Open: Error Code 8005 ... Port already open ... COM2 ... "
       "19200,N,8,1"},
      {"COM1", "19200,X,8", false,
       "Open Comm Port - Unexpected Error: Error Code 380 ... Invalid property value ... COM1 ... "
       "19200,X,8"},
      {"COM1", "", false,
       "Open Comm Port - Unexpected Error: Error Code 380 ... Invalid property value ... COM1 "
       "... "},
  };
  for (const Case& c : cases) {
    for (const int openedBefore : {0, 1}) {
      SCOPED_TRACE(c.box + (openedBefore ? ", was open" : ", never open"));
      ControlProgram& p = WithSettings(c.port, c.settings);
      p.station.PortOpened = openedBefore;
      serial.SetHeldElsewhere(c.heldElsewhere);
      p.OpenCommPort();
      serial.SetHeldElsewhere(false);
      EXPECT_EQ(BoxTexts(desktop), std::vector<std::string>{c.box});
      ASSERT_FALSE(desktop.boxes.empty());
      EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
      EXPECT_FALSE(serial.PortOpen());
      EXPECT_EQ(p.station.PortOpened, openedBefore);  // never set back
      EXPECT_FALSE(desktop.ended);
    }
  }
}

}  // namespace
}  // namespace tavrin
