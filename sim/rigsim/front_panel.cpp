// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/rigsim/front_panel.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace tavrin::rigsim {

namespace {

struct ModeEntry {
  const char* text;
  std::uint8_t code;
};

constexpr std::array<ModeEntry, 8> kModes = {{{"LSB", sim::kModeLsb},
                                              {"USB", sim::kModeUsb},
                                              {"AM", sim::kModeAm},
                                              {"CW", sim::kModeCw},
                                              {"RTTY", sim::kModeRtty},
                                              {"FM", sim::kModeFm},
                                              {"CWr", sim::kModeCwReverse},
                                              {"RTTYr", sim::kModeRttyReverse}}};

// 14195000 as "14.195.000 MHz".
QString FrequencyText(std::int64_t hz) {
  const std::int64_t mhz = hz / 1'000'000;
  const std::int64_t khz = (hz / 1000) % 1000;
  const std::int64_t rest = hz % 1000;
  return QString("%1.%2.%3 MHz").arg(mhz).arg(khz, 3, 10, QChar('0')).arg(rest, 3, 10, QChar('0'));
}

QLabel* Caption(const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAccessibleName(text);
  return label;
}

}  // namespace

FrontPanel::FrontPanel(sim::Transceiver& radio) : radio_(radio) {
  setObjectName("RigPanel");
  setWindowTitle(QString::fromUtf8("rigsim \u2014 simulated transceiver"));

  auto* frequencyCaption = Caption("Frequency", "Label1", this);
  frequency_ = new QLabel(this);
  frequency_->setObjectName("Text1");
  frequency_->setAccessibleName("Frequency");
  QFont big = frequency_->font();
  big.setPointSize(24);
  big.setBold(true);
  frequency_->setFont(big);
  auto* operatedCaption = Caption("Operating", "Label2", this);
  operated_ = new QLabel(this);
  operated_->setObjectName("Text2");
  operated_->setAccessibleName("Operating");
  link_ = new QLabel(this);
  link_->setObjectName("Text3");
  link_->setAccessibleName("Line");
  hint_ = new QLabel(this);
  hint_->setObjectName("Text4");
  hint_->setAccessibleName("How to use it");
  hint_->setWordWrap(true);
  hint_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* dial = new QHBoxLayout;
  dial->addWidget(DialButton("-1 kHz", "Command1", -1000));
  dial->addWidget(DialButton("-100 Hz", "Command2", -100));
  dial->addWidget(DialButton("+100 Hz", "Command3", 100));
  dial->addWidget(DialButton("+1 kHz", "Command4", 1000));

  auto* modeCaption = Caption("Mode", "Label3", this);
  mode_ = new QComboBox(this);
  mode_->setObjectName("Combo1");
  mode_->setAccessibleName("Mode");
  for (const ModeEntry& entry : kModes) mode_->addItem(entry.text, entry.code);
  auto* filterCaption = Caption("Filter", "Label4", this);
  filter_ = new QComboBox(this);
  filter_->setObjectName("Combo2");
  filter_->setAccessibleName("Filter");
  for (int f = 1; f <= 3; ++f) filter_->addItem(QString("Fil %1").arg(f), f);

  squelch_ = new QCheckBox("Open squelch", this);
  squelch_->setObjectName("Check1");
  squelch_->setAccessibleName("Open squelch");
  transceive_ = new QCheckBox("Transceive", this);
  transceive_->setObjectName("Check2");
  transceive_->setAccessibleName("Transceive");

  replugButton_ = new QPushButton("Replug cable", this);
  replugButton_->setObjectName("Command5");
  replugButton_->setAccessibleName("Replug cable");
  connect(replugButton_, &QPushButton::clicked, this, [this] {
    if (replug_) replug_();
  });

  auto* grid = new QGridLayout;
  grid->addWidget(frequencyCaption, 0, 0);
  grid->addWidget(frequency_, 0, 1);
  grid->addWidget(operatedCaption, 1, 0);
  grid->addWidget(operated_, 1, 1);
  grid->addWidget(modeCaption, 2, 0);
  grid->addWidget(mode_, 2, 1);
  grid->addWidget(filterCaption, 3, 0);
  grid->addWidget(filter_, 3, 1);

  auto* switches = new QHBoxLayout;
  switches->addWidget(squelch_);
  switches->addWidget(transceive_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(dial);
  layout->addLayout(switches);
  auto* line = new QHBoxLayout;
  line->addWidget(link_, 1);
  line->addWidget(replugButton_);
  layout->addLayout(line);
  layout->addWidget(hint_);

  connect(mode_, &QComboBox::activated, this, [this] { ChooseMode(); });
  connect(filter_, &QComboBox::activated, this, [this] { ChooseMode(); });
  connect(squelch_, &QCheckBox::toggled, this, [this](bool on) { ToggleSquelch(on); });
  connect(transceive_, &QCheckBox::toggled, this, [this](bool on) { ToggleTransceive(on); });
  // The controller changes the transceiver too; the panel follows a few times a second.
  connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
  refresh_.start(200);
  Refresh();
}

void FrontPanel::SetLinkText(const QString& text) { link_->setText(text); }

void FrontPanel::SetHint(const QString& text) {
  hint_->setText(text);
  hint_->setAccessibleDescription(text);
}

QPushButton* FrontPanel::DialButton(const QString& caption, const char* name, std::int64_t hz) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setAccessibleName(caption);
  button->setAutoRepeat(true);
  connect(button, &QPushButton::clicked, this, [this, hz] {
    radio_.TurnDial(hz);
    Refresh();
  });
  return button;
}

void FrontPanel::ChooseMode() {
  if (refreshing_) return;
  radio_.ChangeMode(static_cast<std::uint8_t>(mode_->currentData().toInt()),
                    static_cast<std::uint8_t>(filter_->currentData().toInt()));
  Refresh();
}

void FrontPanel::ToggleSquelch(bool open) {
  if (refreshing_) return;
  if (radio_.MemoryMode()) {
    radio_.SetChannelSignal(radio_.CurrentChannel(), open);
  } else {
    radio_.SetVfoSignal(open);
  }
}

void FrontPanel::ToggleTransceive(bool on) {
  if (!refreshing_) radio_.SetTransceive(on);
}

void FrontPanel::Refresh() {
  refreshing_ = true;
  const bool blank = radio_.OperatingOnBlankChannel();
  frequency_->setText(blank ? QString("-- blank --") : FrequencyText(radio_.FrequencyHz()));
  if (radio_.MemoryMode()) {
    const int channel = radio_.CurrentChannel();
    const QString number = channel == 100   ? QString("P1")
                           : channel == 101 ? QString("P2")
                                            : QString::number(channel);
    operated_->setText(QString("MEM %1  %2")
                           .arg(number, QString::fromLatin1(radio_.Channel(channel).name.c_str())));
  } else {
    operated_->setText(radio_.SubSelected() ? "VFO (sub)" : "VFO (main)");
  }
  for (int i = 0; i < mode_->count(); ++i) {
    if (mode_->itemData(i).toInt() == radio_.Mode()) mode_->setCurrentIndex(i);
  }
  filter_->setCurrentIndex(std::clamp(static_cast<int>(radio_.Filter()) - 1, 0, 2));
  mode_->setEnabled(!blank);
  filter_->setEnabled(!blank);
  squelch_->setChecked(radio_.SquelchOpen());
  transceive_->setChecked(radio_.Transceive());
  refreshing_ = false;
}

}  // namespace tavrin::rigsim
