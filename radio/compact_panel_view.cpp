// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/compact_panel_view.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qt/text_bytes.h"
#include "platform/qt/view_kit.h"
#include "platform/qt/widget_sync.h"
#include "radio/radio_main.h"

namespace tavrin {

namespace {

// A caption above a control; a screen reader reads the control under the same name.
QLabel* Caption(const char* designName, const char* text, QWidget* buddy) {
  QLabel* label = MakeLabel(designName, text, Arial(9, true));
  label->setBuddy(buddy);
  return label;
}

// The number of an option from its design name: 17 for "Option17".
int OptionNumber(const char* designName) { return std::stoi(std::string(designName).substr(6)); }

}  // namespace

CompactPanelView::CompactPanelView(CompactPanel& panel, ViewHub& hub)
    : panel_(panel), radio_(panel.Radio()), hub_(hub) {
  setObjectName(QStringLiteral("RadioMain"));
  setWindowTitle(QStringLiteral("Radio Operation Menu"));
  setAccessibleName(QStringLiteral("Radio Operation Menu"));
  optionGroup_ = MakeOptionGroup(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeDisplay());
  layout->addWidget(MakeControls(), 1);
  fields_[7] = MakeTextField(7, "Status line", Arial(8.25, false));
  // A click on the status line clears it.
  RunOnClick(fields_[7], hub_, [this] { radio_.Click("Text7"); });
  layout->addWidget(fields_[7]);
  // The keyboard starts on the first control the operator can use, not in a read-only field.
  controls_.at("Option17")->setFocus();
  hub_.Add(this);
  Refresh();
}

CompactPanelView::~CompactPanelView() { hub_.Remove(this); }

QLineEdit* CompactPanelView::MakeTextField(int number, const char* label, const QFont& font) {
  const std::string name = "Text" + std::to_string(number);
  QLineEdit* field = MakeField(name.c_str(), label, font);
  fields_[static_cast<std::size_t>(number)] = field;
  return field;
}

QWidget* CompactPanelView::MakeDisplay() {
  auto* display = new QWidget;
  auto* grid = new QGridLayout(display);
  grid->setContentsMargins(0, 0, 0, 0);
  const QFont large = Arial(36, true);
  const QFont bold = Arial(12, true);

  QLineEdit* channel = MakeTextField(2, "Channel", large);
  channel->setMaximumWidth(130);
  channel->setAlignment(Qt::AlignCenter);
  QLineEdit* frequency = MakeTextField(1, "Frequency", large);
  frequency->setMinimumWidth(330);
  frequency->setAlignment(Qt::AlignCenter);
  QLineEdit* mode = MakeTextField(4, "Mode/Fil", bold);
  QLineEdit* filter = MakeTextField(5, "Filter", bold);
  mode->setMaximumWidth(110);
  filter->setMaximumWidth(110);
  QLineEdit* status = MakeTextField(6, "Status/Info", bold);
  QLineEdit* selected = MakeTextField(3, "Selected", bold);
  selected->setMaximumWidth(60);
  selected->setAlignment(Qt::AlignCenter);

  grid->addWidget(Caption("Label2", "Channel", channel), 0, 0);
  grid->addWidget(Caption("Label3", "Frequency", frequency), 0, 1);
  grid->addWidget(Caption("Label4", "Mode/Fil", mode), 0, 2);
  grid->addWidget(channel, 1, 0);
  grid->addWidget(frequency, 1, 1);
  auto* modeFilter = new QVBoxLayout;
  modeFilter->addWidget(mode);
  modeFilter->addWidget(filter);
  grid->addLayout(modeFilter, 1, 2);
  grid->addWidget(Caption("Label5", "Status/Info", status), 2, 0, 1, 2);
  grid->addWidget(Caption("Label6", "Selected", selected), 2, 2);
  grid->addWidget(status, 3, 0, 1, 2);
  grid->addWidget(selected, 3, 2);
  grid->setColumnStretch(1, 1);
  return display;
}

QAbstractButton* CompactPanelView::MakeControl(const PanelControl& control) {
  QAbstractButton* button = nullptr;
  if (control.isButton) {
    button = new QPushButton(QString::fromLatin1(control.caption));
  } else {
    // The window keeps the marks; the option only draws them and reports the click.
    auto* option = new QRadioButton(QString::fromLatin1(control.caption));
    optionGroup_->addButton(option);
    button = option;
  }
  NameWidget(button, control.name, control.caption);
  button->setFont(Arial(9, false));
  const std::string name = control.name;
  RunOnActivation(button, hub_, [this, name] { panel_.Click(name); });
  controls_[name] = button;
  return button;
}

QWidget* CompactPanelView::MakeVfoMemFrame() {
  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::Box);
  NameWidget(frame, "Frame10", "Vfo/Mem");
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(MakeLabel("Label14", "Vfo/Mem", Arial(9, true)));
  for (const PanelControl& control : PanelControls()) {
    if (std::string(control.frame) == "Vfo/Mem") layout->addWidget(MakeControl(control));
  }
  layout->addStretch(1);
  return frame;
}

