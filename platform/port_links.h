// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which device each COM port of the suite stands for. Port n is the file comN (or COMN) in the
// station folder (the program's current directory) when there is one, usually a symbolic link
// to the device, as a Windows compatibility layer maps COM ports; otherwise it is the machine's
// own /dev/ttyS<n-1>. The link is the one mapping every program of the suite follows, so the
// setup window changes a port by pointing its link at another device, and KESTRA.INI keeps
// naming the port.
#include <string>

#include "platform/files.h"

namespace tavrin {

class PortLinks {
 public:
  // `systemFolder` holds the machine's own ports (ttyS0, ...).
  explicit PortLinks(const Files& files, std::string systemFolder = "/dev");

  // The comN or COMN entry of the station folder, or "" when there is none (or n is not a
  // port number, 1 to 255).
  [[nodiscard]] std::string LinkPath(int port) const;
  // The file port n stands for: its link, else the system port; "" for a bad n.
  [[nodiscard]] std::string DevicePath(int port) const;
  // What port n leads to, for the operator: the link's target as it is written
  // ("/dev/serial/by-id/usb-FTDI_...-if00-port0"), with " (not connected)" while nothing is
  // there; the system port when there is no link and it exists; else "not connected".
  [[nodiscard]] std::string Describe(int port) const;
  // Makes port n lead to `device`: its link (comN, or an existing COMN) is made or replaced in
  // one step, so that a program looking at it meanwhile finds the old or the new device. A comN
  // that is not a symbolic link (a file the user put there) is never replaced. False with
  // `error` set when it cannot be done.
  bool PointAt(int port, const std::string& device, std::string& error) const;

 private:
  const Files& files_;
  std::string systemFolder_;
};

}  // namespace tavrin
