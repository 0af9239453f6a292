// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test double of the machine's serial devices: the list is read from a folder of the test's own
// that stands for /dev (ListSerialDevices), and each device file can be wired to a simulated
// transceiver talking at one speed, left silent (a cable with nothing behind it), or made to
// fail when opened (busy, not allowed). Ports made by PortOn run on the virtual clock; they must
// be let go before the transceivers behind them.
//
//   SimSerialDevices devices(clock, {dir + "/dev", dir + "/sys", ""});
//   devices.Connect(dir + "/dev/ttyUSB1", radio, 9600);
//   auto port = devices.PortOn(dir + "/dev/ttyUSB1");
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial_devices.h"
#include "platform/virtual_clock.h"
#include "sim/sim_serial.h"
#include "sim/transceiver.h"

namespace tavrin {

class SimSerialDevices : public SerialDevices {
 public:
  // The clock must outlive the ports made.
  SimSerialDevices(VirtualClock& clock, DeviceFolders folders);
  ~SimSerialDevices() override;

  // The device file `path` leads to `radio` (which must outlive the ports made for it), talking
  // at `baud`.
  void Connect(const std::string& path, sim::Transceiver& radio, int baud);
  // Opening `path` fails with `error`.
  void FailOpen(const std::string& path, PortError error);

  [[nodiscard]] std::vector<SerialDevice> List() const override;
  // A device file that is wired to nothing is a line with no transceiver on it: it echoes and
  // nothing answers. One that does not exist cannot be opened (8002).
  std::unique_ptr<SerialControl> PortOn(const std::string& path) override;

  // Every frame written to the device file, over all the ports made for it, in order (kept
  // when the ports are gone).
  [[nodiscard]] std::vector<std::string> SentTo(const std::string& path) const;

 private:
  struct Wiring {
    sim::Transceiver* radio = nullptr;
    int baud = 0;
    std::optional<PortError> error;
  };
  [[nodiscard]] std::string Key(const std::string& path) const;

  VirtualClock& clock_;
  DeviceFolders folders_;
  std::map<std::string, Wiring> wiring_;
  sim::Transceiver nobody_;  // behind a device wired to nothing: never answers
  std::map<std::string, std::vector<std::string>> sent_;
};

}  // namespace tavrin
