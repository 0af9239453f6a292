// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic port clearing program: clears serial port 1 at once and ends; it shows a box
// only when the port cannot be opened.
#include <QApplication>

#include "platform/files.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_serial.h"
#include "tools/quellport/com_port.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tavrin::QtDesktop desktop;
  tavrin::Files files;
  tavrin::QtSerial serial(files);
  desktop.AddShutdownHook([&serial] { serial.Close(); });
  tavrin::ComPort window(desktop, serial);
  window.LoadAuto();  // ends the program
  return 0;
}
