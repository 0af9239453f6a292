// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/quellport/com_port_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/widget_sync.h"

namespace tavrin {

ComPortView::ComPortView(ComPort& window, ViewHub& hub) : window_(window), hub_(hub) {
  setObjectName("ComPort");
  setWindowTitle("Close ComPort 1");
  setAccessibleName("Close ComPort 1");

  auto* label = new QLabel("Releases and flushes serial port COM1 (19200,N,8,1)");
  NameWidget(label, "Label1", "Releases and flushes serial port COM1 (19200,N,8,1)");
  label->setWordWrap(true);
  auto* proceed = new QPushButton("Continue");
  NameWidget(proceed, "Command1", "Continue");
  proceed->setDefault(true);
  connect(proceed, &QPushButton::clicked, this,
          [this] { hub_.Run([this] { window_.Continue(); }); });
  auto* quit = new QPushButton("Quit");
  NameWidget(quit, "Command2", "Quit");
  connect(quit, &QPushButton::clicked, this, [this] { hub_.Run([this] { window_.Quit(); }); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(proceed);
  buttons->addWidget(quit);
  setMinimumWidth(360);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(16);
  layout->addWidget(label);
  layout->addLayout(buttons);
  hub_.Add(this);
}

ComPortView::~ComPortView() { hub_.Remove(this); }

}  // namespace tavrin
