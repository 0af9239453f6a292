// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial communications control: port number, settings string, read length, open state,
// output and whole-buffer input. Errors carry the numbers the programs show to the user:
// 8002 invalid port number, 8005 port already open (held by another program), 380 invalid
// settings string, 70 permission denied (the device is there but this user may not use it),
// 8015 or others for device failures.
#include <functional>
#include <string>

namespace tavrin {

struct PortError {
  int number = 0;  // 0: no error
  std::string description;
  // What the operator can do about it, in a sentence or two, when the platform can tell
  // ("/dev/ttyUSB0 belongs to the group dialout. Add yourself with: ..."); else empty.
  std::string advice = {};
  [[nodiscard]] bool Failed() const { return number != 0; }
};

inline constexpr int kErrorInvalidPort = 8002;
inline constexpr int kErrorPortAlreadyOpen = 8005;
inline constexpr int kErrorInvalidSettings = 380;
inline constexpr int kErrorPermissionDenied = 70;

class SerialControl {
 public:
  virtual ~SerialControl() = default;
  virtual void SetCommPort(int portNumber) = 0;
  [[nodiscard]] virtual int CommPort() const = 0;
  // "19200,N,8,1": speed, parity, data bits, stop bits. Checked when the port opens.
  virtual void SetSettings(const std::string& settings) = 0;
  [[nodiscard]] virtual std::string Settings() const = 0;
  // 0: every read returns the whole input buffer (the only length the suite uses).
  virtual void SetInputLen(int length) = 0;
  [[nodiscard]] virtual bool PortOpen() const = 0;
  virtual PortError Open() = 0;
  virtual void Close() = 0;
  // Writes bytes (one char per byte). Dropped when the port is closed or the device is gone.
  virtual void Output(const std::string& bytes) = 0;
  // Takes everything waiting in the input buffer; the empty text when nothing waits, the
  // port is closed, or the device has vanished.
  virtual std::string Input() = 0;
  // Called whenever new bytes are waiting (the event-driven form of the 1 ms poll).
  virtual void OnInput(std::function<void()> handler) = 0;
  // Called once when the device goes away while the port is open (a read or write error, a
  // hang-up: the USB cable pulled, the simulator stopped). The port is closed by then.
  // Ports that cannot lose their device ignore it.
  virtual void OnGone(std::function<void()> /*handler*/) {}
  // Whether the device behind port n is there now, so that a program whose device went away
  // can look for it again without opening anything.
  [[nodiscard]] virtual bool DevicePresent(int /*portNumber*/) const { return true; }
  // What port n is on this machine, for the operator ("com1 -> /dev/ttyUSB0"); empty when
  // there is nothing to tell.
  [[nodiscard]] virtual std::string DescribePort(int /*portNumber*/) const { return {}; }
};

}  // namespace tavrin
