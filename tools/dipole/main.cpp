// SPDX-License-Identifier: GPL-3.0-or-later
// The dipole calculator program.
#include <QApplication>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/view_hub.h"
#include "tools/dipole/dipole.h"
#include "tools/dipole/dipole_view.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tavrin::QtDesktop desktop;
  tavrin::ViewHub hub;
  tavrin::Dipole dipole(desktop);
  dipole.Load();
  tavrin::DipoleView view(dipole, hub);
  view.show();
  return QApplication::exec();
}
