// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial communications control on QSerialPort.
//
// Port number n stands for the link "comN" (or "COMN") in the program's current directory
// when there is one, as a Windows compatibility layer maps COM ports: point it at /dev/ttyUSB0
// or at a simulator's pseudo-terminal. Without such a link port n is /dev/ttyS<n-1>.
// A port is opened exclusively: a second program (or a second control) asking for a port
// already held gets error 8005. A device this user may not use gets error 70 with the cure
// (joining its group) as advice, and a lock file left by a program that has ended is cleared
// first (platform/device_access.h). A device that vanishes while open (cable pulled, simulator
// stopped: a hang-up, a read or write error) closes the port and is reported to the OnGone
// handler; reads then give nothing and writes are dropped.
#include <QSerialPort>
#include <functional>
#include <string>

#include "platform/files.h"
#include "platform/port_links.h"
#include "platform/serial_control.h"

namespace tavrin {

// Any other failure to open: the system's description comes with it.
inline constexpr int kErrorPortDevice = 8015;

class QtSerial : public SerialControl {
 public:
  explicit QtSerial(Files& files);
  // A control on one device file, whatever its port number: for asking a device something
  // apart from the program's own port.
  QtSerial(Files& files, std::string devicePath);
  ~QtSerial() override;
  QtSerial(const QtSerial&) = delete;
  QtSerial& operator=(const QtSerial&) = delete;

  void SetCommPort(int portNumber) override { portNumber_ = portNumber; }
  [[nodiscard]] int CommPort() const override { return portNumber_; }
  void SetSettings(const std::string& settings) override { settings_ = settings; }
  [[nodiscard]] std::string Settings() const override { return settings_; }
  void SetInputLen(int length) override { inputLen_ = length; }
  [[nodiscard]] bool PortOpen() const override;
  PortError Open() override;
  void Close() override;
  void Output(const std::string& bytes) override;
  std::string Input() override;
  void OnInput(std::function<void()> handler) override { handler_ = std::move(handler); }
  void OnGone(std::function<void()> handler) override { goneHandler_ = std::move(handler); }
  // The device file port n stands for exists (a link that leads somewhere that is there).
  // For the port last opened that is the name it was opened by: a pulled USB cable takes its
  // comN link with it, and the program must wait for that link, not fall back to /dev/ttyS.
  [[nodiscard]] bool DevicePresent(int portNumber) const override;

  // The device file port n stands for now (the link itself when there is one), or the device
  // file this control was made for.
  [[nodiscard]] std::string DevicePath(int portNumber) const;
  // What the port leads to: "/dev/serial/by-id/usb-...", "/dev/ttyS1", "... (not connected)",
  // "not connected" (PortLinks::Describe).
  [[nodiscard]] std::string DescribePort(int portNumber) const override;

 private:
  void DataArrived();
  void ErrorOccurred(QSerialPort::SerialPortError error);

  Files& files_;
  PortLinks links_;
  std::string fixedPath_;  // the device file of a control made for one
  int portNumber_ = 1;
  std::string settings_ = "9600,N,8,1";
  int inputLen_ = 0;
  int openedPortNumber_ = 0;
  std::string openedPath_;  // the name port openedPortNumber_ was opened by
  QSerialPort port_;
  std::function<void()> handler_;
  std::function<void()> goneHandler_;
  bool reading_ = false;
};

}  // namespace tavrin
