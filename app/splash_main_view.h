// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The splash window on screen: the logo, product name, maker lines, version and date, and the
// "Click to Continue" field. A click on any part, a key press or typing continues.
#include <QWidget>

#include "app/splash_main.h"
#include "platform/qt/view_hub.h"

class QLabel;
class QLineEdit;

namespace tavrin {

class SplashMainView : public QWidget, public View {
 public:
  SplashMainView(SplashMain& splash, ViewHub& hub);
  ~SplashMainView() override;
  SplashMainView(const SplashMainView&) = delete;
  SplashMainView& operator=(const SplashMainView&) = delete;

  void Refresh() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* MakeLabel(const char* designName, int pointSize);
  void Continue();

  SplashMain& splash_;
  ViewHub& hub_;
  QLabel* lblProductName_ = nullptr;
  QLabel* lblVersion_ = nullptr;
  QLabel* lblDate_ = nullptr;
  QLabel* lblPlatform_ = nullptr;
  QLabel* lblCompanyProduct_ = nullptr;
  QLineEdit* Text1_ = nullptr;
};

}  // namespace tavrin
