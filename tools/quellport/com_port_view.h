// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The port clearing window on screen: "Continue", "Quit" and the maker line.
#include <QWidget>

#include "platform/qt/view_hub.h"
#include "tools/quellport/com_port.h"

namespace tavrin {

class ComPortView : public QWidget, public View {
 public:
  ComPortView(ComPort& window, ViewHub& hub);
  ~ComPortView() override;
  ComPortView(const ComPortView&) = delete;
  ComPortView& operator=(const ComPortView&) = delete;

  // Nothing on this window changes with the state.
  void Refresh() override {}

 private:
  ComPort& window_;
  ViewHub& hub_;
};

}  // namespace tavrin
