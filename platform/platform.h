// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything a program of the suite needs from outside, handed to it by its main (Qt) or by
// a test (doubles).
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/serial_control.h"

namespace tavrin {

struct Platform {
  Desktop& desktop;
  Clock& clock;
  SerialControl& serial;
  Files& files;
};

}  // namespace tavrin
