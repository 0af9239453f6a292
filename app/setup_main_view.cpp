// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setup_main_view.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
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

QFont SansSerif(int pointSize, bool bold = false) {
  return SansFont("MS Sans Serif", pointSize, bold);
}

// The option captions by option number.
constexpr std::array<const char*, 7> kOptionCaptions = {
    "", "Com 1", "Com 2", "Com 3", "19200,N,8,1", "9600,N,8,1", "4800,N,8,1"};

}  // namespace

SetupMainView::SetupMainView(SetupMain& setup, ViewHub& hub) : setup_(setup), hub_(hub) {
  setObjectName(QStringLiteral("SetupMain"));
  setAccessibleName(FromBytes(setup_.Caption));
  setWindowTitle(FromBytes(setup_.Caption));
  setCentralWidget(MakeContents());
  MakeMenus();
  setMinimumWidth(340);
  hub_.Add(this);
  Refresh();
}

SetupMainView::~SetupMainView() { hub_.Remove(this); }

QWidget* SetupMainView::MakeOptionGroup(const char* frameName, const char* caption,
                                        int firstOption) {
  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::StyledPanel);
  NameWidget(frame, frameName, caption);
  auto* layout = new QVBoxLayout(frame);
  // The window decides which option is marked; the buttons only draw it.
  QButtonGroup* group = tavrin::MakeOptionGroup(frame);
  for (int option = firstOption; option < firstOption + 3; ++option) {
    const char* optionCaption = kOptionCaptions[static_cast<std::size_t>(option)];
    auto* button = new QRadioButton(QString::fromLatin1(optionCaption));
    const std::string name = "Option" + std::to_string(option);
    NameWidget(button, name.c_str(), optionCaption);
    button->setFont(SansSerif(9));
    group->addButton(button, option);
    RunOnActivation(button, hub_, [this, option] {
      if (option <= 3) {
        setup_.ChoosePort(option);
      } else {
        setup_.ChooseSpeed(option);
      }
    });
    options_[static_cast<std::size_t>(option)] = button;
    layout->addWidget(button);
  }
  return frame;
}

QWidget* SetupMainView::MakeContents() {
  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::StyledPanel);
  NameWidget(frame, "Frame1", "System Setup Options");

  const QFont labelFont = SansSerif(9, true);
  auto* heading = MakeLabel("Label1", "System Setup Options", SansSerif(12, true));
  heading->setAlignment(Qt::AlignCenter);

  auto* groups = new QGridLayout;
  groups->addWidget(MakeLabel("Label2", "Comm Port", labelFont), 0, 0);
  groups->addWidget(MakeOptionGroup("Frame2", "Comm Port", 1), 1, 0);
  groups->addWidget(MakeLabel("Label3", "Baud Rate", labelFont), 0, 1);
  groups->addWidget(MakeOptionGroup("Frame3", "Baud Rate", 4), 1, 1);

  Text1_ = new QLineEdit;
  NameWidget(Text1_, "Text1", "Call Sign");
  Text1_->setFont(SansSerif(9));
  RunOnTextChange(Text1_, hub_, [this](const std::string& text) { setup_.CallSignChanged(text); });
  Text2_ = new QLineEdit;
  NameWidget(Text2_, "Text2", "Default Data File");
  Text2_->setFont(SansSerif(9));
  RunOnTextChange(Text2_, hub_, [this](const std::string& text) { setup_.DataFileChanged(text); });

  auto* fields = new QGridLayout;
  auto* callLabel = MakeLabel("Label4", "Call Sign", labelFont);
  callLabel->setBuddy(Text1_);
  auto* fileLabel = MakeLabel("Label5", "Default Data File", labelFont);
  fileLabel->setBuddy(Text2_);
  fields->addWidget(callLabel, 0, 0);
  fields->addWidget(Text1_, 0, 1);
  fields->addWidget(fileLabel, 1, 0);
  fields->addWidget(Text2_, 1, 1);

  auto* save = new QPushButton(QStringLiteral("Save"));
  NameWidget(save, "Command0", "Save");
  connect(save, &QPushButton::clicked, this, [this] { hub_.Run([this] { setup_.Save(); }); });
  auto* quit = new QPushButton(QStringLiteral("Quit"));
  NameWidget(quit, "Command1", "Quit");
  connect(quit, &QPushButton::clicked, this, [this] { hub_.Run([this] { setup_.Quit(); }); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(save);
  buttons->addWidget(quit);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(heading);
  layout->addLayout(groups);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  return frame;
}

void SetupMainView::MakeMenus() {
  const auto save = [this] { setup_.Save(); };
  const auto quit = [this] { setup_.Quit(); };
  const auto help = [this] { setup_.Help(); };
  MakeMenuBar(*this, hub_, {{"FileQuit", "Quit", quit}, {"FileSave", "Save", save}},
              {{"Quit", "Quit", quit}, {"Save", "Save", save}, {"Help", "Help", help}});
}

void SetupMainView::closeEvent(QCloseEvent* event) {
  ForwardClose(event, hub_, setup_.Visible, [this] { setup_.CloseByFrame(); });
}

void SetupMainView::DescribePorts() {
  for (int option = 1; option <= 3; ++option) {
    QAbstractButton* button = options_[static_cast<std::size_t>(option)];
    const QString where = FromBytes(setup_.PortDescription(option));
    button->setToolTip(where);
    button->setAccessibleDescription(where);
  }
}

void SetupMainView::Refresh() {
  for (int option = 1; option <= 6; ++option) {
    ShowChecked(options_[static_cast<std::size_t>(option)],
                setup_.OptionMarked[static_cast<std::size_t>(option)]);
  }
  ShowText(Text1_, setup_.Text1);
  ShowText(Text2_, setup_.Text2);
  if (setup_.Visible && !isVisible()) DescribePorts();
  if (setup_.Visible && !isVisible() && !placed_) {
    // The first time in the middle of the screen, later where the user left it.
    placed_ = true;
    CenterOnScreen(this);
  }
  ShowVisibility(this, setup_.Visible, setup_.RaiseCount, raisedCount_);
}

}  // namespace tavrin
