// SPDX-License-Identifier: GPL-3.0-or-later
// The port clearing tools: the clearing sequence on port 1, the confirmation, the error box,
// and the automatic program; on a serial double and, with the Qt layer, on a pseudo-terminal.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/fake_desktop.h"
#include "platform/serial_control.h"
#include "tools/quellport/com_port.h"

#ifdef STATION_QT_TESTS
#include <QApplication>

#include "platform/files.h"
#include "platform/qt/qt_serial.h"
#include "tools/pty_helpers.h"
#endif

namespace tavrin {
namespace {

// A serial control that records what is done to it; bytes wait in its input buffer, opening
// fails with a chosen error.
class RecordingSerial : public SerialControl {
 public:
  void SetCommPort(int portNumber) override {
    calls.push_back("SetCommPort " + std::to_string(port_ = portNumber));
  }
  [[nodiscard]] int CommPort() const override { return port_; }
  void SetSettings(const std::string& s) override {
    calls.push_back("SetSettings " + (settings_ = s));
  }
  [[nodiscard]] std::string Settings() const override { return settings_; }
  void SetInputLen(int length) override {
    calls.push_back("SetInputLen " + std::to_string(length));
  }
  [[nodiscard]] bool PortOpen() const override { return open; }
  PortError Open() override {
    calls.push_back("Open");
    if (!openError.Failed()) open = true;
    return openError;
  }
  void Close() override {
    calls.push_back("Close");
    open = false;
  }
  void Output(const std::string& bytes) override { calls.push_back("Output " + bytes); }
  std::string Input() override {
    calls.push_back("Input");
    return open ? std::exchange(waiting, std::string()) : std::string();
  }
  void OnInput(std::function<void()>) override {}

  std::vector<std::string> calls;
  bool open = false;
  std::string waiting;
  PortError openError;

 private:
  int port_ = 0;
  std::string settings_;
};

std::vector<std::string> ClearingCalls(bool startsOpen) {
  std::vector<std::string> calls;
  if (startsOpen) calls.push_back("Close");
  calls.insert(calls.end(), {"SetCommPort 1", "SetSettings 19200,N,8,1", "SetInputLen 0", "Open"});
  calls.insert(calls.end(), 99, "Input");
  calls.push_back("Close");
  return calls;
}

std::vector<std::string> BoxTexts(const FakeDesktop& desktop) {
  std::vector<std::string> texts;
  for (const RecordedBox& box : desktop.boxes) texts.push_back(box.title + ": " + box.text);
  return texts;
}

// Port 1 is drained and closed, also when this program had it open: the window confirms, the
// automatic program says nothing.
TEST(ComPortTest, ClearingDrainsAndClosesPortOne) {
  for (const bool automatic : {false, true}) {
    for (const bool startsOpen : {false, true}) {
      SCOPED_TRACE(std::string(automatic ? "automatic" : "window") + (startsOpen ? ", open" : ""));
      FakeDesktop desktop;
      RecordingSerial serial;
      serial.open = startsOpen;
      serial.waiting = "\xFE\xFE\xE0\x64\xFB\xFD leftovers";
      ComPort window(desktop, serial);
      automatic ? window.LoadAuto() : window.Continue();
      EXPECT_EQ(serial.calls, ClearingCalls(startsOpen));
      EXPECT_EQ(serial.waiting, "");
      EXPECT_FALSE(serial.open);
      EXPECT_EQ(BoxTexts(desktop),
                automatic ? std::vector<std::string>{}
                          : std::vector<std::string>{
                                "Comm Port 1: Port Closed ... Port Settings = 19200,N,8,1"});
      EXPECT_TRUE(automatic || desktop.boxes.at(0).buttons == BoxButtons::Ok);
      EXPECT_TRUE(desktop.ended);
    }
  }
}

// A port that does not open (held by another program, or otherwise) is reported; nothing is
// read and no confirmation follows.
TEST(ComPortTest, OpenFailureShowsTheErrorAndNoConfirmation) {
  const std::vector<PortError> errors = {
      {8002, "Invalid port number"}, {8005, "Port already open"}, {380, "Invalid property value"}};
  for (const bool automatic : {false, true}) {
    for (const PortError& error : errors) {
      SCOPED_TRACE(std::string(automatic ? "automatic " : "window ") + error.description);
      FakeDesktop desktop;
      RecordingSerial serial;
      serial.openError = error;
      ComPort window(desktop, serial);
      automatic ? window.LoadAuto() : window.Continue();
      const std::string code =
          "Error Code " + std::to_string(error.number) + " ... " + error.description;
      EXPECT_EQ(BoxTexts(desktop),
                std::vector<std::string>{
                    automatic ? "Comm Port 1 Error: " + code + " ... COM1 ... 19200,N,8,1"
                              : "Comm Port Error - Unexpected Error: " + code});
      ASSERT_FALSE(desktop.boxes.empty());
      EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
      EXPECT_TRUE(desktop.ended);
      EXPECT_EQ(serial.calls.back(), "Open");
    }
  }
}

TEST(ComPortTest, QuitLeavesThePortAlone) {
  FakeDesktop desktop;
  RecordingSerial serial;
  ComPort window(desktop, serial);
  window.Quit();
  EXPECT_TRUE(serial.calls.empty());
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_TRUE(desktop.ended);
}

#ifdef STATION_QT_TESTS

class ComPortOnPtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QCoreApplication::instance() == nullptr) {
      setenv("QT_QPA_PLATFORM", "offscreen", 0);
      static int argc = 1;
      static char name[] = "tools_tests";
      static char* argv[] = {name, nullptr};
      app_ = std::make_unique<QApplication>(argc, argv);
    }
    ASSERT_TRUE(pty.Ok());
    dir.Link("com1", pty.SlavePath());
  }
  std::unique_ptr<QApplication> app_;
  Pty pty;
  ScratchDir dir;
  Files files{dir.Path()};
  FakeDesktop desktop;
};

TEST_F(ComPortOnPtyTest, ClearsWhatWaitsOnTheDevice) {
  QtSerial serial(files);
  // The device has something to say before the port is opened and while it is.
  ASSERT_FALSE([&] {
    serial.SetSettings("19200,N,8,1");
    return serial.Open().Failed();
  }());
  pty.Write(std::string("\xFE\xFE\x00\x64\x00\x00\x50\x19\x14\x00\xFD", 11));
  ::usleep(20000);
  ComPort window(desktop, serial);
  window.Continue();
  EXPECT_FALSE(serial.PortOpen());
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Comm Port 1");
  // Nothing is left for the next program: a fresh open finds the buffer empty.
  ASSERT_FALSE(serial.Open().Failed());
  EXPECT_EQ(serial.Input(), "");
}

TEST_F(ComPortOnPtyTest, PortHeldByAnotherProgramIsReported) {
  QtSerial other(files);
  other.SetSettings("19200,N,8,1");
  ASSERT_FALSE(other.Open().Failed());
  QtSerial serial(files);
  ComPort window(desktop, serial);
  window.Continue();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Comm Port Error - Unexpected Error");
  EXPECT_EQ(desktop.boxes[0].text, "Error Code 8005 ... Port already open");
  EXPECT_TRUE(other.PortOpen());
  EXPECT_TRUE(desktop.ended);
}

#endif  // STATION_QT_TESTS

}  // namespace
}  // namespace tavrin
