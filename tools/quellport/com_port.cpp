// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/quellport/com_port.h"

namespace tavrin {

namespace {

constexpr int kDrainReads = 99;

}  // namespace

ComPort::ComPort(Desktop& desktop, SerialControl& serial) : desktop_(desktop), serial_(serial) {}

void ComPort::Continue() {
  if (!OpenPort().Failed()) Prompt();
  desktop_.EndProgram();
}

void ComPort::Quit() { desktop_.EndProgram(); }

PortError ComPort::OpenPort() {
  const PortError error = MSComm1_OnComm();
  if (error.Failed()) {
    desktop_.MessageBox("Comm Port Error - Unexpected Error",
                        "Error Code " + std::to_string(error.number) + " ... " + error.description,
                        BoxIcon::Critical, BoxButtons::Ok);
  }
  return error;
}

void ComPort::Prompt() {
  desktop_.MessageBox("Comm Port 1",
                      std::string("Port Closed ... ") + "Port Settings = " + kClearedPortSettings,
                      BoxIcon::None, BoxButtons::Ok);
}

void ComPort::LoadAuto() {
  const PortError error = MSComm1_OnComm();
  if (error.Failed()) {
    desktop_.MessageBox("Comm Port 1 Error",
                        "Error Code " + std::to_string(error.number) + " ... " + error.description +
                            " ... COM1 ... " + kClearedPortSettings,
                        BoxIcon::Critical, BoxButtons::Ok);
  }
  desktop_.EndProgram();
}

PortError ComPort::MSComm1_OnComm() {
  if (serial_.PortOpen()) serial_.Close();
  serial_.SetCommPort(kClearedPort);
  serial_.SetSettings(kClearedPortSettings);
  serial_.SetInputLen(0);
  const PortError error = serial_.Open();
  if (error.Failed()) return error;
  for (int read = 0; read < kDrainReads; ++read) serial_.Input();
  serial_.Close();
  return {};
}

}  // namespace tavrin
