// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/radio_main_view.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <initializer_list>
#include <tuple>
#include <utility>

#include "platform/qt/text_bytes.h"
#include "platform/qt/view_kit.h"
#include "platform/qt/widget_sync.h"

namespace tavrin {

namespace {

QFont FixedPitchBold() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(10);
  font.setBold(true);
  return font;
}

// A small frame round one option group inside a framed group.
QFrame* MakeSubFrame(const char* frameName, const char* accessibleName, QGridLayout*& contents) {
  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::StyledPanel);
  NameWidget(frame, frameName, accessibleName);
  contents = new QGridLayout(frame);
  contents->setContentsMargins(4, 2, 4, 2);
  contents->setVerticalSpacing(0);
  return frame;
}

const char* CaptionOf(const char* designName) {
  const RadioControl* row = FindRadioControl(designName);
  return row != nullptr ? row->caption : "";
}

std::string OptionName(int option) { return "Option" + std::to_string(option); }

}  // namespace

RadioMainView::RadioMainView(RadioMain& radio, ViewHub& hub) : radio_(radio), hub_(hub) {
  setObjectName(QStringLiteral("RadioMain"));
  setWindowTitle(QStringLiteral("Radio Operation Menu"));
  setAccessibleName(QStringLiteral("Radio Operation Menu"));
  setCentralWidget(MakeContents());
  MakeMenus();
  // The keyboard starts on "Ant", the first control the operator can use, rather than in the
  // read-only "Channel" field.
  findChild<QPushButton*>(QStringLiteral("Command3"))->setFocus();
  hub_.Add(this);
  Refresh();
}

RadioMainView::~RadioMainView() { hub_.Remove(this); }

QWidget* RadioMainView::MakeDisplay() {
  auto* display = new QWidget;
  auto* grid = new QGridLayout(display);
  grid->setContentsMargins(0, 0, 0, 0);

  auto* heading = MakeLabel("Label1", "Radio Operations", Arial(14, true));
  heading->setAlignment(Qt::AlignCenter);
  grid->addWidget(heading, 0, 0, 1, 4);

  const QFont labelFont = Arial(9, true);
  const QFont large = Arial(36, true);
  const QFont bold = Arial(12, true);
  Text2_ = MakeField("Text2", "Channel", large);
  Text1_ = MakeField("Text1", "Frequency", large);
  Text4_ = MakeField("Text4", "Mode/Filter", bold);
  // Under the mode field, without a label of its own: read as "Filter", not a second
  // "Mode/Filter".
  Text5_ = MakeField("Text5", "Filter", bold);
  Text6_ = MakeField("Text6", "Status/Info", bold);
  Text3_ = MakeField("Text3", "Selected", bold);
  Text2_->setMaximumWidth(130);
  Text2_->setAlignment(Qt::AlignCenter);
  Text1_->setMinimumWidth(330);
  Text1_->setAlignment(Qt::AlignCenter);
  Text4_->setMaximumWidth(110);
  Text5_->setMaximumWidth(110);
  Text3_->setMaximumWidth(60);
  Text3_->setAlignment(Qt::AlignCenter);

  auto* channelLabel = MakeLabel("Label2", "Channel", labelFont);
  channelLabel->setBuddy(Text2_);
  auto* frequencyLabel = MakeLabel("Label3", "Frequency", labelFont);
  frequencyLabel->setBuddy(Text1_);
  auto* modeLabel = MakeLabel("Label4", "Mode/Filter", labelFont);
  modeLabel->setBuddy(Text4_);
  grid->addWidget(channelLabel, 1, 0);
  grid->addWidget(frequencyLabel, 1, 1);
  grid->addWidget(modeLabel, 1, 2);

  auto* modeFilter = new QVBoxLayout;
  modeFilter->addWidget(Text4_);
  modeFilter->addWidget(Text5_);
  auto* antRt = new QVBoxLayout;
  antRt->addWidget(MakeButton("Command3"));
  antRt->addWidget(MakeButton("Command4"));
  grid->addWidget(Text2_, 2, 0);
  grid->addWidget(Text1_, 2, 1);
  grid->addLayout(modeFilter, 2, 2);
  grid->addLayout(antRt, 2, 3);

  auto* statusLabel = MakeLabel("Label5", "Status/Info", labelFont);
  statusLabel->setBuddy(Text6_);
  auto* selectedLabel = MakeLabel("Label6", "Selected", labelFont);
  selectedLabel->setBuddy(Text3_);
  grid->addWidget(statusLabel, 3, 0, 1, 2);
  grid->addWidget(selectedLabel, 3, 2);
  grid->addWidget(Text6_, 4, 0, 1, 2);
  grid->addWidget(Text3_, 4, 2);
  grid->setColumnStretch(1, 1);
  return display;
}

