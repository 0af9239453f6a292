// SPDX-License-Identifier: GPL-3.0-or-later
// rigsim's cable on a real pseudo-terminal: a controller that holds the line sees it hang up
// when the cable is pulled, the link then points at nothing (never at another line), and after
// the replug the same link leads to a new line on which the transceiver answers. The front
// panel's "Replug cable" key does the replug.
#include "sim/rigsim/rig_link.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/rigsim/front_panel.h"
#include "sim/rigsim/pty_line.h"
#include "sim/transceiver.h"

namespace tavrin::rigsim {
namespace {

namespace fs = std::filesystem;

QApplication& App() {
  static int argc = 1;
  static char name[] = "rig_link_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

// The controller's end: the slave side opened through the link, as a control program does.
class Controller {
 public:
  explicit Controller(const fs::path& link) : fd_(::open(link.c_str(), O_RDWR | O_NOCTTY)) {}
  ~Controller() {
    if (fd_ >= 0) ::close(fd_);
  }
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;
  [[nodiscard]] bool Ok() const { return fd_ >= 0; }
  [[nodiscard]] int Fd() const { return fd_; }
  void Write(const std::string& bytes) const {
    ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Runs the event loop until `count` bytes came, the line hung up, or a second passed.
  [[nodiscard]] std::string Read(std::size_t count, bool* hungUp = nullptr) const {
    std::string result;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (result.size() < count && std::chrono::steady_clock::now() < until) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      pollfd probe{fd_, POLLIN, 5};
      if (::poll(&probe, 1, 5) <= 0) continue;
      char buffer[256];
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0) {
        if (hungUp != nullptr) *hungUp = true;
        break;
      }
      result.append(buffer, static_cast<std::size_t>(n));
    }
    return result;
  }

 private:
  int fd_;
};

class RigLinkTest : public ::testing::Test {
 protected:
  RigLinkTest() {
    App();
    directory_ = fs::temp_directory_path() / ("rig-link-test-" + std::to_string(::getpid()));
    fs::create_directories(directory_);
    link_ = directory_ / "com1";
  }
  ~RigLinkTest() override {
    std::error_code ec;
    fs::remove_all(directory_, ec);
  }

  // The frequency query and what comes back: its echo and the transceiver's answer.
  static std::string Query() { return std::string("\xFE\xFE\x64\xE0\x03\xFD", 6); }
  static std::string Answered() {
    return Query() + std::string("\xFE\xFE\xE0\x64\x03\x00\x50\x19\x14\x00\xFD", 11);
  }

  fs::path directory_;
  fs::path link_;
};

TEST_F(RigLinkTest, APulledCableHangsUpAndTheReplugLeadsTheSameLinkToANewLine) {
  PtyLine line;
  std::string error;
  ASSERT_TRUE(line.Open(error) && line.Link(link_.string(), error)) << error;
  sim::Transceiver radio;
  RigLink rig(line, radio, 19200, link_.string());

  Controller first(link_);
  ASSERT_TRUE(first.Ok());
  first.Write(Query());
  EXPECT_EQ(first.Read(Answered().size()), Answered());

  rig.PullCable();
  EXPECT_FALSE(rig.Plugged());
  bool hungUp = false;
  EXPECT_EQ(first.Read(1, &hungUp), "");
  EXPECT_TRUE(hungUp) << "the controller's line did not hang up";
  // The link stays, pointing at nothing: no program falls back to another port, and none is
  // led to a line that is not the transceiver's.
  EXPECT_TRUE(fs::is_symlink(link_));
  EXPECT_FALSE(fs::exists(link_));

  ASSERT_TRUE(rig.PlugIn(error)) << error;
  EXPECT_TRUE(rig.Plugged());
  EXPECT_EQ(fs::read_symlink(link_), fs::path(line.SlavePath()));
  Controller second(link_);
  ASSERT_TRUE(second.Ok());
  second.Write(Query());
  EXPECT_EQ(second.Read(Answered().size()), Answered());
}

TEST_F(RigLinkTest, TheCableComesOutWhenTheControllerWritesAfterItsFrames) {
  PtyLine line;
  std::string error;
  ASSERT_TRUE(line.Open(error) && line.Link(link_.string(), error)) << error;
  sim::Transceiver radio;
  RigLink rig(line, radio, 19200, link_.string());
  rig.PullAfterFrames(2);

  Controller controller(link_);
  ASSERT_TRUE(controller.Ok());
  for (int frame = 0; frame < 2; ++frame) {
    controller.Write(Query());
    EXPECT_EQ(controller.Read(Answered().size()), Answered()) << "frame " << frame;
  }
  EXPECT_TRUE(rig.Plugged());
  controller.Write(Query());
  bool hungUp = false;
  EXPECT_EQ(controller.Read(Answered().size(), &hungUp), "");
  EXPECT_TRUE(hungUp);
  EXPECT_FALSE(rig.Plugged());
}

// A controller whose side of the line is at another speed than the transceiver's hears its own
// bytes and nothing else, as on a real CI-V line; at the transceiver's speed it is answered.
TEST_F(RigLinkTest, TheTransceiverAnswersOnlyAtItsOwnSpeed) {
  PtyLine line;
  std::string error;
  ASSERT_TRUE(line.Open(error) && line.Link(link_.string(), error)) << error;
  sim::Transceiver radio;
  RigLink rig(line, radio, 9600, link_.string());
  Controller controller(link_);
  ASSERT_TRUE(controller.Ok());
  for (const speed_t speed : {B19200, B4800, B9600}) {
    SCOPED_TRACE(speed);
    termios settings{};
    ASSERT_EQ(tcgetattr(controller.Fd(), &settings), 0);
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    ASSERT_EQ(tcsetattr(controller.Fd(), TCSANOW, &settings), 0);
    controller.Write(Query());
    EXPECT_EQ(controller.Read(Answered().size()), speed == B9600 ? Answered() : Query());
  }
}

// The simulator never takes a link that leads to a real device: a user's "com1 ->
// /dev/ttyUSB0" stays as it was. A link to an earlier simulator's line is taken over.
TEST_F(RigLinkTest, ALinkToARealDeviceIsNeverTakenOver) {
  struct Case {
    std::string target;
    bool takenOver;
  };
  const std::vector<Case> cases = {{"/dev/ttyUSB0", false},
                                   {"/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", false},
                                   {"../Station/com1", false},
                                   {"/dev/pts/97", true},
                                   {"/dev/pts/97.pulled", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    fs::remove(link_);
    fs::create_symlink(c.target, link_);
    PtyLine line;
    std::string error;
    ASSERT_TRUE(line.Open(error)) << error;
    EXPECT_EQ(line.Link(link_.string(), error), c.takenOver) << error;
    EXPECT_EQ(fs::read_symlink(link_).string(), c.takenOver ? line.SlavePath() : c.target);
    line.Close();
    EXPECT_EQ(fs::is_symlink(link_), !c.takenOver) << "a link taken over goes with the line";
    if (!c.takenOver) {
      EXPECT_EQ(fs::read_symlink(link_).string(), c.target);
    }
  }
}

TEST_F(RigLinkTest, TheFrontPanelsReplugKeyRunsTheReplug) {
  sim::Transceiver radio;
  FrontPanel panel(radio);
  int replugs = 0;
  panel.OnReplug([&replugs] { ++replugs; });
  auto* key = panel.findChild<QPushButton*>("Command5");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->text(), "Replug cable");
  EXPECT_EQ(key->accessibleName(), "Replug cable");
  key->click();
  EXPECT_EQ(replugs, 1);
}

}  // namespace
}  // namespace tavrin::rigsim
