// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/rigsim/pty_line.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tavrin::rigsim {

namespace fs = std::filesystem;

PtyLine::~PtyLine() { Close(); }

void PtyLine::Close() {
  Unlink();
  if (master_ >= 0) close(master_);
  master_ = -1;
  slavePath_.clear();
}

void PtyLine::Hangup() {
  std::error_code ec;
  if (!link_.empty() && fs::is_symlink(link_, ec) &&
      fs::read_symlink(link_, ec) == fs::path(slavePath_)) {
    // A name no pseudo-terminal can have, so that no other program's new line takes its place.
    pulledTarget_ = slavePath_ + ".pulled";
    fs::remove(link_, ec);
    fs::create_symlink(pulledTarget_, link_, ec);
  }
  if (master_ >= 0) close(master_);
  master_ = -1;
}

bool PtyLine::Open(std::string& error) {
  if (master_ >= 0) close(master_);
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  char name[128] = {};
  if (ptsname_r(master_, name, sizeof name) != 0) {
    error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  slavePath_ = name;
  // A slave side that was never opened does not report a hang-up on the master: opened and
  // closed once, the line reads as free until a controller opens it.
  const int slave = open(name, O_RDWR | O_NOCTTY);
  if (slave >= 0) close(slave);
  // Raw bytes both ways and no echo from the terminal layer: on a CI-V bus the echo comes
  // from the line itself, and the bus simulation sends it.
  termios settings{};
  if (tcgetattr(master_, &settings) == 0) {
    cfmakeraw(&settings);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tcsetattr(master_, TCSANOW, &settings);
  }
  return true;
}

bool PtyLine::Link(const std::string& name, std::string& error) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(name, ec);
  if (fs::exists(status)) {
    if (!fs::is_symlink(status)) {
      error = "\"" + name + "\" exists and is not a symbolic link; not replacing it";
      return false;
    }
    const std::string target = fs::read_symlink(name, ec).string();
    if (!IsSimulatorLine(target)) {
      error = "\"" + name + "\" leads to " + target +
              ", a device of this machine (a CI-V cable, say); not replacing it. Start rigsim in "
              "another folder, or give it another name with --link";
      return false;
    }
    fs::remove(name, ec);
  }
  fs::create_symlink(slavePath_, name, ec);
  if (ec) {
    error = "cannot link \"" + name + "\": " + ec.message();
    return false;
  }
  link_ = name;
  return true;
}

bool PtyLine::IsSimulatorLine(const std::string& target) {
  const std::string pulled = ".pulled";
  return target.rfind("/dev/pts/", 0) == 0 ||
         (target.size() > pulled.size() &&
          target.compare(target.size() - pulled.size(), pulled.size(), pulled) == 0);
}

void PtyLine::Unlink() {
  if (link_.empty()) return;
  std::error_code ec;
  if (fs::is_symlink(link_, ec)) {
    const fs::path target = fs::read_symlink(link_, ec);
    if (target == fs::path(slavePath_) || (!pulledTarget_.empty() && target == pulledTarget_)) {
      fs::remove(link_, ec);
    }
  }
  link_.clear();
}

bool PtyLine::ControllerAttached() const {
  if (master_ < 0) return false;
  // With nobody holding the slave open, the master side reports a hang-up.
  pollfd probe{master_, POLLIN, 0};
  if (poll(&probe, 1, 0) < 0) return false;
  return (probe.revents & POLLHUP) == 0;
}

}  // namespace tavrin::rigsim
