// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The setup window on screen: the port and speed option groups, the call-sign and data-file
// fields, Save and Quit, and the menu bar. Everything it shows comes from SetupMain; every click
// and keystroke goes to it.
#include <QMainWindow>
#include <array>

#include "app/setup_main.h"
#include "platform/qt/view_hub.h"

class QLineEdit;
class QRadioButton;

namespace tavrin {

class SetupMainView : public QMainWindow, public View {
 public:
  SetupMainView(SetupMain& setup, ViewHub& hub);
  ~SetupMainView() override;
  SetupMainView(const SetupMainView&) = delete;
  SetupMainView& operator=(const SetupMainView&) = delete;

  void Refresh() override;

 protected:
  // The frame's close control closes without saving and without the restart box.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* MakeContents();
  QWidget* MakeOptionGroup(const char* frameName, const char* caption, int firstOption);
  // Tells on each port option where that port leads on this machine (tool tip and
  // accessible description), looked up afresh each time the window opens.
  void DescribePorts();
  void MakeMenus();

  SetupMain& setup_;
  ViewHub& hub_;
  std::array<QRadioButton*, 7> options_{};
  QLineEdit* Text1_ = nullptr;
  QLineEdit* Text2_ = nullptr;
  int raisedCount_ = 0;
  bool placed_ = false;
};

}  // namespace tavrin
