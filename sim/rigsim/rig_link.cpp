// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/rigsim/rig_link.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace tavrin::rigsim {

namespace {

// The terminal speed constant of a speed in baud; 0 for one a terminal cannot be set to.
speed_t TerminalSpeed(int baud) {
  switch (baud) {
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return 0;
  }
}

}  // namespace

RigLink::RigLink(PtyLine& line, sim::Transceiver& radio, int baud, std::string linkName)
    : line_(line),
      baud_(baud),
      linkName_(std::move(linkName)),
      bus_(scheduler_, radio, [this](char byte) { Deliver(byte); }),
      readable_(std::make_unique<QSocketNotifier>(line.MasterFd(), QSocketNotifier::Read)) {
  bus_.SetLine(baud, 10);
  bus_.OnTransceiverReceives([this](const std::string& bytes) {
    if (controllerBytes_) controllerBytes_(bytes);
  });
  connect(readable_.get(), &QSocketNotifier::activated, this, [this] { ReadController(); });
  connect(&watch_, &QTimer::timeout, this, [this] { WatchForController(); });
  // A controller that opens the line and asks at once (as "Find Transceiver" does, with 50 ms
  // for the answer) is noticed well within that time.
  watch_.setInterval(5);
  SetLineSpeed();
  WatchForController();
}

void RigLink::SetLineSpeed() {
  const speed_t speed = TerminalSpeed(baud_);
  termios settings{};
  if (speed == 0 || tcgetattr(line_.MasterFd(), &settings) != 0) return;
  cfsetispeed(&settings, speed);
  cfsetospeed(&settings, speed);
  tcsetattr(line_.MasterFd(), TCSANOW, &settings);
}

bool RigLink::ControllerAtOurSpeed() const {
  // The master side of a pseudo-terminal reports the settings of the slave side, the
  // controller's.
  const speed_t speed = TerminalSpeed(baud_);
  termios settings{};
  if (speed == 0 || tcgetattr(line_.MasterFd(), &settings) != 0) return true;
  return cfgetospeed(&settings) == speed;
}

void RigLink::WatchForController() {
  const bool attached = plugged_ && line_.ControllerAttached();
  if (attached != attached_) {
    attached_ = attached;
    if (!attached) bus_.Cut();  // what was on its way has nobody to go to
    emit ControllerChanged(attached);
  }
  // Reading a line nobody holds reports a hang-up at once, again and again: poll instead.
  if (readable_) readable_->setEnabled(attached);
  if (attached || !plugged_) {
    watch_.stop();
  } else if (!watch_.isActive()) {
    watch_.start();
  }
}

void RigLink::ReadController() {
  char buffer[256];
  const ssize_t count = read(line_.MasterFd(), buffer, sizeof buffer);
  if (count > 0) {
    const std::string bytes(buffer, static_cast<std::size_t>(count));
    if (framesBeforePull_ == 0) {
      // The cable comes out as these bytes go out: they never reach the transceiver.
      framesBeforePull_ = -1;
      PullCable();
      return;
    }
    CountFrames(bytes);
    if (!ControllerAtOurSpeed()) {
      // Garbage to the transceiver; the line still echoes them.
      if (controllerBytes_) controllerBytes_(bytes);
      bus_.AddNoise(bytes, scheduler_.NowMicros());
      return;
    }
    bus_.ControllerSend(bytes);
    return;
  }
  if (count < 0 && (errno == EAGAIN || errno == EINTR)) return;
  WatchForController();  // end of file or EIO: the controller closed the port
}

void RigLink::CountFrames(const std::string& bytes) {
  if (framesBeforePull_ <= 0) return;
  const auto frames = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\xFD'));
  framesBeforePull_ = std::max(0, framesBeforePull_ - frames);
}

void RigLink::PullCable() {
  if (!plugged_) return;
  plugged_ = false;
  bus_.Cut();
  // The notifier may be the one whose signal runs now: it goes when the event loop is back.
  if (readable_) {
    readable_->setEnabled(false);
    readable_.release()->deleteLater();
  }
  line_.Hangup();
  WatchForController();
  emit CableChanged(false);
}

bool RigLink::PlugIn(std::string& error) {
  if (plugged_) return true;
  if (!line_.Open(error) || !line_.Link(linkName_, error)) return false;
  plugged_ = true;
  SetLineSpeed();
  readable_ = std::make_unique<QSocketNotifier>(line_.MasterFd(), QSocketNotifier::Read);
  connect(readable_.get(), &QSocketNotifier::activated, this, [this] { ReadController(); });
  WatchForController();
  emit CableChanged(true);
  return true;
}

bool RigLink::Replug(std::string& error) {
  PullCable();
  return PlugIn(error);
}

void RigLink::Deliver(char byte) {
  if (!attached_ || !plugged_) return;
  // The pseudo-terminal buffers several kilobytes; a full buffer means nobody reads, and the
  // byte is lost as it would be on a real line.
  [[maybe_unused]] const ssize_t written = write(line_.MasterFd(), &byte, 1);
}

}  // namespace tavrin::rigsim
