#include "memory/data_main_view.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>
#include <tuple>

#include "platform/qt/text_bytes.h"
#include "platform/qt/widget_sync.h"

namespace tavrin {

namespace {

QFont Arial(double pointSize, bool bold) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

QLabel* MakeLabel(const char* designName, const char* caption, const QFont& font) {
  auto* label = new QLabel(QString::fromLatin1(caption));
  NameWidget(label, designName, caption);
  label->setFont(font);
  return label;
}

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
    *field = new QLineEdit;
    NameWidget(*field, name, caption);
    (*field)->setReadOnly(true);
    (*field)->setMinimumWidth(420);
    QLabel* label = MakeLabel(labelName, caption, labelFont);
    label->setBuddy(*field);
    fields->addWidget(label, row, 0);
    fields->addWidget(*field, row, 1);
    ++row;
  }
  layout->addLayout(fields);

  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::Box);
  NameWidget(frame, "Frame1", "File Controls");
  auto* inside = new QVBoxLayout(frame);
  QLabel* title = MakeLabel("Label4", "File Controls", labelFont);
  title->setAlignment(Qt::AlignCenter);
  inside->addWidget(title);
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
  const auto action = [this](const char* designName, const char* caption, auto run) {
    auto* item = new QAction(QString::fromLatin1(caption), this);
    item->setObjectName(QString::fromLatin1(designName));
    connect(item, &QAction::triggered, this, [this, run] { hub_.Run([this, run] { run(); }); });
    return item;
  };
  const auto quit = [this] { data_.Quit(); };
  const auto back = [this] { data_.Return(); };

  QMenuBar* bar = menuBar();
  bar->setAccessibleName(QStringLiteral("Menu"));
  QMenu* file = bar->addMenu(QStringLiteral("File"));
  file->setObjectName(QStringLiteral("File"));
  file->setAccessibleName(QStringLiteral("File"));
  file->addAction(action("FileQuit", "Quit", quit));
  file->addAction(action("FileReturn", "Return", back));
  bar->addAction(action("Quit", "Quit", quit));
  bar->addAction(action("Return", "Return", back));
  bar->addAction(action("Help", "Help", [this] { data_.Help(); }));
}

void DataMainView::closeEvent(QCloseEvent* event) {
  if (data_.Visible) hub_.Run([this] { data_.Quit(); });
  event->accept();
}

void DataMainView::Refresh() {
  ShowText(Text1_, data_.Text1);
  ShowText(Text2_, data_.Text2);
  ShowBold(Text1_, data_.Text1Bold);
  ShowBold(Text2_, data_.Text2Bold);
  if (data_.Visible) {
    if (!isVisible()) show();
    if (raisedCount_ != data_.RaiseCount) {
      raisedCount_ = data_.RaiseCount;
      raise();
      activateWindow();
    }
  } else if (isVisible()) {
    hide();
  }
}

}  // namespace tavrin
