// SPDX-License-Identifier: GPL-3.0-or-later
// The bearing calculator program. The station's position comes from Bearing.ini in the
// current directory.
#include <QApplication>

#include "platform/files.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/view_hub.h"
#include "tools/bearing/bearings.h"
#include "tools/bearing/bearings_view.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tavrin::QtDesktop desktop;
  tavrin::Files files;
  tavrin::ViewHub hub;
  tavrin::Bearings bearings(desktop, files);
  bearings.Load();
  tavrin::BearingsView view(bearings, hub);
  view.show();
  return QApplication::exec();
}
