// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Joins the pseudo-terminal to the simulated bus: bytes the controller writes go onto the bus,
// and what the bus delivers to the controller (echo, answers, broadcasts) is written back.
// The cable can be pulled (the line and its link go away) and plugged back in (a new line
// behind the same link), as a USB CI-V cable is. The transceiver talks at one speed: a
// controller that set its side of the line to another hears its own bytes echoed and nothing
// else, as a real transceiver sends nothing back to bytes it cannot read.
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "sim/bus.h"
#include "sim/rigsim/pty_line.h"
#include "sim/rigsim/real_time_scheduler.h"
#include "sim/transceiver.h"

namespace tavrin::rigsim {

class RigLink : public QObject {
  Q_OBJECT

 public:
  // `linkName` is the name the line is linked as, again after each replug.
  RigLink(PtyLine& line, sim::Transceiver& radio, int baud, std::string linkName);

  // Called with the bytes the controller writes as they reach the transceiver, each frame once
  // its FD is there (a frame still on the line when the cable comes out never gets there), and
  // with bytes written at another speed than the transceiver's as they are written, since they
  // reach it only as garbage.
  void OnControllerBytes(std::function<void(const std::string&)> listener) {
    controllerBytes_ = std::move(listener);
  }

  // The line with its faults (late and altered answers, noise), on the bus's clock.
  [[nodiscard]] sim::Bus& Line() { return bus_; }
  [[nodiscard]] std::int64_t NowMicros() const { return scheduler_.NowMicros(); }

  // The cable comes out: what is on its way is lost, the line goes away and its link points
  // at nothing.
  void PullCable();
  // The cable goes back in: a new line behind the same link. False with `error` set when no
  // line can be made.
  bool PlugIn(std::string& error);
  // Both at once, as the front panel's key does.
  bool Replug(std::string& error);
  [[nodiscard]] bool Plugged() const { return plugged_; }
  // The cable comes out when the controller writes again after `frames` more frames.
  void PullAfterFrames(int frames) { framesBeforePull_ = frames; }

 signals:
  void ControllerChanged(bool attached);
  // The cable came out (false) or went back in (true).
  void CableChanged(bool plugged);

 private:
  void ReadController();
  void WatchForController();
  void Deliver(char byte);
  void CountFrames(const std::string& bytes);
  // The line starts at the transceiver's speed, so that a controller that sets none talks at
  // it; whether the controller's side is at that speed now.
  void SetLineSpeed();
  [[nodiscard]] bool ControllerAtOurSpeed() const;

  PtyLine& line_;
  int baud_;
  std::string linkName_;
  RealTimeScheduler scheduler_;
  sim::Bus bus_;
  std::unique_ptr<QSocketNotifier> readable_;
  QTimer watch_;  // while nobody holds the line, looks for a controller every 5 ms
  bool attached_ = false;
  bool plugged_ = true;
  int framesBeforePull_ = -1;  // -1: no pull waiting for frames
  std::function<void(const std::string&)> controllerBytes_;
};

}  // namespace tavrin::rigsim