QFrame* RadioMainView::MakeGroup(const char* frameName, const char* labelName, const char* title,
                                 QGridLayout*& contents) {
  QVBoxLayout* layout = nullptr;
  QFrame* frame = MakeTitledFrame(frameName, labelName, title, layout);
  contents = new QGridLayout;
  layout->addLayout(contents);
  layout->addStretch(1);
  return frame;
}

QRadioButton* RadioMainView::MakeOption(int option, QButtonGroup* group) {
  const std::string name = OptionName(option);
  const char* caption = CaptionOf(name.c_str());
  auto* button = new QRadioButton(QString::fromLatin1(caption));
  NameWidget(button, name.c_str(), caption);
  button->setFont(Arial(9, false));
  group->addButton(button, option);
  RunOnActivation(button, hub_, [this, option] { radio_.ClickOption(option); });
  options_[static_cast<std::size_t>(option)] = button;
  return button;
}

QPushButton* RadioMainView::MakeButton(const char* designName) {
  const char* caption = CaptionOf(designName);
  auto* button = new QPushButton(QString::fromLatin1(caption));
  NameWidget(button, designName, caption);
  button->setFont(Arial(9, false));
  const std::string name = designName;
  connect(button, &QPushButton::clicked, this,
          [this, name] { hub_.Run([this, name] { radio_.Click(name); }); });
  return button;
}

QWidget* RadioMainView::MakeRecvControl() {
  QGridLayout* contents = nullptr;
  QFrame* frame = MakeGroup("Frame1", "Label7", "Recv Control", contents);

  // Each option group in its own small frame, as pairs or columns.
  const auto pairFrame = [this](const char* frameName, const char* name, int first) {
    QGridLayout* grid = nullptr;
    QFrame* sub = MakeSubFrame(frameName, name, grid);
    QButtonGroup* group = MakeOptionGroup(this);
    grid->addWidget(MakeOption(first, group), 0, 0);
    grid->addWidget(MakeOption(first + 1, group), 0, 1);
    return sub;
  };

  QGridLayout* modeGrid = nullptr;
  QFrame* modes = MakeSubFrame("Frame6", "Mode", modeGrid);
  QButtonGroup* modeGroup = MakeOptionGroup(this);
  for (int option = 3; option <= 10; ++option) {
    const int index = option - 3;  // Am Fm / Usb Lsb / Cw Cwr / Rtty Rttyr
    modeGrid->addWidget(MakeOption(option, modeGroup), index / 2, index % 2);
  }

  // The filter options stand directly in the group.
  QButtonGroup* filterGroup = MakeOptionGroup(this);
  auto* filters = new QHBoxLayout;
  for (int option = 34; option <= 36; ++option) filters->addWidget(MakeOption(option, filterGroup));

  contents->addWidget(pairFrame("Frame5", "Rx/Tx", 1), 0, 0);
  contents->addWidget(modes, 1, 0, 3, 1);
  contents->addLayout(filters, 0, 1);
  contents->addWidget(pairFrame("Frame7", "Antenna", 11), 1, 1);
  contents->addWidget(pairFrame("Frame8", "Dual Watch", 13), 2, 1);
  contents->addWidget(pairFrame("Frame9", "Split", 15), 3, 1);
  return frame;
}

