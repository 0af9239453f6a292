// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bearing calculator's window on screen: the own and the target position, each field
// with its label above and its hemisphere pair beside it, the results below.
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "platform/qt/view_hub.h"
#include "tools/bearing/bearings.h"

class QLineEdit;
class QRadioButton;

namespace tavrin {

class BearingsView : public QWidget, public View {
 public:
  BearingsView(Bearings& bearings, ViewHub& hub);
  ~BearingsView() override;
  BearingsView(const BearingsView&) = delete;
  BearingsView& operator=(const BearingsView&) = delete;

  void Refresh() override;

 private:
  QWidget* MakePosition(const char* labelName, const char* caption, const char* fieldName,
                        std::string Bearings::*field, const char* frameName, int upperOption,
                        const char* upperLetter, const char* lowerLetter);
  QWidget* MakeResult(const char* labelName, const char* caption, const char* fieldName,
                      std::string Bearings::*field);
  QLineEdit* Bind(QLineEdit* edit, std::string Bearings::*field);

  Bearings& bearings_;
  ViewHub& hub_;
  struct Binding {
    QLineEdit* field;
    std::string Bearings::*text;
  };
  std::vector<Binding> fields_;
  std::array<QRadioButton*, 9> options_{};
};

}  // namespace tavrin
