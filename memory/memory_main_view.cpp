// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/memory_main_view.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/qt/text_bytes.h"
#include "platform/qt/view_kit.h"
#include "platform/qt/widget_sync.h"

namespace tavrin {

namespace {

// Where each button stands in its group's grid: row, column, columns spanned. The two small
// "=" buttons sit under "Blank Rig" and "Scan Rig", "Skip" beside the second.
struct Place {
  int row;
  int column;
  int span;
};

Place PlaceOf(const std::string& name) {
  static const std::map<std::string, Place> places = {
      {"Command9", {0, 0, 2}},  {"Command2", {1, 0, 2}},  {"Command1", {2, 0, 2}},
      {"Command8", {3, 0, 2}},  {"Command4", {0, 0, 2}},  {"Command3", {1, 0, 2}},
      {"Command5", {2, 0, 2}},  {"Command12", {3, 0, 1}}, {"Command6", {4, 0, 2}},
      {"Command13", {5, 0, 1}}, {"Command11", {5, 1, 1}}, {"Command10", {6, 0, 2}},
      {"Command7", {0, 0, 2}},  {"Command0", {1, 0, 2}}};
  const auto found = places.find(name);
  return found != places.end() ? found->second : Place{0, 0, 1};
}

}  // namespace

MemoryMainView::MemoryMainView(MemoryMain& memory, ViewHub& hub) : memory_(memory), hub_(hub) {
  setObjectName(QStringLiteral("MemoryMain"));
  setWindowTitle(FromBytes(memory_.Caption));
  setAccessibleName(FromBytes(memory_.Caption));
  setCentralWidget(MakeContents());
  if (memory_.HasMenuBar) MakeMenus();
  // The keyboard starts on "Change Data File", not in the read-only "Channel" field.
  if (const auto start = buttons_.find("Command9"); start != buttons_.end())
    start->second->setFocus();
  hub_.Add(this);
  Refresh();
}

MemoryMainView::~MemoryMainView() { hub_.Remove(this); }

QWidget* MemoryMainView::MakeDisplay() {
  auto* display = new QWidget;
  auto* grid = new QGridLayout(display);
  grid->setContentsMargins(0, 0, 0, 0);

  auto* heading = MakeLabel("Label1", "Memory Operations", Arial(14, true));
  heading->setAlignment(Qt::AlignCenter);
  grid->addWidget(heading, 0, 0, 1, 3);

  const QFont labelFont = Arial(9, true);
  const QFont large = Arial(36, true);
  const QFont bold = Arial(15.75, true);
  Text1_ = MakeField("Text1", "Channel", large);
  Text3_ = MakeField("Text3", "Frequency", large);
  Text4_ = MakeField("Text4", "Mode/Filter", bold);
  Text5_ = MakeField("Text5", "Filter", bold);
  Text6_ = MakeField("Text6", "Status/Info", bold);
  Text2_ = MakeField("Text2", "Selected", bold);
  Text1_->setMaximumWidth(150);
  Text1_->setAlignment(Qt::AlignCenter);
  Text3_->setMinimumWidth(330);
  Text3_->setAlignment(Qt::AlignCenter);
  Text4_->setMaximumWidth(130);
  Text5_->setMaximumWidth(130);
  Text2_->setMaximumWidth(50);
  Text2_->setAlignment(Qt::AlignCenter);

  for (auto [name, caption, buddy, column] :
       {std::tuple{"Label2", "Channel", Text1_, 0}, std::tuple{"Label3", "Frequency", Text3_, 1},
        std::tuple{"Label4", "Mode/Filter", Text4_, 2}}) {
    QLabel* label = MakeLabel(name, caption, labelFont);
    label->setBuddy(buddy);
    grid->addWidget(label, 1, column);
  }
  auto* modeFilter = new QVBoxLayout;
  modeFilter->addWidget(Text4_);
  modeFilter->addWidget(Text5_);
  grid->addWidget(Text1_, 2, 0);
  grid->addWidget(Text3_, 2, 1);
  grid->addLayout(modeFilter, 2, 2);

  QLabel* statusLabel = MakeLabel("Label5", "Status/Info", labelFont);
  statusLabel->setBuddy(Text6_);
  QLabel* selectedLabel = MakeLabel("Label6", "Selected", labelFont);
  selectedLabel->setBuddy(Text2_);
  grid->addWidget(statusLabel, 3, 0, 1, 2);
  grid->addWidget(selectedLabel, 3, 2);
  grid->addWidget(Text6_, 4, 0, 1, 2);
  grid->addWidget(Text2_, 4, 2, Qt::AlignLeft);

  Text8_ = MakeField("Text8", "Current File", Arial(8.25, false));
  QLabel* fileLabel = MakeLabel("Label7", "Current File", labelFont);
  fileLabel->setBuddy(Text8_);
  auto* file = new QHBoxLayout;
  file->addWidget(fileLabel);
  file->addWidget(Text8_, 1);
  grid->addLayout(file, 5, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  return display;
}

QPushButton* MemoryMainView::MakeButton(const MemoryButton& button) {
  auto* push = new QPushButton(QString::fromLatin1(button.caption));
  const std::string name = button.name;
  // The two "=" buttons are told apart by what they repeat.
  std::string accessible = button.caption;
  if (name == "Command12") accessible = "= (repeat Blank Rig)";
  if (name == "Command13") accessible = "= (repeat Scan Rig)";
  NameWidget(push, button.name, accessible);
  push->setFont(Arial(9, false));
  if (name == "Command12" || name == "Command13" || name == "Command11")
    push->setMaximumWidth(name == "Command11" ? 60 : 36);
  connect(push, &QPushButton::clicked, this,
          [this, name] { hub_.Run([this, name] { memory_.Click(name); }); });
  buttons_[name] = push;
  return push;
}

QFrame* MemoryMainView::MakeGroup(const char* frameName, const char* labelName, const char* group) {
  std::vector<const MemoryButton*> present;
  for (const MemoryButton& button : MemoryButtons())
    if (std::string(button.group) == group && memory_.Has(button.name)) present.push_back(&button);
  if (present.empty()) return nullptr;

  QVBoxLayout* layout = nullptr;
  QFrame* frame = MakeTitledFrame(frameName, labelName, group, layout);
  auto* contents = new QGridLayout;
  for (const MemoryButton* button : present) {
    const Place place = PlaceOf(button->name);
    contents->addWidget(MakeButton(*button), place.row, place.column, 1, place.span);
  }
  layout->addLayout(contents);
  layout->addStretch(1);
  return frame;
}

QWidget* MemoryMainView::MakeGroups() {
  auto* groups = new QWidget;
  auto* layout = new QHBoxLayout(groups);
  layout->setContentsMargins(0, 0, 0, 0);
  for (auto [frameName, labelName, group] : {std::tuple{"Frame1", "Label8", "File Operations"},
                                             std::tuple{"Frame2", "Label9", "Rig Operations"},
                                             std::tuple{"Frame3", "Label10", "Navigation"}}) {
    if (QFrame* frame = MakeGroup(frameName, labelName, group)) layout->addWidget(frame);
  }
  return groups;
}

QWidget* MemoryMainView::MakeContents() {
  auto* contents = new QWidget;
  auto* layout = new QVBoxLayout(contents);
  layout->addWidget(MakeDisplay());
  Text7_ = MakeField("Text7", "Progress line", Arial(8.25, false));
  // A click on the progress line stops every operation.
  RunOnClick(Text7_, hub_, [this] { memory_.Click("Text7"); });
  layout->addWidget(Text7_);
  layout->addWidget(MakeGroups(), 1);
  Text9_ = MakeField("Text9", "Status line", Arial(8.25, false));
  layout->addWidget(Text9_);
  return contents;
}

void MemoryMainView::MakeMenus() {
  const auto exit = [this] { memory_.Exit(); };
  MakeMenuBar(*this, hub_, {{"FileExit", "Exit", exit}},
              {{"RadioWindow", "Radio-Window", [this] { memory_.ShowRadioWindow(); }},
               {"Setup", "Setup", [this] { memory_.ShowSetupWindow(); }},
               {"Exit", "Exit", exit},
               {"Help", "Help", [this] { memory_.Help(); }}});
}

void MemoryMainView::closeEvent(QCloseEvent* event) {
  ForwardClose(event, hub_, memory_.Visible, [this] { memory_.CloseByFrame(); });
}

void MemoryMainView::Refresh() {
  for (auto [field, text] : {std::pair{Text1_, &memory_.Text1}, std::pair{Text2_, &memory_.Text2},
                             std::pair{Text3_, &memory_.Text3}, std::pair{Text4_, &memory_.Text4},
                             std::pair{Text5_, &memory_.Text5}, std::pair{Text6_, &memory_.Text6},
                             std::pair{Text7_, &memory_.Text7}, std::pair{Text8_, &memory_.Text8},
                             std::pair{Text9_, &memory_.Text9}}) {
    ShowText(field, *text);
  }
  if (Text8_->font().bold() != memory_.Text8Bold) Text8_->setFont(Arial(8.25, memory_.Text8Bold));
  if (windowTitle() != FromBytes(memory_.Caption)) setWindowTitle(FromBytes(memory_.Caption));

  ShowVisibility(this, memory_.Visible, memory_.RaiseCount, raisedCount_);
  if (focusRequests_ != memory_.FocusedControl.count) {
    focusRequests_ = memory_.FocusedControl.count;
    const auto found = buttons_.find(memory_.FocusedControl.control);
    if (found != buttons_.end()) found->second->setFocus();
  }
}

}  // namespace tavrin
