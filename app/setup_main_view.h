// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The setup window on screen: the port and speed option groups with the device beside each
// port, the "Serial Devices" list, the "Device Path" field with "Use Path", "Find Transceiver"
// and its status line, the call-sign and data-file fields, Save and Quit, and the menu bar.
// Everything it shows comes from SetupMain; every click and keystroke goes to it.
#include <QMainWindow>
#include <array>

#include "app/setup_main.h"
#include "platform/qt/view_hub.h"

class QLabel;
class QLineEdit;
class QListWidget;
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
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* MakeContents();
  QWidget* MakePortGroup();
  QWidget* MakeSpeedGroup();
  QWidget* MakeDeviceGroup();
  void MakeMenus();
  void ShowDevices();
  void RunChooseDevice(int row);

  SetupMain& setup_;
  ViewHub& hub_;
  std::array<QRadioButton*, 7> options_{};
  std::array<QLineEdit*, 4> portDevices_{};
  QListWidget* devices_ = nullptr;
  QLineEdit* Text1_ = nullptr;
  QLineEdit* Text2_ = nullptr;
  QLineEdit* Text3_ = nullptr;
  QLabel* status_ = nullptr;
  int rowBeforePress_ = -1;
  int raisedCount_ = 0;
  bool placed_ = false;
};

}  // namespace tavrin
