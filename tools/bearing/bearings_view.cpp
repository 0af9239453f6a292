// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/bearing/bearings_view.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qt/text_bytes.h"
#include "platform/qt/view_kit.h"
#include "platform/qt/widget_sync.h"

namespace tavrin {

namespace {

QLabel* MakeLabel(const char* designName, const QString& caption) {
  auto* label = new QLabel(caption);
  NameWidget(label, designName, ToBytes(caption));
  return label;
}

}  // namespace

BearingsView::BearingsView(Bearings& bearings, ViewHub& hub) : bearings_(bearings), hub_(hub) {
  setObjectName("Bearings");
  setWindowTitle("Bearing");
  setAccessibleName("Bearing");

  auto* positions = new QGridLayout;
  positions->setHorizontalSpacing(24);
  positions->addWidget(
      MakePosition("Label1", "My Latitude", "Text1", &Bearings::Text1, "Frame3", 5, "N", "S"), 0,
      0);
  positions->addWidget(
      MakePosition("Label2", "My Longitude", "Text2", &Bearings::Text2, "Frame4", 7, "E", "W"), 1,
      0);
  positions->addWidget(
      MakePosition("Label3", "Target Latitude", "Text3", &Bearings::Text3, "Frame1", 1, "N", "S"),
      0, 1);
  positions->addWidget(
      MakePosition("Label4", "Target Longitude", "Text4", &Bearings::Text4, "Frame2", 3, "E", "W"),
      1, 1);

  auto* results = new QHBoxLayout;
  results->addWidget(MakeResult("Label5", "Bearing in Degrees", "Text5", &Bearings::Text5));
  results->addWidget(MakeResult("Label6", "Distance in Miles", "Text6", &Bearings::Text6));
  results->addWidget(MakeResult("Label8", "Distance in Kilometers", "Text7", &Bearings::Text7));

  auto* calculate = new QPushButton("Calculate");
  NameWidget(calculate, "Command1", "Calculate");
  calculate->setDefault(true);
  connect(calculate, &QPushButton::clicked, this,
          [this] { hub_.Run([this] { bearings_.Calculate(); }); });
  auto* quit = new QPushButton("Quit");
  NameWidget(quit, "Command2", "Quit");
  connect(quit, &QPushButton::clicked, this, [this] { hub_.Run([this] { bearings_.Quit(); }); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(MakeLabel("Label7", "Great-circle course and distance from the station"), 1);
  buttons->addWidget(calculate);
  buttons->addWidget(quit);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(positions);
  layout->addSpacing(12);
  layout->addLayout(results);
  layout->addSpacing(12);
  layout->addLayout(buttons);

  hub_.Add(this);
  Refresh();
}

BearingsView::~BearingsView() { hub_.Remove(this); }

QLineEdit* BearingsView::Bind(QLineEdit* edit, std::string Bearings::*field) {
  fields_.push_back({edit, field});
  return edit;
}

QWidget* BearingsView::MakePosition(const char* labelName, const char* caption,
                                    const char* fieldName, std::string Bearings::*field,
                                    const char* frameName, int upperOption, const char* upperLetter,
                                    const char* lowerLetter) {
  auto* edit = new QLineEdit;
  NameWidget(edit, fieldName, caption);
  edit->setMinimumWidth(110);
  RunOnTextChange(edit, hub_, [this, field](const std::string& text) { bearings_.*field = text; });
  connect(edit, &QLineEdit::returnPressed, this,
          [this] { hub_.Run([this] { bearings_.Calculate(); }); });
  Bind(edit, field);

  // The hemisphere pair: two option buttons, each with its letter beside it.
  auto* frame = new QGroupBox;
  frame->setObjectName(frameName);
  frame->setAccessibleName(QString::fromLatin1(caption) + " hemisphere");
  auto* pair = new QGridLayout(frame);
  pair->setContentsMargins(6, 2, 6, 2);
  pair->setVerticalSpacing(0);
  pair->setColumnMinimumWidth(1, 14);  // N/S and E/W frames of one width
  const char* letters[] = {upperLetter, lowerLetter};
  QButtonGroup* group = MakeOptionGroup(frame);
  for (int i = 0; i < 2; ++i) {
    const int n = upperOption + i;
    auto* option = new QRadioButton;
    const std::string name = "Option" + std::to_string(n);
    NameWidget(option, name.c_str(), letters[i]);
    option->setAccessibleDescription(QString::fromLatin1(caption) + " " + letters[i]);
    group->addButton(option, n);
    RunOnActivation(option, hub_, [this, n] { bearings_.ClickOption(n); });
    options_[static_cast<std::size_t>(n)] = option;
    auto* letter = new QLabel(letters[i]);
    letter->setAccessibleName(letters[i]);
    letter->setBuddy(option);
    pair->addWidget(option, i, 0);
    pair->addWidget(letter, i, 1);
  }

  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  QLabel* label = MakeLabel(labelName, caption);
  label->setBuddy(edit);
  grid->addWidget(label, 0, 0);
  grid->addWidget(edit, 1, 0);
  grid->addWidget(frame, 0, 1, 2, 1);
  grid->setColumnStretch(0, 1);
  return box;
}

QWidget* BearingsView::MakeResult(const char* labelName, const char* caption, const char* fieldName,
                                  std::string Bearings::*field) {
  auto* edit = new QLineEdit;
  NameWidget(edit, fieldName, caption);
  edit->setReadOnly(true);
  edit->setAlignment(Qt::AlignCenter);
  QFont font = edit->font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.5);
  edit->setFont(font);
  Bind(edit, field);

  auto* box = new QWidget;
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  QLabel* label = MakeLabel(labelName, caption);
  label->setBuddy(edit);
  column->addWidget(label);
  column->addWidget(edit);
  return box;
}

void BearingsView::Refresh() {
  for (const Binding& binding : fields_) ShowText(binding.field, bearings_.*binding.text);
  for (std::size_t n = 1; n < options_.size(); ++n) {
    ShowChecked(options_[n], bearings_.OptionMarked[n]);
  }
}

}  // namespace tavrin
