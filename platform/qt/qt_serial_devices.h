// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine's serial devices for the setup window: the by-id names, ttyUSB and ttyACM devices
// and the simulator's line found in the folders (platform/serial_devices.h), joined by the ports
// Qt's serial port information reports (the machine's own ports among them), and a QtSerial on
// any one of them for asking it something.
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/serial_devices.h"

namespace tavrin {

class QtSerialDevices : public SerialDevices {
 public:
  // The folders of this machine; rigsim's own folder is Station/Simulator in the home folder.
  explicit QtSerialDevices(Files& files);
  QtSerialDevices(Files& files, DeviceFolders folders);

  [[nodiscard]] std::vector<SerialDevice> List() const override;
  std::unique_ptr<SerialControl> PortOn(const std::string& path) override;

  // Where rigsim works when started from its menu entry: Station/Simulator in the home folder.
  static std::string SimulatorFolder();

 private:
  Files& files_;
  DeviceFolders folders_;
};

}  // namespace tavrin
