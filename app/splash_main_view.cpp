// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/splash_main_view.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QVBoxLayout>

#include "platform/qt/text_bytes.h"
#include "platform/qt/view_kit.h"
#include "platform/qt/widget_sync.h"

// The logo lives in the views library; a static library's resources are registered by hand.
static void InitSplashResources() { Q_INIT_RESOURCE(app); }

namespace tavrin {

SplashMainView::SplashMainView(SplashMain& splash, ViewHub& hub) : splash_(splash), hub_(hub) {
  InitSplashResources();
  setObjectName(QStringLiteral("SplashMain"));
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);

  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::Box);
  frame->setLineWidth(2);
  NameWidget(frame, "Frame1", "Splash");

  auto* logo = new QLabel;
  NameWidget(logo, "imgLogo", "Logo: an antenna above a transceiver");
  logo->setPixmap(QPixmap(QStringLiteral(":/app/logo.jpg")));
  logo->setFixedSize(320, 256);

  lblCompanyProduct_ = MakeLabel("lblCompanyProduct", 12);
  lblProductName_ = MakeLabel("lblProductName", 32);
  lblPlatform_ = MakeLabel("lblPlatform", 12);
  lblVersion_ = MakeLabel("lblVersion", 12);
  lblDate_ = MakeLabel("lblDate", 12);
  lblDate_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  Text1_ = new QLineEdit;
  NameWidget(Text1_, "Text1", "Click to Continue");
  Text1_->setAlignment(Qt::AlignCenter);
  Text1_->setMaximumWidth(200);
  // Any change of the field continues: a typed character, a paste, or text put in through the
  // accessibility interface.
  RunOnTextChange(Text1_, hub_, [this](const std::string&) {
    if (splash_.Visible) splash_.Continue();
  });

  auto* texts = new QVBoxLayout;
  texts->addWidget(lblCompanyProduct_);
  texts->addStretch(1);
  texts->addWidget(lblProductName_);
  texts->addWidget(lblPlatform_);
  texts->addStretch(1);

  auto* top = new QHBoxLayout;
  top->addWidget(logo);
  top->addSpacing(16);
  top->addLayout(texts, 1);

  auto* bottom = new QGridLayout;
  bottom->addWidget(lblVersion_, 0, 0, Qt::AlignLeft);
  bottom->addWidget(Text1_, 0, 1, Qt::AlignCenter);
  bottom->addWidget(lblDate_, 0, 2, Qt::AlignRight);
  bottom->setColumnStretch(0, 1);
  bottom->setColumnStretch(2, 1);

  auto* inside = new QVBoxLayout(frame);
  inside->addLayout(top);
  inside->addSpacing(8);
  inside->addLayout(bottom);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(frame);

  // Every part of the window continues on a click; the window and its field on a key.
  for (QWidget* part :
       std::initializer_list<QWidget*>{frame, logo, lblCompanyProduct_, lblProductName_,
                                       lblPlatform_, lblVersion_, lblDate_, Text1_}) {
    part->installEventFilter(this);
  }
  installEventFilter(this);

  hub_.Add(this);
  Refresh();
}

SplashMainView::~SplashMainView() { hub_.Remove(this); }

QLabel* SplashMainView::MakeLabel(const char* designName, int pointSize) {
  auto* label = new QLabel;
  label->setObjectName(QString::fromLatin1(designName));
  label->setFont(Arial(pointSize, true));
  return label;
}

void SplashMainView::Continue() {
  if (!splash_.Visible) return;
  hub_.Run([this] { splash_.Continue(); });
}

bool SplashMainView::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      Continue();
      return true;
    case QEvent::KeyPress:
      // A character typed into the field continues through the field's change; every other
      // key continues here.
      if (const QString typed = static_cast<QKeyEvent*>(event)->text();
          watched != Text1_ || typed.isEmpty() || !typed.at(0).isPrint()) {
        Continue();
        return true;
      }
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void SplashMainView::Refresh() {
  for (auto [label, text] :
       {std::pair{lblProductName_, &splash_.lblProductName},
        std::pair{lblVersion_, &splash_.lblVersion}, std::pair{lblDate_, &splash_.lblDate},
        std::pair{lblPlatform_, &splash_.lblPlatform},
        std::pair{lblCompanyProduct_, &splash_.lblCompanyProduct}}) {
    ShowText(label, *text);
    label->setAccessibleName(FromBytes(*text));
  }
  ShowText(Text1_, splash_.Text1);
  // Read by screen readers under the product's name ("Tavrin2"), not its placeholder.
  setWindowTitle(FromBytes(splash_.lblProductName));
  setAccessibleName(FromBytes(splash_.lblProductName));
  if (splash_.Visible && !isVisible()) {
    CenterOnScreen(this);
    show();
    raise();
    activateWindow();
  } else if (!splash_.Visible && isVisible()) {
    hide();
  }
}

}  // namespace tavrin
