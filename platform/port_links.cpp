// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/port_links.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tavrin {

namespace fs = std::filesystem;

namespace {

bool ValidPort(int port) { return port >= 1 && port <= 255; }

bool EntryExists(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

}  // namespace

PortLinks::PortLinks(const Files& files, std::string systemFolder)
    : files_(files), systemFolder_(std::move(systemFolder)) {}

std::string PortLinks::LinkPath(int port) const {
  if (!ValidPort(port)) return {};
  const std::string number = std::to_string(port);
  const fs::path folder(files_.CurrentDirectory());
  for (const std::string& name : {"com" + number, "COM" + number}) {
    if (EntryExists(folder / name)) return (folder / name).string();
  }
  return {};
}

std::string PortLinks::DevicePath(int port) const {
  if (!ValidPort(port)) return {};
  const std::string link = LinkPath(port);
  if (!link.empty()) return link;
  return (fs::path(systemFolder_) / ("ttyS" + std::to_string(port - 1))).string();
}

std::string PortLinks::Describe(int port) const {
  const std::string path = DevicePath(port);
  if (path.empty()) return {};
  std::error_code ec;
  const bool present = fs::exists(path, ec) && !fs::is_directory(path, ec);
  if (!fs::is_symlink(path, ec)) return present ? path : "not connected";
  const std::string target = fs::read_symlink(path, ec).string();
  return present ? target : target + " (not connected)";
}

bool PortLinks::PointAt(int port, const std::string& device, std::string& error) const {
  if (!ValidPort(port)) {
    error = "there is no port " + std::to_string(port);
    return false;
  }
  if (device.empty()) {
    error = "no device given";
    return false;
  }
  std::string link = LinkPath(port);
  if (link.empty()) {
    link = (fs::path(files_.CurrentDirectory()) / ("com" + std::to_string(port))).string();
  }
  std::error_code ec;
  if (EntryExists(link) && !fs::is_symlink(link, ec)) {
    error = link + " is not a link; it was left as it is";
    return false;
  }
  // A new link beside the old one, renamed over it: the port never leads nowhere.
  const fs::path fresh = fs::path(link).parent_path() / ("." + fs::path(link).filename().string() +
                                                         ".new" + std::to_string(::getpid()));
  fs::remove(fresh, ec);
  if (::symlink(device.c_str(), fresh.c_str()) != 0 || ::rename(fresh.c_str(), link.c_str()) != 0) {
    const int failure = errno;
    fs::remove(fresh, ec);
    error = link + ": " + std::strerror(failure);
    return false;
  }
  return true;
}

}  // namespace tavrin