QWidget* RadioMainView::MakeDsplMemCtrl() {
  QGridLayout* contents = nullptr;
  QFrame* frame = MakeGroup("Frame2", "Label8", "Dspl/Mem Ctrl", contents);

  for (auto [frameName, name, first, row] :
       {std::tuple{"Frame10", "Vfo/Mem", 17, 0}, std::tuple{"Frame11", "Main/Sub", 19, 1}}) {
    QGridLayout* grid = nullptr;
    QFrame* sub = MakeSubFrame(frameName, name, grid);
    QButtonGroup* group = MakeOptionGroup(this);
    grid->addWidget(MakeOption(first, group), 0, 0);
    grid->addWidget(MakeOption(first + 1, group), 0, 1);
    contents->addWidget(sub, row, 0, 1, 2);
  }

  // The memory commands, push options in pairs, "Edge Freq" alone at the end.
  QButtonGroup* memoryCommands = MakeOptionGroup(this);
  for (int option = 21; option <= 33; ++option) {
    const int index = option - 21;
    contents->addWidget(MakeOption(option, memoryCommands), 2 + index / 2, index % 2);
  }
  return frame;
}

QWidget* RadioMainView::MakeCommandControl() {
  QGridLayout* contents = nullptr;
  QFrame* frame = MakeGroup("Frame3", "Label9", "Command Control", contents);
  int row = 0;
  for (auto [left, right] :
       {std::pair{"Command33", "Command32"}, std::pair{"Command35", "Command34"},
        std::pair{"Command2", "Command30"}, std::pair{"Command31", "Command48"}}) {
    contents->addWidget(MakeButton(left), row, 0);
    contents->addWidget(MakeButton(right), row, 1);
    ++row;
  }
  for (const char* name : {"Command47", "Command44", "Command42", "Command36"}) {
    QPushButton* button = MakeButton(name);
    if (std::string(name) == "Command44") Command44_ = button;
    contents->addWidget(button, row++, 0, 1, 2);
  }
  return frame;
}

QWidget* RadioMainView::MakeNavigation() {
  QGridLayout* contents = nullptr;
  QFrame* frame = MakeGroup("Frame4", "Label10", "Navigation", contents);
  int row = 0;
  for (const char* name : {"Command1", "Command0"}) {
    QPushButton* button = MakeButton(name);
    button->setFont(FixedPitchBold());
    contents->addWidget(button, row++, 0);
  }
  return frame;
}

QWidget* RadioMainView::MakeContents() {
  auto* contents = new QWidget;
  auto* layout = new QVBoxLayout(contents);
  layout->addWidget(MakeDisplay());

  auto* groups = new QHBoxLayout;
  groups->addWidget(MakeRecvControl());
  groups->addWidget(MakeDsplMemCtrl());
  groups->addWidget(MakeCommandControl());
  groups->addWidget(MakeNavigation());
  layout->addLayout(groups, 1);

  Text7_ = MakeField("Text7", "Status line", Arial(8.25, false));
  // A click on the status line clears it.
  RunOnClick(Text7_, hub_, [this] { radio_.Click("Text7"); });
  layout->addWidget(Text7_);
  return contents;
}

void RadioMainView::MakeMenus() {
  const auto exit = [this] { radio_.Exit(); };
  MakeMenuBar(*this, hub_, {{"FileExit", "Exit", exit}},
              {{"MemoryWindow", "Memory-Window", [this] { radio_.ShowMemoryWindow(); }},
               {"Setup", "Setup", [this] { radio_.ShowSetupWindow(); }},
               {"Exit", "Exit", exit},
               {"Help", "Help", [this] { radio_.Help(); }}});
}

void RadioMainView::closeEvent(QCloseEvent* event) {
  ForwardClose(event, hub_, radio_.Visible, [this] { radio_.CloseByFrame(); });
}

void RadioMainView::Refresh() {
  for (auto [field, text] : {std::pair{Text1_, &radio_.Text1}, std::pair{Text2_, &radio_.Text2},
                             std::pair{Text3_, &radio_.Text3}, std::pair{Text4_, &radio_.Text4},
                             std::pair{Text5_, &radio_.Text5}, std::pair{Text6_, &radio_.Text6},
                             std::pair{Text7_, &radio_.Text7}}) {
    ShowText(field, *text);
  }
  for (std::size_t option = 1; option < options_.size(); ++option) {
    if (options_[option] != nullptr) ShowChecked(options_[option], radio_.OptionMarked[option]);
  }
  ShowCaption(Command44_, radio_.Command44Caption);
  if (Command44_->accessibleName() != FromBytes(radio_.Command44Caption)) {
    Command44_->setAccessibleName(FromBytes(radio_.Command44Caption));
  }
  ShowVisibility(this, radio_.Visible, radio_.RaiseCount, raisedCount_);
}

}  // namespace tavrin
