// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dipole/dipole_view.h"

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

QLabel* MakeLabel(const QString& caption, const char* designName = nullptr) {
  auto* label = new QLabel(caption);
  if (designName != nullptr) label->setObjectName(QString::fromLatin1(designName));
  label->setAccessibleName(caption);
  return label;
}

QLabel* MakeHeading(const QString& caption) {
  QLabel* label = MakeLabel(caption);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

}  // namespace

DipoleView::DipoleView(Dipole& dipole, ViewHub& hub) : dipole_(dipole), hub_(hub) {
  setObjectName("Dipole");
  setWindowTitle("Dipole");
  setAccessibleName("Dipole");

  auto* top = new QHBoxLayout;
  top->addWidget(MakeInputs());
  top->addWidget(MakeOutputs(), 1);

  auto* calculate = new QPushButton("Calculate");
  NameWidget(calculate, "Command1", "Calculate");
  calculate->setDefault(true);
  connect(calculate, &QPushButton::clicked, this,
          [this] { hub_.Run([this] { dipole_.Calculate(); }); });
  auto* quit = new QPushButton("Quit");
  NameWidget(quit, "Command2", "Quit");
  connect(quit, &QPushButton::clicked, this, [this] { hub_.Run([this] { dipole_.Quit(); }); });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(
      MakeLabel("Half-wave dipole and feed-line lengths, in feet and inches", "Label4"), 1);
  buttons->addWidget(calculate);
  buttons->addWidget(quit);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(MakeCoaxFrame());
  layout->addLayout(buttons);

  hub_.Add(this);
  Refresh();
}

DipoleView::~DipoleView() { hub_.Remove(this); }

QLineEdit* DipoleView::MakeInput(const char* designName, const char* caption,
                                 std::string Dipole::*field) {
  auto* edit = new QLineEdit;
  NameWidget(edit, designName, caption);
  edit->setMaximumWidth(90);
  RunOnTextChange(edit, hub_, [this, field](const std::string& text) { dipole_.*field = text; });
  connect(edit, &QLineEdit::returnPressed, this,
          [this] { hub_.Run([this] { dipole_.Calculate(); }); });
  fields_.push_back({edit, field});
  return edit;
}

QLineEdit* DipoleView::MakeOutput(const char* designName, const std::string& accessibleName) {
  auto* edit = new QLineEdit;
  NameWidget(edit, designName, accessibleName);
  edit->setReadOnly(true);
  edit->setMaximumWidth(70);
  edit->setAlignment(Qt::AlignRight);
  return edit;
}

QWidget* DipoleView::MakeInputs() {
  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  int row = 0;
  // Each input: a heading, its field with its unit beside it, and a hint below.
  grid->addWidget(MakeHeading("FREQUENCY"), row++, 0, 1, 2);
  grid->addWidget(MakeInput("Text1", "FREQUENCY", &Dipole::Text1), row, 0);
  grid->addWidget(MakeLabel("Mhz"), row++, 1);
  grid->setRowMinimumHeight(row++, 10);

  grid->addWidget(MakeLabel("Antenna Element"), row++, 0, 1, 2);
  grid->addWidget(MakeHeading("DIAMETER"), row++, 0, 1, 2);
  grid->addWidget(MakeInput("Text6", "DIAMETER", &Dipole::Text6), row, 0);
  grid->addWidget(MakeLabel("Inches  "), row++, 1);
  grid->addWidget(MakeLabel("if >30 Mhz"), row++, 0, 1, 2);
  grid->setRowMinimumHeight(row++, 10);

  grid->addWidget(MakeLabel("Feed Line"), row++, 0, 1, 2);
  grid->addWidget(MakeHeading("VELOCITY FACTOR"), row++, 0, 1, 2);
  grid->addWidget(MakeInput("Text7", "VELOCITY FACTOR", &Dipole::Text7), row++, 0);
  grid->addWidget(MakeLabel("Select from coax box"), row++, 0, 1, 2);
  grid->setRowStretch(row, 1);
  return box;
}

