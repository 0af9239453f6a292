#pragma once
// Joins the pseudo-terminal to the simulated bus: bytes the controller writes go onto the bus,
// and what the bus delivers to the controller (echo, answers, broadcasts) is written back.
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
  RigLink(PtyLine& line, sim::Transceiver& radio, int baud);

  // Called with the bytes the controller writes, as they arrive, before the bus carries them.
  void OnControllerBytes(std::function<void(const std::string&)> listener) {
    controllerBytes_ = std::move(listener);
  }

 signals:
  void ControllerChanged(bool attached);

 private:
  void ReadController();
  void WatchForController();
  void Deliver(char byte);

  PtyLine& line_;
  RealTimeScheduler scheduler_;
  sim::Bus bus_;
  QSocketNotifier readable_;
  QTimer watch_;  // while nobody holds the line, looks for a controller now and then
  bool attached_ = false;
  std::function<void(const std::string&)> controllerBytes_;
};

}  // namespace tavrin::rigsim
