// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt platform layer: the serial control on a pseudo-terminal, the settings string, the
// views' refresh hub, the boxes, the file filter form, the timers and the end of the program.
#ifdef STATION_QT_TESTS

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/port_links.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_serial.h"
#include "platform/qt/qt_serial_devices.h"
#include "platform/qt/text_bytes.h"
#include "platform/qt/view_hub.h"
#include "tools/pty_helpers.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// One application object for the whole test program, on the display-less platform.
QApplication& App() {
  static int argc = 1;
  static char name[] = "tools_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Lets the event loop run for a while so that signals from the device are delivered.
std::string InputWithin(QtSerial& serial, int ms) {
  std::string got;
  QElapsedTimer elapsed;
  elapsed.start();
  while (elapsed.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    got += serial.Input();
    if (!got.empty()) break;
  }
  return got;
}

class QtSerialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    ASSERT_TRUE(pty.Ok());
    ASSERT_FALSE(dir.Path().empty());
  }
  Pty pty;
  ScratchDir dir;
  Files files{dir.Path()};
};

TEST_F(QtSerialTest, PortNumberResolvesToLinkInCurrentDirectoryElseSystemPort) {
  dir.Link("com3", pty.SlavePath());
  dir.Link("COM4", pty.SlavePath());
  QtSerial serial(files);
  EXPECT_EQ(serial.DevicePath(3), (fs::path(dir.Path()) / "com3").string());
  EXPECT_EQ(serial.DevicePath(4), (fs::path(dir.Path()) / "COM4").string());
  EXPECT_EQ(serial.DevicePath(1), "/dev/ttyS0");
  EXPECT_EQ(serial.DevicePath(12), "/dev/ttyS11");
  EXPECT_EQ(serial.DevicePath(0), "");
}

TEST_F(QtSerialTest, DescribesWherePortsLeadForTheOperator) {
  dir.Link("com3", pty.SlavePath());
  dir.Link("com5", "/dev/nonexistent-cable");
  QtSerial serial(files);
  EXPECT_EQ(serial.DescribePort(3), pty.SlavePath());
  EXPECT_EQ(serial.DescribePort(5), "/dev/nonexistent-cable (not connected)");
  EXPECT_EQ(serial.DescribePort(9), fs::exists("/dev/ttyS8") ? "/dev/ttyS8" : "not connected");
  EXPECT_EQ(serial.DescribePort(0), "");
  // Pointed elsewhere by the setup window, the port says so at once.
  std::string error;
  ASSERT_TRUE(PortLinks(files).PointAt(5, pty.SlavePath(), error)) << error;
  EXPECT_EQ(serial.DescribePort(5), pty.SlavePath());
}

// The machine's devices as the setup window lists them, and a control on one of them that
// opens that device whatever the port number says.
TEST_F(QtSerialTest, DevicesAreListedAndOneCanBeAskedApartFromThePort) {
  const fs::path dev = fs::path(dir.Path()) / "dev";
  fs::create_directories(dev);
  fs::create_symlink(pty.SlavePath(), dev / "ttyUSB0");
  QtSerialDevices devices(files, DeviceFolders{dev.string(), "", ""});
  const std::vector<SerialDevice> listed = devices.List();
  ASSERT_FALSE(listed.empty());
  EXPECT_EQ(listed[0], (SerialDevice{(dev / "ttyUSB0").string(), pty.SlavePath(), ""}));

  std::unique_ptr<SerialControl> port = devices.PortOn((dev / "ttyUSB0").string());
  port->SetCommPort(7);
  port->SetSettings("9600,N,8,1");
  ASSERT_FALSE(port->Open().Failed());
  const std::string query("\xFE\xFE\x64\xE0\x19\x00\xFD", 7);
  port->Output(query);
  EXPECT_EQ(pty.Read(7), query);
  port->Close();
  EXPECT_EQ(devices.PortOn((dev / "ttyUSB9").string())->Open().number, 8002);
}

