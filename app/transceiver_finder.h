// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Find Transceiver": asks each serial device, at 19200, 9600 and 4800 baud, for the
// transceiver's identity (FE FE 64 E0 19 00 FD, and nothing else) and stops at the first that
// answers with the identity 64. One device and speed at a time, each given the usual reply
// window of 50 ms on a timer, so that the window stays alive meanwhile. A device that cannot be
// opened is not asked at the other speeds; what kept it closed (another program holds it, this
// user may not use it) is told in the outcome.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_devices.h"

namespace tavrin {

class TransceiverFinder {
 public:
  struct Outcome {
    bool found = false;
    SerialDevice device;                  // found: the device that answered
    std::string settings;                 // found: "9600,N,8,1"
    std::vector<std::string> asked;       // devices asked (at every speed unless found)
    std::vector<std::string> busy;        // held by another program
    std::vector<std::string> notAllowed;  // this user may not open them
    std::string advice;                   // the cure for the first of those
    std::vector<std::string> failed;      // could not be opened otherwise: "path (why)"
  };

  // The speeds asked, in order, as serial settings strings.
  static const std::vector<std::string>& Speeds();
  static constexpr int kReplyWindowMs = 50;

  TransceiverFinder(Clock& clock, std::function<void(const Outcome&)> done);

  // Starts asking `list` (from `devices`); `done` runs once at the end, at once when there is
  // nothing to ask.
  void Start(SerialDevices* devices, std::vector<SerialDevice> list);
  // Stops without an outcome; the device being asked is closed.
  void Stop();
  [[nodiscard]] bool Running() const { return running_; }
  // What it does now: "Asking /dev/ttyUSB0 at 19200 baud ...".
  [[nodiscard]] std::string Progress() const;

  // Whether a reply holds the transceiver's identity answer FE FE E0 64 19 00 64 FD, wherever
  // it stands (behind the echo of the query, among stray bytes).
  static bool HasIdentityAnswer(const std::string& reply);

  Timer StepTimer;

 private:
  void Step();
  bool AskNext();
  void Finish();

  std::function<void(const Outcome&)> done_;
  SerialDevices* devices_ = nullptr;
  std::vector<SerialDevice> list_;
  std::size_t device_ = 0;
  std::size_t speed_ = 0;
  std::unique_ptr<SerialControl> port_;
  Outcome outcome_;
  bool running_ = false;
};

}  // namespace tavrin