QWidget* CompactPanelView::MakeList(PanelListId id) {
  const auto index = static_cast<std::size_t>(id);
  const PanelList& list = PanelLists()[index];
  auto* widget = new QListWidget;
  NameWidget(widget, list.name, list.caption);
  widget->setFont(Arial(9, false));
  for (const PanelListItem& item : list.items) widget->addItem(QString::fromLatin1(item.text));
  // No row until the operator picks one: otherwise moving the focus into the list with the Tab
  // key would make its first row current and so choose it.
  widget->setCurrentIndex(QModelIndex());
  widget->setFixedHeight(widget->sizeHintForRow(0) * widget->count() + 2 * widget->frameWidth() +
                         2);
  widget->setMinimumWidth(90);
  widget->viewport()->installEventFilter(this);
  // A new row, chosen with the mouse or the keys, runs at once; a click on the row already
  // selected runs it again.
  connect(widget, &QListWidget::currentRowChanged, this, [this, id](int row) { RunList(id, row); });
  connect(widget, &QListWidget::itemClicked, this, [this, id, widget](QListWidgetItem* item) {
    const int row = widget->row(item);
    if (row == rowBeforePress_[static_cast<std::size_t>(id)]) RunList(id, row);
  });
  lists_[index] = widget;

  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  const std::string labelName = "Label" + std::to_string(11 + index);
  layout->addWidget(Caption(labelName.c_str(), list.caption, widget));
  layout->addWidget(widget);
  layout->addStretch(1);
  return column;
}

void CompactPanelView::RunList(PanelListId id, int row) {
  if (row < 0) return;
  hub_.Run([this, id, row] { panel_.ClickList(id, row); });
}

QWidget* CompactPanelView::MakeControls() {
  auto* controls = new QWidget;
  auto* layout = new QHBoxLayout(controls);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MakeVfoMemFrame());
  for (PanelListId id : {PanelListId::Mode, PanelListId::Filter, PanelListId::Antenna})
    layout->addWidget(MakeList(id));

  auto* memory = new QVBoxLayout;
  for (const PanelControl& control : PanelControls()) {
    if (std::string(control.frame).empty()) memory->addWidget(MakeControl(control));
  }
  memory->addStretch(1);
  layout->addLayout(memory, 1);
  return controls;
}

void CompactPanelView::closeEvent(QCloseEvent* event) {
  ForwardClose(event, hub_, radio_.Visible, [this] { radio_.CloseByFrame(); });
}

bool CompactPanelView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    for (std::size_t i = 0; i < lists_.size(); ++i) {
      if (lists_[i] != nullptr && watched == lists_[i]->viewport())
        rowBeforePress_[i] = lists_[i]->currentRow();
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CompactPanelView::Refresh() {
  static constexpr std::array<std::string RadioMain::*, 8> kFields = {
      nullptr,           &RadioMain::Text1, &RadioMain::Text2, &RadioMain::Text3,
      &RadioMain::Text4, &RadioMain::Text5, &RadioMain::Text6, &RadioMain::Text7};
  for (std::size_t n = 1; n < kFields.size(); ++n) ShowText(fields_[n], radio_.*kFields[n]);
  for (const auto& [name, button] : controls_) {
    if (name.rfind("Option", 0) != 0) continue;
    // The frame's options show the radio window's marks; the memory options keep none.
    const auto number = static_cast<std::size_t>(OptionNumber(name.c_str()));
    ShowChecked(button, number < radio_.OptionMarked.size() && radio_.OptionMarked[number]);
  }
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    if (lists_[i]->currentRow() != panel_.ListIndex[i])
      lists_[i]->setCurrentRow(panel_.ListIndex[i]);
  }
  ShowVisibility(this, radio_.Visible, radio_.RaiseCount, raisedCount_);
}

}  // namespace tavrin
