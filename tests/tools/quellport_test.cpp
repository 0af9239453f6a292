// The port clearing tools: the clearing sequence on port 1, the confirmation, the error box,
// and the automatic program; on a serial double and, with the Qt layer, on a pseudo-terminal.
#include <gtest/gtest.h>

#include <string>
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
    port_ = portNumber;
    calls.push_back("SetCommPort " + std::to_string(portNumber));
  }
  [[nodiscard]] int CommPort() const override { return port_; }
  void SetSettings(const std::string& settings) override {
    settings_ = settings;
    calls.push_back("SetSettings " + settings);
  }
  [[nodiscard]] std::string Settings() const override { return settings_; }
  void SetInputLen(int length) override {
    calls.push_back("SetInputLen " + std::to_string(length));
  }
  [[nodiscard]] bool PortOpen() const override { return open; }
  PortError Open() override {
    calls.push_back("Open");
    if (openError.Failed()) return openError;
    open = true;
    return {};
  }
  void Close() override {
    calls.push_back("Close");
    open = false;
  }
  void Output(const std::string& bytes) override { calls.push_back("Output " + bytes); }
  std::string Input() override {
    calls.push_back("Input");
    if (!open) return {};
    std::string taken;
    taken.swap(waiting);
    return taken;
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

TEST(ComPortTest, ContinueDrainsClosesAndConfirms) {
  for (const bool startsOpen : {false, true}) {
    FakeDesktop desktop;
    RecordingSerial serial;
    serial.open = startsOpen;
    serial.waiting = "\xFE\xFE\xE0\x64\xFB\xFD leftovers";
    ComPort window(desktop, serial);
    window.Continue();
    EXPECT_EQ(serial.calls, ClearingCalls(startsOpen)) << startsOpen;
    EXPECT_EQ(serial.waiting, "");
    EXPECT_FALSE(serial.open);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, "Comm Port 1");
    EXPECT_EQ(desktop.boxes[0].text, "Port Closed ... Port Settings = 19200,N,8,1");
    EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_TRUE(desktop.ended);
  }
}

TEST(ComPortTest, OpenFailureShowsTheErrorAndNoConfirmation) {
  const std::vector<PortError> errors = {
      {8002, "Invalid port number"}, {8005, "Port already open"}, {380, "Invalid property value"}};
  for (const PortError& error : errors) {
    FakeDesktop desktop;
    RecordingSerial serial;
    serial.openError = error;
    ComPort window(desktop, serial);
    window.Continue();
    ASSERT_EQ(desktop.boxes.size(), 1u) << error.number;
    EXPECT_EQ(desktop.boxes[0].title, "Comm Port Error - Unexpected Error");
    EXPECT_EQ(desktop.boxes[0].text,
              "Error Code " + std::to_string(error.number) + " ... " + error.description);
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
    EXPECT_TRUE(desktop.ended);
    // The sequence stops at the failed open: nothing is read.
    EXPECT_EQ(serial.calls.back(), "Open");
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

TEST(ComPortTest, AutomaticClearingIsSilentUnlessThePortFails) {
  FakeDesktop desktop;
  RecordingSerial serial;
  serial.waiting = "waiting";
  ComPort window(desktop, serial);
  window.LoadAuto();
  EXPECT_EQ(serial.calls, ClearingCalls(false));
  EXPECT_EQ(serial.waiting, "");
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_TRUE(desktop.ended);

  FakeDesktop failing;
  RecordingSerial held;
  held.openError = {8005, "Port already open"};
  ComPort autoWindow(failing, held);
  autoWindow.LoadAuto();
  ASSERT_EQ(failing.boxes.size(), 1u);
  EXPECT_EQ(failing.boxes[0].title, "Comm Port 1 Error");
  EXPECT_EQ(failing.boxes[0].text,
            "Error Code 8005 ... Port already open ... COM1 ... 19200,N,8,1");
  EXPECT_EQ(failing.boxes[0].icon, BoxIcon::Critical);
  EXPECT_TRUE(failing.ended);
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
