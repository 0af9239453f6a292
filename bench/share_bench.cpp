// SPDX-License-Identifier: GPL-3.0-or-later
// Round trip of "f" through the control program's network port against the same request
// through Hamlib's rigctld, each on its own rigsim, measured in one run:
//   build/bin/share_bench [requests]
// The control program runs in this process with tavrin's windows (offscreen) and its "Share"
// item checked; rigsim and rigctld (model 3047) are started here, in temporary folders, and
// rigctld is asked twice: as it runs by default (answers may come from its cache) and with its
// cache off (every answer read from the transceiver). While the transceiver's broadcasts keep
// the control program's state, "f" is answered from what the transceiver last told without an
// exchange; otherwise its exchange ends as soon as the transceiver's answer is in, and the
// round trip is the line's own time (about 9 ms at 19200 baud) and the program's. The goal is
// a round trip no slower than rigctld's cached answer (tests check that it is never stale).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/program_view.h"
#include "bench/child_process.h"
#include "share/qt/share_menu_view.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tavrin::bench::Spawn;
using tavrin::bench::Stop;

bool WaitFor(const std::function<bool()>& ready, int seconds) {
  const auto until = Clock::now() + std::chrono::seconds(seconds);
  while (!ready()) {
    if (Clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

int Connect(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  const int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

bool Listening(int port) {
  const int fd = Connect(port);
  if (fd < 0) return false;
  close(fd);
  return true;
}

int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

// The median round trip of "f" in milliseconds, or -1 when an answer did not come.
double MedianRoundTrip(int port, int requests) {
  const int fd = Connect(port);
  if (fd < 0) return -1;
  std::vector<double> times;
  for (int i = 0; i < requests; ++i) {
    const auto start = Clock::now();
    if (write(fd, "f\n", 2) != 2) break;
    char byte = 0;
    while (read(fd, &byte, 1) == 1 && byte != '\n') {
    }
    if (byte != '\n') break;
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  close(fd);
  if (times.size() != static_cast<std::size_t>(requests)) return -1;
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

fs::path StartRigsim(const std::string& rigsim, const char* name, std::vector<pid_t>& started) {
  const fs::path directory =
      fs::temp_directory_path() / (std::string(name) + "-" + std::to_string(getpid()));
  fs::create_directories(directory);
  started.push_back(Spawn({rigsim, "--headless"}, directory));
  WaitFor([&] { return fs::is_symlink(directory / "com1"); }, 10);
  return directory;
}

}  // namespace

int main(int argc, char* argv[]) {
  const int requests = argc > 1 ? std::max(5, std::atoi(argv[1])) : 40;
  const std::string rigsim = (fs::canonical("/proc/self/exe").parent_path() / "rigsim").string();
  std::vector<pid_t> started;
  const fs::path ours = StartRigsim(rigsim, "share-bench-tavrin", started);
  const fs::path theirs = StartRigsim(rigsim, "share-bench-rigctld", started);
  const int cachedPort = FreePort();
  started.push_back(Spawn({"rigctld", "-m", "3047", "-r", (theirs / "com1").string(), "-s", "19200",
                           "-T", "127.0.0.1", "-t", std::to_string(cachedPort)},
                          theirs));
  {
    std::ofstream ini(ours / "KESTRA.INI", std::ios::binary);
    ini << "KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n \r\n[DeftFile] KESTRA.TXT\r\n[CallSign] "
           "N0CALL\r\n[CommPort] COM1\r\n[CommBaud] 19200,N,8,1\r\n \r\nEND\r\n";
    std::ofstream(ours / "KESTRA.TXT");
  }
  fs::current_path(ours);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  tavrin::ProgramView program(tavrin::Build::Tavrin,
                              tavrin::share::WithNetworkControl(tavrin::TavrinViews()));
  program.Begin();

  int status = 0;
  std::thread client;
  // After the splash and the start-up synchronisation, check "Network Control (port 4532)".
  QTimer::singleShot(3500, [&] {
    for (QWidget* window : program.Windows()) {
      if (auto* item = window->findChild<QAction*>(QStringLiteral("NetworkControl"))) {
        item->trigger();
      }
    }
    client = std::thread([&] {
      const bool up = WaitFor([] { return Listening(4532); }, 10) &&
                      WaitFor([&] { return Listening(cachedPort); }, 10);
      const double tavrinMs = up ? MedianRoundTrip(4532, requests) : -1;
      const double rigctldMs = up ? MedianRoundTrip(cachedPort, requests) : -1;
      // The same rigctld with its cache off.
      Stop(started.back());
      started.pop_back();
      const int uncachedPort = FreePort();
      started.push_back(
          Spawn({"rigctld", "-m", "3047", "-r", (theirs / "com1").string(), "-s", "19200", "-T",
                 "127.0.0.1", "-t", std::to_string(uncachedPort), "-C", "cache_timeout=0"},
                theirs));
      const double uncachedMs = WaitFor([&] { return Listening(uncachedPort); }, 10)
                                    ? MedianRoundTrip(uncachedPort, requests)
                                    : -1;
      if (tavrinMs < 0 || rigctldMs < 0 || uncachedMs < 0) {
        std::printf("share_bench: a server did not answer (tavrin %.1f, rigctld %.1f, %.1f)\n",
                    tavrinMs, rigctldMs, uncachedMs);
        status = 2;
      } else {
        std::printf("round trip of \"f\", median of %d, 19200 baud:\n", requests);
        std::printf("  tavrin's port              %7.2f ms\n", tavrinMs);
        std::printf("  rigctld -m 3047            %7.2f ms   ratio tavrin/rigctld %.2f\n",
                    rigctldMs, tavrinMs / rigctldMs);
        std::printf("  rigctld, cache off         %7.2f ms   ratio tavrin/rigctld %.2f\n",
                    uncachedMs, tavrinMs / uncachedMs);
        std::printf("goal: no slower than rigctld's cached answer: %s\n",
                    tavrinMs <= rigctldMs ? "met" : "not met");
      }
      // The simulators and rigctld are stopped here: the program's own end may not return to
      // main.
      for (const pid_t pid : started) Stop(pid);
      started.clear();
      fs::remove_all(theirs);
      fs::remove_all(ours);
      std::fflush(stdout);
      QMetaObject::invokeMethod(
          &application, [] { QApplication::quit(); }, Qt::QueuedConnection);
    });
  });
  QApplication::exec();
  if (client.joinable()) client.join();
  for (const pid_t pid : started) Stop(pid);
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(ours);
  fs::remove_all(theirs);
  return status;
}
