// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// rigsim's front panel: the frequency and what is operated (VFO or memory channel), dial
// buttons, mode and filter selectors, a squelch switch for the operated channel or VFO, and the
// transceive switch. Turning the dial or choosing a mode here sends the transceive broadcast.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <utility>

#include "sim/transceiver.h"

namespace tavrin::rigsim {

class FrontPanel : public QWidget {
  Q_OBJECT

 public:
  explicit FrontPanel(sim::Transceiver& radio);
  void SetLinkText(const QString& text);
  // How to point the control programs at this line.
  void SetHint(const QString& text);
  // What the "Replug cable" key does.
  void OnReplug(std::function<void()> action) { replug_ = std::move(action); }

 private:
  QPushButton* DialButton(const QString& caption, const char* name, std::int64_t hz);
  void ChooseMode();
  void ToggleSquelch(bool open);
  void ToggleTransceive(bool on);
  void Refresh();

  sim::Transceiver& radio_;
  QLabel* frequency_;
  QLabel* operated_;
  QLabel* link_;
  QLabel* hint_;
  QComboBox* mode_;
  QComboBox* filter_;
  QCheckBox* squelch_;
  QCheckBox* transceive_;
  QPushButton* replugButton_;
  std::function<void()> replug_;
  QTimer refresh_;
  bool refreshing_ = false;
};

}  // namespace tavrin::rigsim
