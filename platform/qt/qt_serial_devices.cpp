// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_serial_devices.h"

#include <pwd.h>
#include <unistd.h>

#include <QSerialPortInfo>
#include <cstdlib>
#include <filesystem>

#include "platform/qt/qt_serial.h"

namespace tavrin {

QtSerialDevices::QtSerialDevices(Files& files)
    : QtSerialDevices(files, DeviceFolders{"/dev", "/sys", SimulatorFolder()}) {}

QtSerialDevices::QtSerialDevices(Files& files, DeviceFolders folders)
    : files_(files), folders_(std::move(folders)) {}

std::string QtSerialDevices::SimulatorFolder() {
  const char* home = std::getenv("HOME");
  std::string folder = home != nullptr ? home : "";
  if (folder.empty()) {
    const passwd* user = ::getpwuid(::getuid());
    if (user != nullptr && user->pw_dir != nullptr) folder = user->pw_dir;
  }
  if (folder.empty()) return {};
  return (std::filesystem::path(folder) / "Station" / "Simulator").string();
}

std::vector<SerialDevice> QtSerialDevices::List() const {
  std::vector<SerialDevice> devices = ListSerialDevices(folders_);
  std::vector<SerialDevice> reported;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    const std::string path = port.systemLocation().toStdString();
    std::error_code ec;
    const std::string device = std::filesystem::canonical(path, ec).string();
    reported.push_back({path, ec ? path : device, port.description().toStdString()});
  }
  MergeSerialDevices(devices, reported);
  return devices;
}

std::unique_ptr<SerialControl> QtSerialDevices::PortOn(const std::string& path) {
  return std::make_unique<QtSerial>(files_, path);
}

}  // namespace tavrin
