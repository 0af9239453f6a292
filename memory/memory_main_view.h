// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory window on screen: the channel fields under their labels, the data file in use,
// the progress line, the framed groups of buttons that the build's window has, the status line
// and, where the build has one, the menu bar. Everything it shows comes from MemoryMain; every
// click goes to it.
#include <QMainWindow>
#include <map>
#include <string>

#include "memory/memory_main.h"
#include "platform/qt/view_hub.h"

class QFrame;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace tavrin {

class MemoryMainView : public QMainWindow, public View {
 public:
  MemoryMainView(MemoryMain& memory, ViewHub& hub);
  ~MemoryMainView() override;
  MemoryMainView(const MemoryMainView&) = delete;
  MemoryMainView& operator=(const MemoryMainView&) = delete;

  void Refresh() override;

 protected:
  // The frame's close control: hidden, or the end of the memory manager.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* MakeContents();
  QWidget* MakeDisplay();
  QWidget* MakeGroups();
  // A framed group of the window's present buttons of `group`, or nullptr when it has none.
  QFrame* MakeGroup(const char* frameName, const char* labelName, const char* group);
  QPushButton* MakeButton(const MemoryButton& button);
  void MakeMenus();

  MemoryMain& memory_;
  ViewHub& hub_;
  QLineEdit* Text1_ = nullptr;
  QLineEdit* Text2_ = nullptr;
  QLineEdit* Text3_ = nullptr;
  QLineEdit* Text4_ = nullptr;
  QLineEdit* Text5_ = nullptr;
  QLineEdit* Text6_ = nullptr;
  QLineEdit* Text7_ = nullptr;
  QLineEdit* Text8_ = nullptr;
  QLineEdit* Text9_ = nullptr;
  std::map<std::string, QPushButton*> buttons_;
  int focusRequests_ = 0;  // the focus requests already followed
  int raisedCount_ = 0;
};

}  // namespace tavrin
