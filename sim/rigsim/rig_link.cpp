#include "sim/rigsim/rig_link.h"

#include <unistd.h>

#include <cerrno>
#include <string>

namespace tavrin::rigsim {

RigLink::RigLink(PtyLine& line, sim::Transceiver& radio, int baud)
    : line_(line),
      bus_(scheduler_, radio, [this](char byte) { Deliver(byte); }),
      readable_(line.MasterFd(), QSocketNotifier::Read) {
  bus_.SetLine(baud, 10);
  connect(&readable_, &QSocketNotifier::activated, this, [this] { ReadController(); });
  connect(&watch_, &QTimer::timeout, this, [this] { WatchForController(); });
  watch_.setInterval(50);
  WatchForController();
}

void RigLink::WatchForController() {
  const bool attached = line_.ControllerAttached();
  if (attached != attached_) {
    attached_ = attached;
    if (!attached) bus_.Cut();  // what was on its way has nobody to go to
    emit ControllerChanged(attached);
  }
  // Reading a line nobody holds reports a hang-up at once, again and again: poll instead.
  readable_.setEnabled(attached);
  if (attached) {
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
    if (controllerBytes_) controllerBytes_(bytes);
    bus_.ControllerSend(bytes);
    return;
  }
  if (count < 0 && (errno == EAGAIN || errno == EINTR)) return;
  WatchForController();  // end of file or EIO: the controller closed the port
}

void RigLink::Deliver(char byte) {
  if (!attached_) return;
  // The pseudo-terminal buffers several kilobytes; a full buffer means nobody reads, and the
  // byte is lost as it would be on a real line.
  [[maybe_unused]] const ssize_t written = write(line_.MasterFd(), &byte, 1);
}

}  // namespace tavrin::rigsim
