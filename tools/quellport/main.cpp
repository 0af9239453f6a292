// SPDX-License-Identifier: GPL-3.0-or-later
// The interactive port clearing program: clears serial port 1 when the user presses
// "Continue" and confirms it.
#include <QApplication>

#include "platform/files.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_serial.h"
#include "platform/qt/view_hub.h"
#include "tools/quellport/com_port.h"
#include "tools/quellport/com_port_view.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tavrin::QtDesktop desktop;
  tavrin::Files files;
  tavrin::QtSerial serial(files);
  desktop.AddShutdownHook([&serial] { serial.Close(); });
  tavrin::ViewHub hub;
  tavrin::ComPort window(desktop, serial);
  tavrin::ComPortView view(window, hub);
  view.show();
  return QApplication::exec();
}
