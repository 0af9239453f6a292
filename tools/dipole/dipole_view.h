// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dipole calculator's window on screen: inputs on the left, the four lengths grouped by
// antenna and feed line on the right, the coax buttons below.
#include <QWidget>
#include <array>

#include "platform/qt/view_hub.h"
#include "tools/dipole/dipole.h"

class QLineEdit;
class QRadioButton;

namespace tavrin {

class DipoleView : public QWidget, public View {
 public:
  DipoleView(Dipole& dipole, ViewHub& hub);
  ~DipoleView() override;
  DipoleView(const DipoleView&) = delete;
  DipoleView& operator=(const DipoleView&) = delete;

  void Refresh() override;

 private:
  QWidget* MakeInputs();
  QWidget* MakeOutputs();
  QWidget* MakeCoaxFrame();
  QLineEdit* MakeInput(const char* designName, const char* caption, std::string Dipole::*field);
  QLineEdit* MakeOutput(const char* designName, const std::string& accessibleName);

  Dipole& dipole_;
  ViewHub& hub_;
  struct Binding {
    QLineEdit* field;
    std::string Dipole::*text;
  };
  std::vector<Binding> fields_;
  std::array<QRadioButton*, 23> options_{};
};

}  // namespace tavrin
