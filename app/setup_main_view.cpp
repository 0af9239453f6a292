// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setup_main_view.h"

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
#include <QSignalBlocker>
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

QFrame* MakeFrame(const char* frameName, const char* caption) {
  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::StyledPanel);
  NameWidget(frame, frameName, caption);
  return frame;
}

QPushButton* MakeButton(const char* designName, const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption));
  NameWidget(button, designName, caption);
  return button;
}

QRadioButton* MakeOption(int option, QButtonGroup* group) {
  const char* caption = kOptionCaptions[static_cast<std::size_t>(option)];
  auto* button = new QRadioButton(QString::fromLatin1(caption));
  const std::string name = "Option" + std::to_string(option);
  NameWidget(button, name.c_str(), caption);
  button->setFont(SansSerif(9));
  group->addButton(button, option);
  return button;
}

}  // namespace

SetupMainView::SetupMainView(SetupMain& setup, ViewHub& hub) : setup_(setup), hub_(hub) {
  setObjectName(QStringLiteral("SetupMain"));
  setAccessibleName(FromBytes(setup_.Caption));
  setWindowTitle(FromBytes(setup_.Caption));
  setCentralWidget(MakeContents());
  MakeMenus();
  setMinimumWidth(600);
  hub_.Add(this);
  Refresh();
}

SetupMainView::~SetupMainView() { hub_.Remove(this); }

QWidget* SetupMainView::MakePortGroup() {
  QFrame* frame = MakeFrame("Frame2", "Comm Port");
  auto* layout = new QGridLayout(frame);
  layout->setColumnStretch(1, 1);
  // The window decides which option is marked; the buttons only draw it.
  QButtonGroup* group = tavrin::MakeOptionGroup(frame);
  for (int option = 1; option <= 3; ++option) {
    QRadioButton* button = MakeOption(option, group);
    RunOnActivation(button, hub_, [this, option] { setup_.ChoosePort(option); });
    options_[static_cast<std::size_t>(option)] = button;
    // Beside the option, the device that port leads to; named by the option it belongs to.
    const std::string name = "Text" + std::to_string(3 + option);
    QLineEdit* device =
        MakeField(name.c_str(), kOptionCaptions[static_cast<std::size_t>(option)], SansSerif(9));
    device->setFrame(false);
    device->setFocusPolicy(Qt::ClickFocus);
    device->setStyleSheet(QStringLiteral("background: transparent"));
    portDevices_[static_cast<std::size_t>(option)] = device;
    layout->addWidget(button, option - 1, 0);
    layout->addWidget(device, option - 1, 1);
  }
  return frame;
}

QWidget* SetupMainView::MakeSpeedGroup() {
  QFrame* frame = MakeFrame("Frame3", "Baud Rate");
  auto* layout = new QVBoxLayout(frame);
  QButtonGroup* group = tavrin::MakeOptionGroup(frame);
  for (int option = 4; option <= 6; ++option) {
    QRadioButton* button = MakeOption(option, group);
    RunOnActivation(button, hub_, [this, option] { setup_.ChooseSpeed(option); });
    options_[static_cast<std::size_t>(option)] = button;
    layout->addWidget(button);
  }
  return frame;
}

QWidget* SetupMainView::MakeDeviceGroup() {
  QFrame* frame = MakeFrame("Frame4", "Serial Devices");
  auto* layout = new QVBoxLayout(frame);
  const QFont labelFont = SansSerif(9, true);

  devices_ = new QListWidget;
  NameWidget(devices_, "List1", "Serial Devices");
  devices_->setFont(SansSerif(9));
  devices_->setMinimumHeight(devices_->fontMetrics().height() * 5);
  devices_->setMaximumHeight(devices_->fontMetrics().height() * 7);
  devices_->viewport()->installEventFilter(this);
  // A new row, chosen with the mouse or the keys, is taken at once; a click on the row already
  // chosen takes it again (after the port options changed, say).
  connect(devices_, &QListWidget::currentRowChanged, this,
          [this](int row) { RunChooseDevice(row); });
  connect(devices_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const int row = devices_->row(item);
    if (row == rowBeforePress_) RunChooseDevice(row);
  });
  auto* listLabel = MakeLabel("Label9", "Serial Devices", labelFont);
  listLabel->setBuddy(devices_);

  Text3_ = new QLineEdit;
  NameWidget(Text3_, "Text3", "Device Path");
  Text3_->setFont(SansSerif(9));
  Text3_->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
  RunOnTextChange(Text3_, hub_,
                  [this](const std::string& text) { setup_.DevicePathChanged(text); });
  auto* pathLabel = MakeLabel("Label10", "Device Path", labelFont);
  pathLabel->setBuddy(Text3_);
  QPushButton* use = MakeButton("Command2", "Use Path");
  connect(use, &QPushButton::clicked, this, [this] { hub_.Run([this] { setup_.UsePath(); }); });
  auto* path = new QHBoxLayout;
  path->addWidget(pathLabel);
  path->addWidget(Text3_, 1);
  path->addWidget(use);

  QPushButton* find = MakeButton("Command3", "Find Transceiver");
  connect(find, &QPushButton::clicked, this,
          [this] { hub_.Run([this] { setup_.FindTransceiver(); }); });
  status_ = new QLabel;
  status_->setObjectName(QStringLiteral("Label11"));
  status_->setFont(SansSerif(9));
  status_->setWordWrap(true);
  auto* search = new QHBoxLayout;
  search->addWidget(find);
  search->addWidget(status_, 1);

  layout->addWidget(listLabel);
  layout->addWidget(devices_);
  layout->addLayout(path);
  layout->addLayout(search);
  return frame;
}

