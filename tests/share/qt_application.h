// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one Qt application of the share tests, offscreen; made once and never destroyed (a
// QApplication torn down among the static destructors collides with Qt's own clean-up).
#include <QApplication>

namespace tavrin::share::testing {

inline QApplication& Application() {
  static int argc = 1;
  static char name[] = "share_tests";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static auto* application = new QApplication(argc, argv);
  return *application;
}

}  // namespace tavrin::share::testing