TEST_F(QtSerialTest, ReadsAndWritesThroughTheLinkedPseudoTerminal) {
  dir.Link("com1", pty.SlavePath());
  QtSerial serial(files);
  serial.SetCommPort(1);
  serial.SetSettings("19200,N,8,1");
  serial.SetInputLen(0);
  int signalled = 0;
  serial.OnInput([&] { ++signalled; });
  const PortError error = serial.Open();
  ASSERT_FALSE(error.Failed()) << error.number << " " << error.description;
  ASSERT_TRUE(serial.PortOpen());

  // Every byte value passes unchanged in both directions (raw line, no translation).
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  serial.Output(all);
  EXPECT_EQ(pty.Read(all.size()), all);

  const std::string reply("\xFE\xFE\xE0\x64\x03\x00\x50\x19\x14\x00\xFD", 11);
  pty.Write(reply);
  EXPECT_EQ(InputWithin(serial, 1000), reply);
  EXPECT_EQ(serial.Input(), "");  // the buffer was taken whole

  // Without an event loop in between, Input still takes what the device holds.
  pty.Write("\x01\x02\x03");
  ::usleep(20000);
  EXPECT_EQ(serial.Input(), "\x01\x02\x03");

  pty.Write("\x04");
  QElapsedTimer elapsed;
  elapsed.start();
  const int before = signalled;
  while (signalled == before && elapsed.elapsed() < 1000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  EXPECT_GT(signalled, before);
  EXPECT_EQ(serial.Input(), "\x04");

  serial.Close();
  EXPECT_FALSE(serial.PortOpen());
  EXPECT_EQ(serial.Input(), "");
  serial.Output("dropped");  // no crash, nothing sent
}

TEST_F(QtSerialTest, OpenFailuresCarryTheirNumbers) {
  dir.Link("com1", pty.SlavePath());
  dir.Link("com2", (fs::path(dir.Path()) / "nothing-here").string());
  struct Case {
    int port;
    std::string settings;
    int number;
    std::string description;
  };
  const std::vector<Case> cases = {
      {2, "19200,N,8,1", 8002, "Invalid port number"},    // link to nothing
      {250, "19200,N,8,1", 8002, "Invalid port number"},  // no such system port
      {0, "19200,N,8,1", 8002, "Invalid port number"},
      {1, "19200,X,8,1", 380, "Invalid property value"},
      {1, "19200,N,9,1", 380, "Invalid property value"},
      {1, "", 380, "Invalid property value"},
  };
  for (const Case& c : cases) {
    QtSerial serial(files);
    serial.SetCommPort(c.port);
    serial.SetSettings(c.settings);
    const PortError error = serial.Open();
    EXPECT_EQ(error.number, c.number) << c.port << " " << c.settings;
    EXPECT_EQ(error.description, c.description) << c.port << " " << c.settings;
    EXPECT_FALSE(serial.PortOpen());
  }
}

TEST_F(QtSerialTest, PortHeldElsewhereIsAlreadyOpen) {
  dir.Link("com1", pty.SlavePath());
  dir.Link("COM2", pty.SlavePath());  // another name for the same device
  QtSerial holder(files);
  holder.SetCommPort(1);
  holder.SetSettings("19200,N,8,1");
  ASSERT_FALSE(holder.Open().Failed());

  QtSerial second(files);
  second.SetSettings("19200,N,8,1");
  for (int port : {1, 2}) {
    second.SetCommPort(port);
    const PortError error = second.Open();
    EXPECT_EQ(error.number, 8005) << port;
    EXPECT_EQ(error.description, "Port already open");
    EXPECT_FALSE(second.PortOpen());
  }
  // The device itself refuses further opens (except to the superuser).
  const int probe = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (probe >= 0) {
    int exclusive = 0;
    EXPECT_EQ(::ioctl(probe, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    ::close(probe);
  }
  // Opening the control's own open port again is the same error; the port stays usable.
  EXPECT_EQ(holder.Open().number, 8005);
  EXPECT_TRUE(holder.PortOpen());

  holder.Close();
  second.SetCommPort(1);
  EXPECT_FALSE(second.Open().Failed());
}

TEST_F(QtSerialTest, HandlerMayTakeTheInputItIsToldOf) {
  dir.Link("com1", pty.SlavePath());
  QtSerial serial(files);
  serial.SetSettings("19200,N,8,1");
  std::string taken;
  int calls = 0;
  serial.OnInput([&] {
    ++calls;
    taken += serial.Input();
  });
  ASSERT_FALSE(serial.Open().Failed());
  pty.Write(std::string("\xFE\xFE\x00\x64\x00\xFD", 6));
  QElapsedTimer elapsed;
  elapsed.start();
  while (taken.size() < 6 && elapsed.elapsed() < 1000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  EXPECT_EQ(taken, std::string("\xFE\xFE\x00\x64\x00\xFD", 6));
  EXPECT_GE(calls, 1);
  EXPECT_EQ(serial.Input(), "");
}

TEST_F(QtSerialTest, VanishedDeviceClosesAndTellsOnce) {
  // The device goes while the program is reading, or while it is writing.
  for (const bool writeFirst : {false, true}) {
    Pty device;
    ASSERT_TRUE(device.Ok());
    const std::string link = writeFirst ? "com2" : "com1";
    dir.Link(link, device.SlavePath());
    QtSerial serial(files);
    serial.SetCommPort(writeFirst ? 2 : 1);
    serial.SetSettings("19200,N,8,1");
    int gone = 0;
    serial.OnGone([&gone] { ++gone; });
    ASSERT_FALSE(serial.Open().Failed());
    device.CloseMaster();
    if (writeFirst) {
      for (int i = 0; i < 3; ++i) serial.Output(std::string(64, '\x55'));
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(InputWithin(serial, 300), "") << link;
    serial.Output("into the void");
    EXPECT_EQ(serial.Input(), "");
    EXPECT_FALSE(serial.PortOpen()) << link;
    EXPECT_EQ(gone, 1) << link;
  }
}

TEST_F(QtSerialTest, DeviceIsPresentWhileItsLinkLeadsToADevice) {
  dir.Link("com1", pty.SlavePath());
  dir.Link("com2", dir.Path());  // a link to a folder is no device
  dir.Link("com3", dir.Path() + "/nowhere");
  QtSerial serial(files);
  EXPECT_TRUE(serial.DevicePresent(1));
  EXPECT_FALSE(serial.DevicePresent(2));
  EXPECT_FALSE(serial.DevicePresent(3));
}

// A device that goes takes its link with it; the port is back only when that link is, even
// where the system port the number would otherwise stand for exists.
TEST_F(QtSerialTest, GoneDeviceIsLookedForBehindTheNameItWasOpenedBy) {
  dir.Link("com1", pty.SlavePath());
  QtSerial serial(files);
  serial.SetCommPort(1);
  serial.SetSettings("19200,N,8,1");
  ASSERT_FALSE(serial.Open().Failed());
  serial.Close();
  std::filesystem::remove(dir.Path() + "/com1");
  EXPECT_FALSE(serial.DevicePresent(1)) << "not /dev/ttyS0";
  dir.Link("com1", pty.SlavePath());
  EXPECT_TRUE(serial.DevicePresent(1));
}

TEST(TextBytesTest, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = FromBytes(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(text.at(0xE9), QChar(0x00E9));  // é
  EXPECT_EQ(ToBytes(text), all);
  EXPECT_EQ(ToBytes(QString::fromUtf8("\xE2\x82\xAC")), "?");  // outside the byte range
}

class RecordingView : public View {
 public:
  explicit RecordingView(std::function<void()> onRefresh = {}) : onRefresh_(std::move(onRefresh)) {}
  void Refresh() override {
    ++refreshes;
    if (onRefresh_) onRefresh_();
  }
  int refreshes = 0;

 private:
  std::function<void()> onRefresh_;
};

TEST(ViewHubTest, RunsTheActionThenRedrawsEveryView) {
  ViewHub hub;
  std::vector<std::string> order;
  RecordingView a([&] { order.push_back("a"); });
  RecordingView b([&] { order.push_back("b"); });
  hub.Add(&a);
  hub.Add(&b);
  hub.Add(&a);  // once only
  hub.Run([&] { order.push_back("action"); });
  EXPECT_EQ(order, (std::vector<std::string>{"action", "a", "b"}));
  hub.Remove(&a);
  hub.RefreshAll();
  EXPECT_EQ(a.refreshes, 1);
  EXPECT_EQ(b.refreshes, 2);
}

TEST(ViewHubTest, EchoesOfDrawingAreIgnoredAndNestedRefreshesCollapse) {
  ViewHub hub;
  int actions = 0;
  int nested = 0;
  RecordingView* self = nullptr;
  RecordingView echoing([&] {
    // A widget signal fired by drawing, and a refresh asked for while drawing.
    hub.Run([&] { ++actions; });
    if (nested++ == 0) hub.RefreshAll();
  });
  self = &echoing;
  hub.Add(self);
  hub.Run([&] { ++actions; });
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(echoing.refreshes, 2);  // the asked-for round, done after the first
  EXPECT_FALSE(hub.Refreshing());
}

TEST(ViewHubTest, AViewRemovedWhileDrawingIsNotDrawn) {
  ViewHub hub;
  auto second = std::make_unique<RecordingView>();
  RecordingView first([&] {
    hub.Remove(second.get());
    second.reset();
  });
  hub.Add(&first);
  hub.Add(second.get());
  hub.RefreshAll();  // must not touch the destroyed view
  EXPECT_EQ(first.refreshes, 1);
}

TEST(QtFileFiltersTest, ConvertsTheDialogFilterForm) {
  struct Case {
    std::string filter;
    QStringList expected;
  };
  const std::vector<Case> cases = {
      {"Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*", {"Text Files (*.TXT)", "All Files (*.*)"}},
      {"Text Files (*.TXT)|*.TXT|", {"Text Files (*.TXT)"}},
      {"Text Files (*.TXT)|*.TXT|CHIRP CSV (*.csv)|*.csv|All Files (*.*)|*.*",
       {"Text Files (*.TXT)", "CHIRP CSV (*.csv)", "All Files (*.*)"}},
      {"Data|*.TXT;*.DAT", {"Data (*.TXT *.DAT)"}},
      {"|*.INI", {"*.INI (*.INI)"}},
      {"", {}},
      {"No pattern", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(QtFileFilters(c.filter), c.expected) << c.filter;
}

// "All Files (*.*)" keeps its text, and lists names without a dot too; other filters stay.
TEST(QtFileFiltersTest, AllFilesListsUndottedNames) {
  App();
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setNameFilters(QtFileFilters("Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*"));
  auto* model = dialog.findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  dialog.selectNameFilter(QStringLiteral("Text Files (*.TXT)"));
  ListUndottedNamesAsAllFiles(dialog);
  EXPECT_EQ(model->nameFilters(), QStringList{QStringLiteral("*.TXT")});
  dialog.selectNameFilter(QStringLiteral("All Files (*.*)"));
  EXPECT_EQ(model->nameFilters(), QStringList{QStringLiteral("*.*")});  // as Qt reads it
  ListUndottedNamesAsAllFiles(dialog);
  EXPECT_EQ(model->nameFilters(), QStringList{QStringLiteral("*")});
  EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("All Files (*.*)"));
}

// Answers the modal box that is about to open, from inside its own event loop.
template <typename Answer>
void WhenModalOpens(Answer answer) {
  QTimer::singleShot(0, [answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr) answer(modal);
  });
}

TEST(QtDesktopTest, MessageBoxShowsTitleTextIconAndReturnsTheButton) {
  App();
  QtDesktop desktop;
  struct Case {
    BoxButtons buttons;
    QMessageBox::StandardButton press;
    BoxAnswer expected;
    QMessageBox::StandardButton byDefault;  // what Enter presses
  };
  const std::vector<Case> cases = {
      {BoxButtons::YesNo, QMessageBox::Yes, BoxAnswer::Yes, QMessageBox::Yes},
      {BoxButtons::YesNo, QMessageBox::No, BoxAnswer::No, QMessageBox::Yes},
      {BoxButtons::YesNoDefaultNo, QMessageBox::Yes, BoxAnswer::Yes, QMessageBox::No},
      {BoxButtons::YesNoDefaultNo, QMessageBox::No, BoxAnswer::No, QMessageBox::No},
      {BoxButtons::Ok, QMessageBox::Ok, BoxAnswer::Ok, QMessageBox::Ok},
  };
  for (const Case& c : cases) {
    QString title;
    QString text;
    QString accessible;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool defaultAsWanted = false;
    WhenModalOpens([&, c](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box == nullptr) return modal->close();
      title = box->windowTitle();
      text = box->text();
      accessible = box->accessibleName();
      icon = box->icon();
      defaultAsWanted = box->defaultButton() == box->button(c.byDefault);
      box->button(c.press)->click();
      return true;
    });
    const BoxAnswer answer = desktop.MessageBox("Comm Port 1", "Port Closed ... <b>x</b> \xE9",
                                                BoxIcon::Critical, c.buttons);
    EXPECT_EQ(answer, c.expected);
    EXPECT_EQ(title, "Comm Port 1");
    EXPECT_EQ(text, QString::fromUtf8("Port Closed ... <b>x</b> \xC3\xA9"));
    EXPECT_EQ(accessible, "Comm Port 1");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_TRUE(defaultAsWanted);
  }
}

TEST(QtDesktopTest, InputBoxGivesTheAnswerAsTypedOrEmptyOnCancel) {
  App();
  QtDesktop desktop;
  QString shownDefault;
  WhenModalOpens([&](QWidget* modal) {
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    if (dialog == nullptr) return modal->close();
    shownDefault = dialog->textValue();
    dialog->setTextValue("  com2 ");
    dialog->accept();
    return true;
  });
  EXPECT_EQ(desktop.InputBox("Set Comm Port", "Enter", "COM1"), "  com2 ");
  EXPECT_EQ(shownDefault, "COM1");

  WhenModalOpens([](QWidget* modal) { return modal->close(); });
  EXPECT_EQ(desktop.InputBox("Set Comm Port", "Enter", "COM1"), "");
}

TEST(QtDesktopTest, EndProgramRunsShutdownHooksThenExits) {
  // The child starts afresh rather than forking a process that runs Qt's threads.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        QtDesktop desktop;
        desktop.AddShutdownHook([] { std::cerr << "port closed;"; });
        desktop.AddShutdownHook([] { std::cerr << "file closed"; });
        desktop.EndProgram();
        std::cerr << "carried on";  // never reached
      },
      ::testing::ExitedWithCode(0), "^port closed;file closed$");
}

TEST(QtClockTest, TimersFireOnTheEventLoopAndViewsAreRedrawn) {
  App();
  ViewHub hub;
  RecordingView view;
  hub.Add(&view);
  QtClock clock(hub);
  int ticks = 0;
  Timer periodic(clock, 5, [&] { ++ticks; });
  int oneShots = 0;
  Timer* oneShotSelf = nullptr;
  Timer oneShot(clock, 5, [&] {
    ++oneShots;
    oneShotSelf->SetEnabled(false);  // stopping from inside its own tick
  });
  oneShotSelf = &oneShot;
  periodic.SetEnabled(true);
  oneShot.SetEnabled(true);
  EXPECT_EQ(clock.RunningCount(), 2);
  QElapsedTimer elapsed;
  elapsed.start();
  while (ticks < 3 && elapsed.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  EXPECT_GE(ticks, 3);
  EXPECT_EQ(oneShots, 1);
  EXPECT_GE(view.refreshes, ticks + oneShots);
  periodic.SetEnabled(false);
  EXPECT_EQ(clock.RunningCount(), 0);
  const int stoppedAt = ticks;
  elapsed.restart();
  while (elapsed.elapsed() < 30) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_EQ(ticks, stoppedAt);
}

}  // namespace
}  // namespace tavrin

#endif  // STATION_QT_TESTS
