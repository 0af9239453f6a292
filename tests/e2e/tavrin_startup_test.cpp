// SPDX-License-Identifier: GPL-3.0-or-later
// The tavrin program started for real: Qt offscreen, a working directory whose KESTRA.INI names
// COM1, and a "com1" link to a pseudo-terminal on which this test plays the transceiver (bus
// echo included). After the splash the program must query the frequency first, go through the
// whole start-up synchronisation on the answers it gets, and keep running.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values) bytes += static_cast<char>(v);
  return bytes;
}

// A frame from the controller (E0) to the transceiver (64).
std::string ToRig(std::initializer_list<int> command) {
  return Bytes({0xFE, 0xFE, 0x64, 0xE0}) + Bytes(command) + Bytes({0xFD});
}

// The transceiver's answer: from 64 to E0.
std::string FromRig(std::initializer_list<int> data) {
  return Bytes({0xFE, 0xFE, 0xE0, 0x64}) + Bytes(data) + Bytes({0xFD});
}

// What a transceiver at 14.195.0 MHz USB, filter 2, antenna 1, receiving, answers.
std::string AnswerTo(const std::string& frame) {
  const std::string command = frame.substr(4, frame.size() - 5);
  if (command == Bytes({0x03})) return FromRig({0x03, 0x00, 0x50, 0x19, 0x14, 0x00});
  if (command == Bytes({0x04})) return FromRig({0x04, 0x01, 0x02});
  if (command == Bytes({0x12})) return FromRig({0x12, 0x00});
  if (command == Bytes({0x1C, 0x00})) return FromRig({0x1C, 0x00, 0x00});
  if (command == Bytes({0x19, 0x00})) return FromRig({0x19, 0x00, 0x64});
  return FromRig({0xFB});
}

class Transceiver {
 public:
  Transceiver() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    slavePath_ = ::ptsname(master_);
    // Held open for the whole test, so that the program closing and re-opening the port does
    // not hang up the line; raw, without the terminal's own echo (the bus echo is ours).
    slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    termios settings{};
    if (slave_ >= 0 && ::tcgetattr(slave_, &settings) == 0) {
      ::cfmakeraw(&settings);
      ::tcsetattr(slave_, TCSANOW, &settings);
    }
  }
  ~Transceiver() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
  }
  Transceiver(const Transceiver&) = delete;
  Transceiver& operator=(const Transceiver&) = delete;

  [[nodiscard]] bool Ok() const { return master_ >= 0 && slave_ >= 0; }
  [[nodiscard]] const std::string& SlavePath() const { return slavePath_; }

  // The next whole frame the controller sends, echoed and answered; empty at the deadline.
  std::string NextFrame(Clock::time_point deadline) {
    for (;;) {
      const std::size_t start = pending_.find('\xFE');
      if (start != std::string::npos) {
        const std::size_t end = pending_.find('\xFD', start);
        if (end != std::string::npos) {
          const std::string frame = pending_.substr(start, end - start + 1);
          pending_.erase(0, end + 1);
          Write(frame + AnswerTo(frame));
          return frame;
        }
      }
      const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return {};
      pollfd fd{master_, POLLIN, 0};
      if (::poll(&fd, 1, static_cast<int>(std::min<long long>(left, 100))) <= 0) continue;
      char buffer[256];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n > 0) pending_.append(buffer, static_cast<std::size_t>(n));
    }
  }

 private:
  void Write(const std::string& bytes) const {
    if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
      ADD_FAILURE() << "could not answer on the line";
    }
  }

  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
  std::string pending_;
};

// The program under test, in its own working directory; stopped at the end whatever happened.
class Program {
 public:
  explicit Program(const fs::path& directory) {
    pid_ = ::fork();
    if (pid_ == 0) {
      if (::chdir(directory.c_str()) != 0) ::_exit(126);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      const int quiet = ::open("/dev/null", O_WRONLY);
      if (quiet >= 0) ::dup2(quiet, STDERR_FILENO);
      ::execl(TAVRIN_PROGRAM, TAVRIN_PROGRAM, static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~Program() {
    if (pid_ <= 0 || Exited()) return;
    ::kill(pid_, SIGTERM);
    const auto until = Clock::now() + milliseconds(2000);
    while (!Exited() && Clock::now() < until) ::usleep(20000);
    if (!Exited()) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  [[nodiscard]] bool Started() const { return pid_ > 0; }
  bool Exited() {
    if (exited_) return true;
    int status = 0;
    exited_ = ::waitpid(pid_, &status, WNOHANG) == pid_;
    return exited_;
  }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
};

class ScratchDirectory {
 public:
  ScratchDirectory()
      : path_(fs::temp_directory_path() / ("tavrin-e2e-" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDirectory() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  [[nodiscard]] const fs::path& Path() const { return path_; }
  void Write(const std::string& name, const std::string& contents) const {
    std::ofstream(path_ / name, std::ios::binary) << contents;
  }

 private:
  fs::path path_;
};

TEST(TavrinStartUp, QueriesTheTransceiverAfterTheSplashAndSynchronises) {
  Transceiver rig;
  ASSERT_TRUE(rig.Ok());
  ScratchDirectory directory;
  directory.Write("KESTRA.INI",
                  "KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] KESTRA.TXT\r\n"
                  "[CallSign] K1ABC\r\n[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n \r\n"
                  "END\r\n");
  directory.Write("KESTRA.TXT", "");
  fs::create_symlink(rig.SlavePath(), directory.Path() / "com1");

  const auto launched = Clock::now();
  Program tavrin(directory.Path());
  ASSERT_TRUE(tavrin.Started());

  // The splash stands for 2 s; start-up then arms the reply timer, whose first tick asks for
  // the frequency. Generous slack for a busy machine.
  const std::string first = rig.NextFrame(launched + milliseconds(2000 + 4000));
  ASSERT_EQ(first, ToRig({0x03})) << "no frequency query from the program";
  const auto firstAt = Clock::now() - launched;
  EXPECT_GE(firstAt, milliseconds(1900));

  // One query per reply, each answered by us.
  const std::vector<std::string> queries = {ToRig({0x04}), ToRig({0x12}), ToRig({0x1C, 0x00}),
                                            ToRig({0x19, 0x00})};
  for (const std::string& query : queries) {
    EXPECT_EQ(rig.NextFrame(Clock::now() + milliseconds(2000)), query);
  }

  // The identity answer was complete, so the program marks its options to the transceiver's
  // state and sends their frames: among them antenna 1.
  std::vector<std::string> marks;
  for (std::string frame; !(frame = rig.NextFrame(Clock::now() + milliseconds(1000))).empty();) {
    marks.push_back(frame);
  }
  EXPECT_NE(std::find(marks.begin(), marks.end(), ToRig({0x12, 0x00})), marks.end());
  EXPECT_FALSE(tavrin.Exited()) << "the program ended during start-up";
}

}  // namespace
