// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether this user may open a serial device now, and what to do when not. A USB serial device
// belongs to root and the group dialout (mode 0660): a user outside that group gets "Permission
// denied", and the cure is to join the group and log in again. A lock file (LCK..ttyUSB0 in
// /var/lock) left by a program that has ended is no obstacle and is removed; one this user may
// not remove is named with the command that removes it.
#include <string>
#include <vector>

#include "platform/serial_control.h"

namespace tavrin {

// The folders serial port lock files live in, in the order the serial port library looks at
// them.
std::vector<std::string> SerialLockFolders();

// The lock file of `device` ("/dev/ttyUSB0" gives "LCK..ttyUSB0", "/dev/pts/3" "LCK..pts_3") in
// the first of `folders` that can be read and either holds it or can be written: where the
// serial port library puts it. "" when no folder will do.
std::string LockFilePath(const std::string& device, const std::vector<std::string>& folders);

// Nothing (number 0) when `device` may be opened as far as this user's permission and the lock
// files go; error 70 "Permission denied" with the cure as advice when not. A lock file whose
// process has ended is removed here.
PortError CheckDeviceAccess(const std::string& device, const std::vector<std::string>& lockFolders);

// The cure for a device this user may not open, in the user's terms: "/dev/ttyUSB0 belongs to
// the group dialout. Add yourself with: sudo adduser NAME dialout, then log out and in again."
std::string PermissionAdvice(const std::string& device);

}  // namespace tavrin
