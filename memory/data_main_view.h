// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data file window on screen ("Data File Setup"): the file in use and the file chosen,
// the four buttons in their frame and the menu bar. The file dialog comes from the platform.
#include <QMainWindow>

#include "memory/data_main.h"
#include "platform/qt/view_hub.h"

class QLineEdit;

namespace tavrin {

class DataMainView : public QMainWindow, public View {
 public:
  DataMainView(DataMain& data, ViewHub& hub);
  ~DataMainView() override;
  DataMainView(const DataMainView&) = delete;
  DataMainView& operator=(const DataMainView&) = delete;

  void Refresh() override;

 protected:
  // The frame's close control closes the window as "Quit" does.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* MakeContents();
  void MakeMenus();

  DataMain& data_;
  ViewHub& hub_;
  QLineEdit* Text1_ = nullptr;
  QLineEdit* Text2_ = nullptr;
  int raisedCount_ = 0;
};

}  // namespace tavrin
