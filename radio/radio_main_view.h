// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio window on screen ("Radio Operation Menu"): the heading, the seven fields under
// their labels, the four framed groups of options and buttons, the status line and the menu
// bar. Everything it shows comes from RadioMain; every click goes to it. Options are drawn from
// the window's marks (the window decides which option of a group is marked), so a push option
// shows unmarked again after its click.
#include <QMainWindow>
#include <array>
#include <string>

#include "platform/qt/view_hub.h"
#include "radio/radio_main.h"

class QButtonGroup;
class QFrame;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavrin {

class RadioMainView : public QMainWindow, public View {
 public:
  RadioMainView(RadioMain& radio, ViewHub& hub);
  ~RadioMainView() override;
  RadioMainView(const RadioMainView&) = delete;
  RadioMainView& operator=(const RadioMainView&) = delete;

  void Refresh() override;

 protected:
  // The frame's close control ends the program as "Exit" does.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* MakeContents();
  QWidget* MakeDisplay();
  QWidget* MakeRecvControl();
  QWidget* MakeDsplMemCtrl();
  QWidget* MakeCommandControl();
  QWidget* MakeNavigation();
  void MakeMenus();

  // A framed group titled by a label at its top; its contents go into the returned grid.
  QFrame* MakeGroup(const char* frameName, const char* labelName, const char* title,
                    QGridLayout*& contents);
  QRadioButton* MakeOption(int option, QButtonGroup* group);
  QPushButton* MakeButton(const char* designName);

  RadioMain& radio_;
  ViewHub& hub_;
  QLineEdit* Text1_ = nullptr;
  QLineEdit* Text2_ = nullptr;
  QLineEdit* Text3_ = nullptr;
  QLineEdit* Text4_ = nullptr;
  QLineEdit* Text5_ = nullptr;
  QLineEdit* Text6_ = nullptr;
  QLineEdit* Text7_ = nullptr;
  QPushButton* Command44_ = nullptr;
  std::array<QRadioButton*, 37> options_{};
  int raisedCount_ = 0;
};

}  // namespace tavrin
