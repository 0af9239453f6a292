// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated transceiver as an independent CI-V client sees it: rigsim runs headless on a
// pseudo-terminal and the Hamlib command-line client (rigctl, Icom model with CI-V address 64)
// sets and reads frequency and mode, switches to memory mode, selects a channel and reads a
// channel raw. The client checks every echo byte for byte and sends frames the control
// programs never send (07 B0, 07 D0, 1A 06, 08 with a one-byte channel), so this checks the
// simulation against an outside implementation of the bus. Every client run has a time limit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

#ifndef RIGSIM_PROGRAM
#define RIGSIM_PROGRAM "rigsim"
#endif

constexpr const char* kRigModel = "3047";  // Icom, default CI-V address 64 (0x64)

// Runs a shell command with a time limit and returns its standard output.
std::string RunShell(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen(("timeout 30 " + command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  std::array<char, 512> buffer{};
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    output.append(buffer.data(), got);
  status = pclose(pipe);
  return output;
}

class HamlibConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    int status = 0;
    if (RunShell("sh -c 'command -v rigctl'", status).empty())
      GTEST_SKIP() << "rigctl (libhamlib-utils) is not installed";
    std::string pattern = (fs::temp_directory_path() / "hamlib_e2e_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    link_ = dir_ / "com1";
    rigsim_ = fork();
    ASSERT_GE(rigsim_, 0);
    if (rigsim_ == 0) {
      if (chdir(dir_.c_str()) != 0) _exit(126);
      const int log = open("rigsim.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (log >= 0) {
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
      }
      execl(RIGSIM_PROGRAM, RIGSIM_PROGRAM, "--headless", "--link", "com1", "--baud", "19200",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::is_symlink(link_) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(fs::is_symlink(link_)) << "rigsim did not make its link; log:\n" << Log();
  }

  void TearDown() override {
    if (rigsim_ > 0) {
      kill(rigsim_, SIGTERM);
      int status = 0;
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      pid_t done = 0;
      while ((done = waitpid(rigsim_, &status, WNOHANG)) == 0 &&
             std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      if (done == 0) {
        kill(rigsim_, SIGKILL);
        waitpid(rigsim_, &status, 0);
        ADD_FAILURE() << "rigsim did not stop on SIGTERM";
      } else {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "rigsim status " << status;
        EXPECT_FALSE(fs::is_symlink(link_)) << "rigsim left its link behind";
      }
    }
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  // One rigctl session: opens the line (with the client's own start-up exchange), runs the
  // commands, closes. Its standard output, one value a line.
  std::string Rigctl(const std::string& commands) {
    int status = 0;
    const std::string output =
        RunShell("rigctl -m " + std::string(kRigModel) + " -r " + link_.string() +
                     " -s 19200 -C cache_timeout=0 " + commands,
                 status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "rigctl " << commands << " ended with status " << status << " (124: timed out)";
    return output;
  }

  std::string Log() const {
    int status = 0;
    return RunShell("cat " + (dir_ / "rigsim.log").string(), status);
  }

  fs::path dir_;
  fs::path link_;
  pid_t rigsim_ = -1;
};

TEST_F(HamlibConformance, FrequencyModeMemoryAndRawRead) {
  struct Case {
    const char* what;
    const char* commands;
    const char* output;
  };
  const Case cases[] = {
      {"start state", "f m", "14195000\nUSB\n2400\n"},
      {"set and read the frequency", "F 7074000 f", "7074000\n"},
      {"the frequency stays set", "f", "7074000\n"},
      {"set and read the mode", "M LSB 2400 m", "LSB\n2400\n"},
      {"memory mode, channel 5", "V MEM E 5 f m", "50125000\nUSB\n2400\n"},
      {"channel 2", "E 2 f m", "7050000\nLSB\n2400\n"},
      {"back to the VFO", "V VFO f m", "7074000\nLSB\n2400\n"},
      {"raw read of channel 1 (echo 9, answer 34)",
       "W '\\0xFE\\0xFE\\0x64\\0xE0\\0x1A\\0x00\\0x00\\0x01\\0xFD' 43",
       "\\0xFE\\0xFE\\0x64\\0xE0\\0x1A\\0x00\\0x00\\0x01\\0xFD"
       "\\0xFE\\0xFE\\0xE0\\0x64\\0x1A\\0x00\\0x00\\0x01\\0x00\\0x00\\0x50\\0x19\\0x14\\0x00"
       "\\0x01\\0x02\\0x00\\0x00\\0x08\\0x85\\0x00\\0x08\\0x85"
       "\\0x44\\0x58\\0x20\\0x4E\\0x45\\0x54\\0x20\\0x20\\0x20\\0x20\\0xFD 43\n"},
      {"raw read of a blank channel",
       "W '\\0xFE\\0xFE\\0x64\\0xE0\\0x1A\\0x00\\0x00\\0x03\\0xFD' 19",
       "\\0xFE\\0xFE\\0x64\\0xE0\\0x1A\\0x00\\0x00\\0x03\\0xFD"
       "\\0xFE\\0xFE\\0xE0\\0x64\\0x1A\\0x00\\0x00\\0x03\\0xFF\\0xFD 19\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Rigctl(c.commands), c.output) << c.what << "\nrigsim log:\n" << Log();
  }
}

}  // namespace
