// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// korvid's radio window on screen ("Radio Operation Menu"): the radio window's fields under
// their labels, the "Vfo/Mem" frame, the mode, filter and antenna lists, the four memory
// options, "Set Vol", "Exit" and the status line; no menu bar. The fields and the frame's marks
// come from RadioMain, the lists from CompactPanel; every click goes to CompactPanel. The
// radio window's other options have no captions and are not drawn.
#include <QWidget>
#include <array>
#include <map>
#include <string>

#include "platform/qt/view_hub.h"
#include "radio/compact_panel.h"

class QAbstractButton;
class QButtonGroup;
class QLineEdit;
class QListWidget;

namespace tavrin {

class CompactPanelView : public QWidget, public View {
 public:
  CompactPanelView(CompactPanel& panel, ViewHub& hub);
  ~CompactPanelView() override;
  CompactPanelView(const CompactPanelView&) = delete;
  CompactPanelView& operator=(const CompactPanelView&) = delete;

  void Refresh() override;

 protected:
  // The frame's close control ends the program as "Exit" does.
  void closeEvent(QCloseEvent* event) override;
  // A press on a list notes the row selected before it, so that a click on the selected row
  // runs it again.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* MakeDisplay();
  QWidget* MakeControls();
  QWidget* MakeVfoMemFrame();
  QWidget* MakeList(PanelListId id);
  QAbstractButton* MakeControl(const PanelControl& control);
  // The field Text<number>, kept in fields_.
  QLineEdit* MakeTextField(int number, const char* label, const QFont& font);
  void RunList(PanelListId id, int row);

  CompactPanel& panel_;
  RadioMain& radio_;
  ViewHub& hub_;
  std::array<QLineEdit*, 8> fields_{};  // Text1 .. Text7 by number
  std::array<QListWidget*, 3> lists_{};
  std::array<int, 3> rowBeforePress_{-1, -1, -1};
  std::map<std::string, QAbstractButton*> controls_;
  QButtonGroup* optionGroup_ = nullptr;  // all options; the window keeps their marks
  int raisedCount_ = 0;
};

}  // namespace tavrin