QWidget* SetupMainView::MakeContents() {
  QFrame* frame = MakeFrame("Frame1", "System Setup Options");
  const QFont labelFont = SansSerif(9, true);
  auto* heading = MakeLabel("Label1", "System Setup Options", SansSerif(12, true));
  heading->setAlignment(Qt::AlignCenter);

  auto* groups = new QGridLayout;
  groups->setColumnStretch(0, 1);
  groups->addWidget(MakeLabel("Label2", "Comm Port", labelFont), 0, 0);
  groups->addWidget(MakePortGroup(), 1, 0);
  groups->addWidget(MakeLabel("Label3", "Baud Rate", labelFont), 0, 1);
  groups->addWidget(MakeSpeedGroup(), 1, 1);

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

  QPushButton* save = MakeButton("Command0", "Save");
  connect(save, &QPushButton::clicked, this, [this] { hub_.Run([this] { setup_.Save(); }); });
  QPushButton* quit = MakeButton("Command1", "Quit");
  connect(quit, &QPushButton::clicked, this, [this] { hub_.Run([this] { setup_.Quit(); }); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(save);
  buttons->addWidget(quit);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(heading);
  layout->addLayout(groups);
  layout->addWidget(MakeDeviceGroup());
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

bool SetupMainView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && devices_ != nullptr &&
      watched == devices_->viewport()) {
    rowBeforePress_ = devices_->currentRow();
  }
  return QMainWindow::eventFilter(watched, event);
}

void SetupMainView::RunChooseDevice(int row) {
  if (row < 0 || hub_.Refreshing()) return;
  hub_.Run([this, row] { setup_.ChooseDevice(row); });
}

void SetupMainView::ShowDevices() {
  // Drawn with the list's signals blocked: the window's own list is no choice of the user's.
  const QSignalBlocker quiet(devices_);
  bool same = devices_->count() == static_cast<int>(setup_.DeviceList.size());
  for (int row = 0; same && row < devices_->count(); ++row) {
    same =
        devices_->item(row)->text() == FromBytes(setup_.DeviceList[static_cast<std::size_t>(row)]);
  }
  if (!same) {
    devices_->clear();
    for (const std::string& line : setup_.DeviceList) {
      auto* item = new QListWidgetItem(FromBytes(line), devices_);
      item->setToolTip(item->text());  // a long by-id name is cut at the list's edge
    }
  }
  if (devices_->currentRow() != setup_.DeviceListIndex) {
    if (setup_.DeviceListIndex < 0) {
      devices_->setCurrentIndex(QModelIndex());
      devices_->clearSelection();
    } else {
      devices_->setCurrentRow(setup_.DeviceListIndex);
    }
  }
}

void SetupMainView::Refresh() {
  for (int option = 1; option <= 6; ++option) {
    ShowChecked(options_[static_cast<std::size_t>(option)],
                setup_.OptionMarked[static_cast<std::size_t>(option)]);
  }
  for (int port = 1; port <= 3; ++port) {
    const std::string& device = setup_.PortDevice[static_cast<std::size_t>(port)];
    ShowText(portDevices_[static_cast<std::size_t>(port)], device);
    options_[static_cast<std::size_t>(port)]->setAccessibleDescription(FromBytes(device));
  }
  ShowDevices();
  ShowText(Text1_, setup_.Text1);
  ShowText(Text2_, setup_.Text2);
  ShowText(Text3_, setup_.Text3);
  ShowText(status_, setup_.StatusLine());
  if (setup_.Visible && !isVisible() && !placed_) {
    // The first time in the middle of the screen, later where the user left it.
    placed_ = true;
    CenterOnScreen(this);
  }
  ShowVisibility(this, setup_.Visible, setup_.RaiseCount, raisedCount_);
}

}  // namespace tavrin
