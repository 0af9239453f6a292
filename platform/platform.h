// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything a program of the suite needs from outside, handed to it by its main (Qt) or by
// a test (doubles).
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/serial_control.h"
#include "platform/serial_devices.h"

namespace tavrin {

struct Platform {
  Desktop& desktop;
  Clock& clock;
  SerialControl& serial;
  Files& files;
  // The machine's serial devices for the setup window; none where a program has no use for
  // them (the tools, benchmarks).
  SerialDevices* devices = nullptr;
};

}  // namespace tavrin
