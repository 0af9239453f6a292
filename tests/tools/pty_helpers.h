// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test helpers: a pseudo-terminal standing in for a serial device, and a scratch directory
// for "comN" links.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace tavrin {

// A pseudo-terminal: the test holds the master side, the control under test opens the slave
// through a "com1" link in a scratch directory.
class Pty {
 public:
  Pty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
      slave_ = ptsname(master_);
    }
  }
  ~Pty() { CloseMaster(); }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  [[nodiscard]] bool Ok() const { return master_ >= 0 && !slave_.empty(); }
  [[nodiscard]] const std::string& SlavePath() const { return slave_; }
  void Write(const std::string& bytes) const {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // What the control wrote, waiting up to a second for `count` bytes.
  [[nodiscard]] std::string Read(std::size_t count) const {
    std::string result;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (result.size() < count && std::chrono::steady_clock::now() < until) {
      pollfd fd{master_, POLLIN, 0};
      if (::poll(&fd, 1, 50) <= 0) continue;
      char buffer[256];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      result.append(buffer, static_cast<std::size_t>(n));
    }
    return result;
  }
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string slave_;
};

class ScratchDir {
 public:
  ScratchDir() {
    char pattern[] = "/tmp/qt_platform_XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made != nullptr ? made : "";
  }
  ~ScratchDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  [[nodiscard]] const std::string& Path() const { return path_; }
  void Link(const std::string& name, const std::string& target) const {
    std::filesystem::create_symlink(target, std::filesystem::path(path_) / name);
  }

 private:
  std::string path_;
};

}  // namespace tavrin
