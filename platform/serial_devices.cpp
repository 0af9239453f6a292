// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/serial_devices.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <tuple>

namespace tavrin {

namespace fs = std::filesystem;

namespace {

// Names in number order: ttyUSB2 before ttyUSB10.
bool NumberOrder(const std::string& a, const std::string& b) {
  const auto key = [](const std::string& name) {
    std::size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])) != 0) --digits;
    return std::make_tuple(name.substr(0, digits), name.size() - digits, name.substr(digits));
  };
  return key(a) < key(b);
}

std::vector<fs::path> Entries(const fs::path& folder) {
  std::vector<fs::path> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    entries.push_back(it->path());
  return entries;
}

std::string DeviceOf(const fs::path& path) {
  std::error_code ec;
  const fs::path device = fs::canonical(path, ec);
  if (ec || fs::is_directory(device, ec)) return {};
  return device.string();
}

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())) != 0)
    line.pop_back();
  return line;
}

// The product name the kernel gives a USB serial device: the "product" file of the USB device
// above its tty (sys/class/tty/NAME/device leads to the port or interface; the device is a
// level or two up).
std::string UsbProduct(const std::string& sys, const std::string& ttyName) {
  if (sys.empty() || ttyName.empty()) return {};
  std::error_code ec;
  fs::path node = fs::canonical(fs::path(sys) / "class" / "tty" / ttyName / "device", ec);
  if (ec) return {};
  for (int level = 0; level < 4 && node.has_parent_path(); ++level, node = node.parent_path()) {
    if (fs::is_regular_file(node / "product", ec)) return FirstLine(node / "product");
  }
  return {};
}

bool Listed(const std::vector<SerialDevice>& devices, const std::string& device) {
  return std::any_of(devices.begin(), devices.end(),
                     [&](const SerialDevice& d) { return d.device == device; });
}

}  // namespace

std::string SerialDevice::Line() const {
  std::string details = product;
  if (!device.empty() && device != path) details += (details.empty() ? "" : ", ") + device;
  return details.empty() ? path : path + "  (" + details + ")";
}

std::string ProductFromByIdName(const std::string& name) {
  std::string product = name;
  for (const char* bus : {"usb-", "pci-"}) {
    if (product.rfind(bus, 0) == 0) product.erase(0, std::string(bus).size());
  }
  // The interface and port udev appends: "-if00", "-if00-port0".
  const std::size_t interface = product.rfind("-if");
  if (interface != std::string::npos && interface + 5 <= product.size() &&
      std::isdigit(static_cast<unsigned char>(product[interface + 3])) != 0 &&
      std::isdigit(static_cast<unsigned char>(product[interface + 4])) != 0) {
    product.erase(interface);
  }
  std::replace(product.begin(), product.end(), '_', ' ');
  while (!product.empty() && product.back() == ' ') product.pop_back();
  return product;
}

std::vector<SerialDevice> ListSerialDevices(const DeviceFolders& folders) {
  std::vector<SerialDevice> devices;
  const fs::path dev(folders.dev);

  std::vector<fs::path> byId = Entries(dev / "serial" / "by-id");
  std::sort(byId.begin(), byId.end());
  for (const fs::path& entry : byId) {
    const std::string device = DeviceOf(entry);
    if (device.empty() || Listed(devices, device)) continue;
    std::string product = UsbProduct(folders.sys, fs::path(device).filename().string());
    if (product.empty()) product = ProductFromByIdName(entry.filename().string());
    devices.push_back({entry.string(), device, product});
  }

  std::vector<std::string> names;
  for (const fs::path& entry : Entries(dev)) {
    const std::string name = entry.filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), NumberOrder);
  for (const std::string& name : names) {
    const std::string device = DeviceOf(dev / name);
    if (device.empty() || Listed(devices, device)) continue;
    devices.push_back({(dev / name).string(), device, UsbProduct(folders.sys, name)});
  }

  if (!folders.simulator.empty()) {
    std::vector<std::string> links;
    for (const fs::path& entry : Entries(folders.simulator)) {
      const std::string name = entry.filename().string();
      if (name.size() > 3 && (name.rfind("com", 0) == 0 || name.rfind("COM", 0) == 0))
        links.push_back(name);
    }
    std::sort(links.begin(), links.end(), NumberOrder);
    for (const std::string& name : links) {
      const fs::path entry = fs::path(folders.simulator) / name;
      const std::string device = DeviceOf(entry);
      if (device.empty() || Listed(devices, device)) continue;
      devices.push_back({entry.string(), device, kSimulatorProduct});
    }
  }
  return devices;
}

void MergeSerialDevices(std::vector<SerialDevice>& devices, const std::vector<SerialDevice>& more) {
  for (const SerialDevice& other : more) {
    const std::string device = other.device.empty() ? other.path : other.device;
    auto same = std::find_if(devices.begin(), devices.end(),
                             [&](const SerialDevice& d) { return d.device == device; });
    if (same == devices.end()) {
      devices.push_back({other.path, device, other.product});
    } else if (same->product.empty()) {
      same->product = other.product;
    }
  }
}

}  // namespace tavrin
