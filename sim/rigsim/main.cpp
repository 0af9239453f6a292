// SPDX-License-Identifier: GPL-3.0-or-later
// rigsim: the simulated transceiver for people and end-to-end tests. It opens a
// pseudo-terminal, links it as com1 (or --link NAME) in the working directory, and answers on
// it as the transceiver does on a CI-V bus, in real time at --baud (default 19200): echo,
// byte times, bursts and transceive broadcasts. SIGINT and SIGTERM end it and remove the link;
// SIGUSR1 replugs the line, as the front panel's "Replug cable" key does (a pulled cable is
// plugged back in), and SIGUSR2 pulls the cable. The fault options
// (--help) pull the cable, replug it, alter, delay and disturb the answers.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/serial_devices.h"
#include "sim/rigsim/frame_log.h"
#include "sim/rigsim/front_panel.h"
#include "sim/rigsim/options.h"
#include "sim/rigsim/pty_line.h"
#include "sim/rigsim/rig_link.h"
#include "sim/transceiver.h"

namespace {

// SIGINT, SIGTERM and SIGHUP (stop), SIGUSR1 (replug) and SIGUSR2 (pull) arrive as readable data on
// a descriptor, so that the event loop handles them: a stop ends it cleanly and the link is
// removed.
int BlockSignals() {
  sigset_t incoming;
  sigemptyset(&incoming);
  sigaddset(&incoming, SIGINT);
  sigaddset(&incoming, SIGTERM);
  sigaddset(&incoming, SIGHUP);
  sigaddset(&incoming, SIGUSR1);
  sigaddset(&incoming, SIGUSR2);
  sigprocmask(SIG_BLOCK, &incoming, nullptr);
  return signalfd(-1, &incoming, SFD_CLOEXEC);
}

bool DisplayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0') return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

void Say(const std::string& text) {
  std::printf("rigsim: %s\n", text.c_str());
  std::fflush(stdout);
}

// How the control programs reach this line: from the folder rigsim runs in through the link, from
// anywhere else by choosing the link in their Setup window.
std::string HowToUse(const std::string& linkName) {
  std::error_code ec;
  const std::filesystem::path link = std::filesystem::absolute(linkName, ec);
  const std::string folder = link.parent_path().string();
  return "Programs started in " + folder + " use this line as " + link.filename().string() +
         ". From elsewhere (the desktop menu, say): in the program's Setup window choose " +
         link.string() + " under \"Serial Devices\" or press \"Find Transceiver\", then Save.";
}

void SayHowToUseARealTransceiver() {
  const std::vector<tavrin::SerialDevice> devices = tavrin::ListSerialDevices({});
  Say("with a real transceiver instead: in the program's Setup window choose its cable under "
      "\"Serial Devices\" or press \"Find Transceiver\"");
  if (devices.empty()) {
    Say("no USB serial device is plugged in now (/dev/ttyUSB*, /dev/ttyACM*, /dev/serial/by-id/*)");
  } else {
    for (const auto& device : devices) Say("serial device: " + device.Line());
  }
}

int DelayMs(std::int64_t micros) {
  return static_cast<int>(std::min<std::int64_t>((micros + 999) / 1000, 2'000'000'000));
}

// The fault options put on the line and the cable.
void ArrangeFaults(const tavrin::rigsim::Options& options, tavrin::rigsim::RigLink& link) {
  using tavrin::rigsim::RigLink;
  tavrin::sim::Bus& bus = link.Line();
  for (const auto& fault : options.memoryFaults) {
    bus.AlterMemoryAnswer(fault.channel, fault.fault, fault.times);
  }
  bus.SetAnswerDelay(options.answerDelayMicros);
  for (const auto& noise : options.noise) bus.AddNoise(noise.bytes, noise.atMicros);
  for (const auto& s : options.strayBytes)
    bus.AddStrayBytes(s.perSecond, s.fromMicros, s.forMicros);
  for (const auto& f : options.floods)
    bus.FloodBroadcasts(f.everyMicros, f.fromMicros, f.forMicros);
  if (options.pullAfterFrames) link.PullAfterFrames(*options.pullAfterFrames);
  if (options.pullAtMicros) {
    QTimer::singleShot(DelayMs(*options.pullAtMicros), &link, [&link] { link.PullCable(); });
  }
  if (options.replugAfterMicros) {
    const int ms = DelayMs(*options.replugAfterMicros);
    auto plugBackIn = [&link] {
      std::string error;
      if (!link.PlugIn(error)) Say("cannot plug the cable back in: " + error);
    };
    if (options.pullAtMicros || options.pullAfterFrames) {
      // Counted from the pull, once.
      auto connection = std::make_shared<QMetaObject::Connection>();
      *connection = QObject::connect(&link, &RigLink::CableChanged, &link,
                                     [connection, ms, &link, plugBackIn](bool plugged) {
                                       if (plugged) return;
                                       QObject::disconnect(*connection);
                                       QTimer::singleShot(ms, &link, plugBackIn);
                                     });
    } else {
      QTimer::singleShot(ms, &link, [&link] {
        std::string error;
        if (!link.Replug(error)) Say("cannot replug the line: " + error);
      });
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace tavrin;
  std::string error;
  const auto options = rigsim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "rigsim: %s\n%s", error.c_str(), rigsim::Usage().c_str());
    return 2;
  }
  if (options->help) {
    std::printf("%s", rigsim::Usage().c_str());
    return 0;
  }
  const bool headless = options->headless || !DisplayAvailable();
  if (!options->headless && headless) Say("no display found: running without the front panel");

  const int incoming = BlockSignals();
  std::unique_ptr<QCoreApplication> app;
  if (headless) {
    app = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    app = std::make_unique<QApplication>(argc, argv);
  }

  rigsim::FrameLog frameLog;
  if (!options->log.empty() && !frameLog.Open(options->log, error)) {
    std::fprintf(stderr, "rigsim: %s\n", error.c_str());
    return 1;
  }
  rigsim::PtyLine line;
  if (!line.Open(error) || !line.Link(options->link, error)) {
    std::fprintf(stderr, "rigsim: %s\n", error.c_str());
    return 1;
  }
  sim::Transceiver radio;
  radio.FillDemoChannels();
  rigsim::RigLink link(line, radio, options->baud, options->link);
  if (!options->log.empty()) {
    link.OnControllerBytes([&frameLog](const std::string& bytes) { frameLog.Add(bytes); });
  }

  Say("simulated transceiver at CI-V address 64, " + std::to_string(options->baud) + " baud");
  Say("line " + line.SlavePath() + ", linked as " + options->link);
  Say("VFO 14.195.0 MHz USB filter 2; memory channels 1, 2 and 5 filled");
  Say("echoing every byte, answering after the controller goes quiet; Ctrl+C ends");
  Say(HowToUse(options->link));
  SayHowToUseARealTransceiver();

  const auto replug = [&link] {
    std::string error;
    if (!link.Replug(error)) Say("cannot replug the line: " + error);
  };
  QSocketNotifier signalled(incoming, QSocketNotifier::Read);
  QObject::connect(&signalled, &QSocketNotifier::activated, app.get(), [&] {
    signalfd_siginfo info{};
    const ssize_t got = read(incoming, &info, sizeof info);
    if (got == static_cast<ssize_t>(sizeof info) && info.ssi_signo == SIGUSR1) {
      replug();
      return;
    }
    if (got == static_cast<ssize_t>(sizeof info) && info.ssi_signo == SIGUSR2) {
      link.PullCable();
      return;
    }
    QCoreApplication::quit();
  });
  QObject::connect(&link, &rigsim::RigLink::ControllerChanged, app.get(), [](bool attached) {
    Say(attached ? "controller opened the line" : "controller closed the line");
  });

  std::unique_ptr<rigsim::FrontPanel> panel;
  const auto lineText = [&] {
    return link.Plugged() ? line.SlavePath() + " as " + options->link
                          : "cable pulled: " + options->link + " points at nothing";
  };
  QObject::connect(&link, &rigsim::RigLink::CableChanged, app.get(), [&](bool plugged) {
    Say(plugged ? "cable plugged in: line " + line.SlavePath() + ", linked as " + options->link
                : "cable pulled: line gone, " + options->link + " points at nothing");
    if (panel) panel->SetLinkText(QString::fromStdString(lineText()));
  });
  ArrangeFaults(*options, link);
  if (!headless) {
    panel = std::make_unique<rigsim::FrontPanel>(radio);
    panel->SetLinkText(QString::fromStdString(lineText()));
    panel->SetHint(QString::fromStdString(HowToUse(options->link)));
    panel->OnReplug(replug);
    panel->show();
  }
  const int status = QCoreApplication::exec();
  panel.reset();
  line.Unlink();
  Say("stopped; " + options->link + " removed");
  close(incoming);
  return status;
}
