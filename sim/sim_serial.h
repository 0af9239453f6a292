// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test double of the serial control: a port wired through the simulated CI-V bus (echo, byte
// times, bursts) to a simulated transceiver, on virtual time. Bytes reach the input buffer at
// the virtual time they arrive, and the OnInput handler is called for each arrival.
//
//   VirtualClock clock;
//   sim::Transceiver radio;
//   SimSerial serial(clock, radio);
//   serial.SetCommPort(1);
//   serial.SetSettings("19200,N,8,1");
//   serial.Open();
//   serial.Output(sim::FromHex("FE FE 64 E0 03 FD"));
//   clock.Advance(50);
//   serial.Input();  // echo FE FE 64 E0 03 FD, answer FE FE E0 64 03 00 50 19 14 00 FD
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/serial_control.h"
#include "platform/virtual_clock.h"
#include "sim/bus.h"
#include "sim/clock_scheduler.h"
#include "sim/transceiver.h"

namespace tavrin {

// One frame the controller wrote (FE .. FD, or the bytes up to an FD), and when.
struct SentFrame {
  std::string bytes;
  std::int64_t micros = 0;
  [[nodiscard]] double Ms() const { return static_cast<double>(micros) / 1000.0; }
};

class SimSerial : public SerialControl {
 public:
  // The clock and the transceiver must outlive the port.
  SimSerial(VirtualClock& clock, sim::Transceiver& radio);
  ~SimSerial() override;
  SimSerial(const SimSerial&) = delete;
  SimSerial& operator=(const SimSerial&) = delete;

  // SerialControl. Ports 1 to 3 exist; Open gives 8002 "Invalid port number" for others,
  // 8005 "Port already open" when open or held by another program, 380 "Invalid property
  // value" for a malformed settings string.
  void SetCommPort(int portNumber) override { port_ = portNumber; }
  [[nodiscard]] int CommPort() const override { return port_; }
  void SetSettings(const std::string& settings) override;
  [[nodiscard]] std::string Settings() const override { return settings_; }
  void SetInputLen(int length) override { inputLen_ = length; }
  [[nodiscard]] bool PortOpen() const override { return open_; }
  PortError Open() override;
  void Close() override;
  void Output(const std::string& bytes) override;
  std::string Input() override;
  void OnInput(std::function<void()> handler) override { onInput_ = std::move(handler); }
  void OnGone(std::function<void()> handler) override { onGone_ = std::move(handler); }
  [[nodiscard]] bool DevicePresent(int portNumber) const override {
    return !vanished_ && ports_.contains(portNumber);
  }
  // Every existing port leads to the simulated transceiver.
  [[nodiscard]] std::string DescribePort(int portNumber) const override {
    return ports_.count(portNumber) != 0 ? "the simulated transceiver" : "not present";
  }

  // --- Test controls ----------------------------------------------------------------------
  void SetPortExists(int portNumber, bool exists);
  // Another program holds the port: Open fails with 8005.
  void SetHeldElsewhere(bool held) { heldElsewhere_ = held; }
  // Every open fails with this error (a device this user may not use, say) until it is
  // cleared with nothing.
  void FailOpensWith(std::optional<PortError> error) { openError_ = std::move(error); }
  // The transceiver's own CI-V speed: opened at another speed, the port reads back its own
  // bytes (the line echoes them) but the transceiver hears only garbage and says nothing.
  // 0 (the start): it talks at any speed.
  void SetRadioBaud(int baud) { radioBaud_ = baud; }
  // The device is gone (cable pulled), as a real port sees it: an open port closes and tells
  // its OnGone handler; nothing in flight arrives, and opening fails with 8002 until the
  // device is back.
  void Vanish();
  [[nodiscard]] bool Vanished() const { return vanished_; }
  // The cable is plugged in again: the port can be opened (it stays closed until then).
  void PlugBackIn();
  // The cable comes out at virtual time `micros`, or when the controller writes its next frame
  // after `frames` more complete ones (those still reach the transceiver and are answered).
  void PullCableAt(std::int64_t micros);
  void PullCableAfterFrames(int frames);
  // The line itself, for noise, late and altered answers (sim::Bus).
  [[nodiscard]] sim::Bus& Line() { return bus_; }

  // --- For assertions ---------------------------------------------------------------------
  [[nodiscard]] const std::vector<SentFrame>& SentFrames() const { return sent_; }
  // The bytes of each sent frame, in order.
  [[nodiscard]] std::vector<std::string> SentFrameBytes() const;
  void ClearSentFrames() { sent_.clear(); }
  // Bytes waiting in the input buffer.
  [[nodiscard]] std::size_t Waiting() const { return input_.size(); }
  // What one byte costs on the line at the current settings, in microseconds.
  [[nodiscard]] std::int64_t ByteMicros() const { return bus_.ByteMicros(); }
  [[nodiscard]] sim::Transceiver& Radio() { return radio_; }

 private:
  void Arrive(char byte);
  void Record(const std::string& bytes);

  VirtualClock& clock_;
  sim::Transceiver& radio_;
  ClockScheduler scheduler_;
  sim::Bus bus_;
  int port_ = 1;
  std::string settings_ = "9600,N,8,1";
  int inputLen_ = 0;
  bool open_ = false;
  bool heldElsewhere_ = false;
  std::optional<PortError> openError_;
  int radioBaud_ = 0;
  bool garbled_ = false;  // opened at a speed the transceiver does not talk at
  bool vanished_ = false;
  std::set<int> ports_{1, 2, 3};
  std::string input_;
  std::string partialFrame_;  // bytes written since the last FD
  std::int64_t partialSince_ = 0;
  std::vector<SentFrame> sent_;
  std::function<void()> onInput_;
  std::function<void()> onGone_;
  int framesBeforePull_ = -1;         // frames still to pass before the cable comes out; -1: none
  std::uint64_t pullGeneration_ = 0;  // bumped when the cable is plugged back in
};

}  // namespace tavrin
