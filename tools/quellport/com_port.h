// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The port clearing window ("Close ComPort 1"). Another program that died while holding the
// first serial port, or left bytes waiting in it, can keep the control program from a clean
// start; clearing opens port 1 with the station's settings, reads away whatever waits and
// closes it again. The interactive program confirms the result; the automatic one shows
// nothing unless the port cannot be opened.
#include <string>

#include "platform/desktop.h"
#include "platform/serial_control.h"

namespace tavrin {

inline constexpr int kClearedPort = 1;
inline constexpr const char* kClearedPortSettings = "19200,N,8,1";

class ComPort {
 public:
  ComPort(Desktop& desktop, SerialControl& serial);

  // "Continue" (Command1): clears the port, confirms, ends the program.
  void Continue();
  // "Quit" (Command2): ends without touching the port.
  void Quit();
  // The clearing sequence with its error box; the error, if any, is returned.
  PortError OpenPort();
  // The confirmation box.
  void Prompt();

  // The automatic program's start: clears the port and ends; only a failure is shown.
  void LoadAuto();
  // The clearing sequence itself: close, select port 1, settings, whole-buffer reads, open,
  // read the buffer 99 times, close. Stops at the first error.
  PortError MSComm1_OnComm();

 private:
  Desktop& desktop_;
  SerialControl& serial_;
};

}  // namespace tavrin
