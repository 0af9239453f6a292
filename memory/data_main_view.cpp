// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/data_main_view.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>
#include <tuple>

#include "platform/qt/text_bytes.h"
#include "platform/qt/view_kit.h"
#include "platform/qt/widget_sync.h"

namespace tavrin {

namespace {

void ShowBold(QLineEdit* field, bool bold) {
  if (field->font().bold() != bold) field->setFont(Arial(9.75, bold));
}

}  // namespace

DataMainView::DataMainView(DataMain& data, ViewHub& hub) : data_(data), hub_(hub) {
  setObjectName(QStringLiteral("DataMain"));
  setWindowTitle(FromBytes(data_.Caption));
  setAccessibleName(FromBytes(data_.Caption));
  setCentralWidget(MakeContents());
  MakeMenus();
  hub_.Add(this);
  Refresh();
}

DataMainView::~DataMainView() { hub_.Remove(this); }

QWidget* DataMainView::MakeContents() {
  auto* contents = new QWidget;
  auto* layout = new QVBoxLayout(contents);
  QLabel* heading = MakeLabel("Label1", "Open Files", Arial(12, true));
  heading->setAlignment(Qt::AlignCenter);
  layout->addWidget(heading);

  const QFont labelFont = Arial(9, true);
  auto* fields = new QGridLayout;
  int row = 0;
  for (auto [field, name, labelName, caption] :
       {std::tuple{&Text1_, "Text1", "Label2", "Current File"},
        std::tuple{&Text2_, "Text2", "Label3", "New File"}}) {
    *field = MakeField(name, caption);
    (*field)->setMinimumWidth(420);
    QLabel* label = MakeLabel(labelName, caption, labelFont);
    label->setBuddy(*field);
    fields->addWidget(label, row, 0);
    fields->addWidget(*field, row, 1);
    ++row;
  }
  layout->addLayout(fields);

  QVBoxLayout* inside = nullptr;
  QFrame* frame = MakeTitledFrame("Frame1", "Label4", "File Controls", inside);
  auto* buttons = new QGridLayout;
  int column = 0;
  for (auto [name, caption] :
       {std::pair{"Command3", "Open New File"}, std::pair{"Command2", "Search for File"},
        std::pair{"Command1", "Use Default File"}, std::pair{"Command0", "Return"}}) {
    auto* button = new QPushButton(QString::fromLatin1(caption));
    NameWidget(button, name, caption);
    button->setFont(Arial(9, false));
    const std::string control = name;
    connect(button, &QPushButton::clicked, this,
            [this, control] { hub_.Run([this, control] { data_.Click(control); }); });
    buttons->addWidget(button, 0, column++);
  }
  inside->addLayout(buttons);
  layout->addWidget(frame);
  return contents;
}

void DataMainView::MakeMenus() {
  const auto quit = [this] { data_.Quit(); };
  const auto back = [this] { data_.Return(); };
  const auto help = [this] { data_.Help(); };
  MakeMenuBar(*this, hub_, {{"FileQuit", "Quit", quit}, {"FileReturn", "Return", back}},
              {{"Quit", "Quit", quit}, {"Return", "Return", back}, {"Help", "Help", help}});
}

void DataMainView::closeEvent(QCloseEvent* event) {
  ForwardClose(event, hub_, data_.Visible, [this] { data_.Quit(); });
}

void DataMainView::Refresh() {
  ShowText(Text1_, data_.Text1);
  ShowText(Text2_, data_.Text2);
  ShowBold(Text1_, data_.Text1Bold);
  ShowBold(Text2_, data_.Text2Bold);
  ShowVisibility(this, data_.Visible, data_.RaiseCount, raisedCount_);
}

}  // namespace tavrin
