// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial port of the fuzz targets: open, it takes everything sent and never has anything
// to read, so that whatever the program waits for is answered by silence.
#include <functional>
#include <string>

#include "platform/serial_control.h"

namespace tavrin {

class SilentSerial : public SerialControl {
 public:
  void SetCommPort(int portNumber) override { port_ = portNumber; }
  [[nodiscard]] int CommPort() const override { return port_; }
  void SetSettings(const std::string& settings) override { settings_ = settings; }
  [[nodiscard]] std::string Settings() const override { return settings_; }
  void SetInputLen(int /*length*/) override {}
  [[nodiscard]] bool PortOpen() const override { return true; }
  PortError Open() override { return {}; }
  void Close() override {}
  void Output(const std::string& /*bytes*/) override {}
  std::string Input() override { return {}; }
  void OnInput(std::function<void()> /*handler*/) override {}

 private:
  int port_ = 1;
  std::string settings_ = "19200,N,8,1";
};

}  // namespace tavrin
