// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial devices of this machine that a CI-V cable may be, for the setup window's list and
// for finding the transceiver: every /dev/serial/by-id entry (the stable name of a USB serial
// cable) with its USB product name, every /dev/ttyUSB* and /dev/ttyACM* not already named by
// one, the simulator's line when rigsim runs in its own folder, and whatever else the window
// system's serial port information reports (platform/qt).
//
// The folders are parameters, so that a test lays out a folder of its own that stands for /dev
// and /sys.
#include <memory>
#include <string>
#include <vector>

#include "platform/serial_control.h"

namespace tavrin {

struct SerialDevice {
  // The name to point a port at: the /dev/serial/by-id name where there is one.
  std::string path;
  // The device file it leads to now (/dev/ttyUSB0), by which two names of one device are told.
  std::string device;
  // The USB product name, or what the system calls the port; may be empty.
  std::string product;

  // One line of the list: "/dev/serial/by-id/usb-FTDI_...-if00-port0  (FT232R USB UART,
  // /dev/ttyUSB0)", "/dev/ttyS0".
  [[nodiscard]] std::string Line() const;
  bool operator==(const SerialDevice&) const = default;
};

struct DeviceFolders {
  std::string dev = "/dev";
  std::string sys = "/sys";
  // rigsim's own folder when it was started from its menu entry (its com1 link is there); empty
  // for none.
  std::string simulator;
};

// The product rigsim's line is listed with.
inline constexpr const char* kSimulatorProduct = "rigsim, the simulated transceiver";

// The devices in these folders, in the order a person looks for a cable: by-id names (sorted),
// then ttyUSB and ttyACM devices no by-id name leads to (in number order), then the simulator's
// lines. Folders that do not exist contribute nothing; dangling links are left out.
std::vector<SerialDevice> ListSerialDevices(const DeviceFolders& folders);

// Adds what another source reports to `devices`: a device already listed (the same device file)
// only gains a product name when it had none; any other is added at the end.
void MergeSerialDevices(std::vector<SerialDevice>& devices, const std::vector<SerialDevice>& more);

// "usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0" gives "Silicon Labs
// CP2102 USB to UART Bridge Controller 0001": the product as udev spelt it into the name.
std::string ProductFromByIdName(const std::string& name);

class SerialDevices {
 public:
  virtual ~SerialDevices() = default;
  // The serial devices present now.
  [[nodiscard]] virtual std::vector<SerialDevice> List() const = 0;
  // A serial control on the device file `path` (closed), apart from the program's own port, so
  // that a device can be asked something without touching the port the program uses. Its port
  // number is ignored.
  virtual std::unique_ptr<SerialControl> PortOn(const std::string& path) = 0;
};

}  // namespace tavrin