QWidget* DipoleView::MakeOutputs() {
  struct Length {
    const char* group;
    const char* wave;
    const char* feet;
    const char* inches;
    std::string Dipole::*feetText;
    std::string Dipole::*inchesText;
  };
  const Length lengths[] = {
      {"Antenna", "1/2 Wave Length", "Text2", "Text3", &Dipole::Text2, &Dipole::Text3},
      {"Antenna", "1/4 Wave Length", "Text4", "Text5", &Dipole::Text4, &Dipole::Text5},
      {"Feed Line", "1/2 Wave Length", "Text8", "Text9", &Dipole::Text8, &Dipole::Text9},
      {"Feed Line", "1/4 Wave Length", "Text11", "Text12", &Dipole::Text11, &Dipole::Text12},
  };
  auto* outputs = new QWidget;
  auto* column = new QVBoxLayout(outputs);
  column->setContentsMargins(0, 0, 0, 0);
  QGroupBox* group = nullptr;
  QGridLayout* grid = nullptr;
  for (const Length& length : lengths) {
    if (group == nullptr || group->title() != QLatin1String(length.group)) {
      group = new QGroupBox(length.group);
      group->setObjectName(length.group == std::string("Antenna") ? "FrameAntenna"
                                                                  : "FrameFeedLine");
      group->setAccessibleName(length.group);
      grid = new QGridLayout(group);
      grid->addWidget(MakeLabel("Feet"), 0, 1, Qt::AlignHCenter);
      grid->addWidget(MakeLabel("Inches"), 0, 2, Qt::AlignHCenter);
      column->addWidget(group);
    }
    const int row = grid->rowCount();
    const std::string where = std::string(length.group) + " " + length.wave + " ";
    grid->addWidget(MakeLabel(length.wave), row, 0);
    QLineEdit* feet = MakeOutput(length.feet, "Feet");
    feet->setAccessibleDescription(QString::fromLatin1((where + "Feet").c_str()));
    QLineEdit* inches = MakeOutput(length.inches, "Inches");
    inches->setAccessibleDescription(QString::fromLatin1((where + "Inches").c_str()));
    grid->addWidget(feet, row, 1);
    grid->addWidget(inches, row, 2);
    fields_.push_back({feet, length.feetText});
    fields_.push_back({inches, length.inchesText});
  }
  column->addStretch(1);
  return outputs;
}

QWidget* DipoleView::MakeCoaxFrame() {
  auto* frame = new QGroupBox("Coax vs Velocity Factor (select one)");
  NameWidget(frame, "Frame1", "Coax vs Velocity Factor (select one)");
  auto* grid = new QGridLayout(frame);
  // Marks are drawn from the window's state, not kept by the buttons themselves.
  QButtonGroup* group = MakeOptionGroup(frame);
  const auto& types = CoaxTypes();
  // Rows of 8, 7 and 7 buttons.
  const int rowStarts[] = {1, 9, 16, 23};
  for (int row = 0; row < 3; ++row) {
    for (int n = rowStarts[row]; n < rowStarts[row + 1]; ++n) {
      const char* caption = types[static_cast<std::size_t>(n - 1)].caption;
      auto* option = new QRadioButton(caption);
      const std::string name = "Option" + std::to_string(n);
      NameWidget(option, name.c_str(), caption);
      group->addButton(option, n);
      RunOnActivation(option, hub_, [this, n] { dipole_.ClickOption(n); });
      options_[static_cast<std::size_t>(n)] = option;
      grid->addWidget(option, row, n - rowStarts[row]);
    }
  }
  return frame;
}

void DipoleView::Refresh() {
  for (const Binding& binding : fields_) ShowText(binding.field, dipole_.*binding.text);
  for (std::size_t n = 1; n < options_.size(); ++n) {
    ShowChecked(options_[n], dipole_.OptionMarked[n]);
  }
}

}  // namespace tavrin
