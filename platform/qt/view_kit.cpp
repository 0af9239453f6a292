// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/view_kit.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

#include "platform/qt/text_bytes.h"
#include "platform/qt/view_hub.h"
#include "platform/qt/widget_sync.h"

namespace tavrin {

namespace {

// Watches one field and runs the click through the hub; it lives as long as the field.
class ClickFilter : public QObject {
 public:
  ClickFilter(QObject* field, ViewHub& hub, std::function<void()> click)
      : QObject(field), hub_(hub), click_(std::move(click)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) hub_.Run(click_);
    return QObject::eventFilter(watched, event);
  }

 private:
  ViewHub& hub_;
  std::function<void()> click_;
};

QAction* MakeAction(QMainWindow& window, ViewHub& hub, const MenuItem& item) {
  auto* action = new QAction(QString::fromLatin1(item.caption), &window);
  action->setObjectName(QString::fromLatin1(item.designName));
  QObject::connect(action, &QAction::triggered, &window, [&hub, run = item.run] { hub.Run(run); });
  return action;
}

}  // namespace

QFont SansFont(const char* family, double pointSize, bool bold) {
  QFont font(QString::fromLatin1(family));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

QFont Arial(double pointSize, bool bold) { return SansFont("Arial", pointSize, bold); }

QLabel* MakeLabel(const char* designName, const char* caption, const QFont& font) {
  auto* label = new QLabel(QString::fromLatin1(caption));
  NameWidget(label, designName, caption);
  label->setFont(font);
  return label;
}

QLineEdit* MakeField(const char* designName, const std::string& accessibleName) {
  auto* field = new QLineEdit;
  NameWidget(field, designName, accessibleName);
  field->setReadOnly(true);
  return field;
}

QLineEdit* MakeField(const char* designName, const std::string& accessibleName, const QFont& font) {
  QLineEdit* field = MakeField(designName, accessibleName);
  field->setFont(font);
  return field;
}

QFrame* MakeTitledFrame(const char* frameName, const char* labelName, const char* title,
                        QVBoxLayout*& contents) {
  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::Box);
  NameWidget(frame, frameName, title);
  contents = new QVBoxLayout(frame);
  QLabel* label = MakeLabel(labelName, title, Arial(9, true));
  label->setAlignment(Qt::AlignCenter);
  contents->addWidget(label);
  return frame;
}

void MakeMenuBar(QMainWindow& window, ViewHub& hub, std::initializer_list<MenuItem> fileItems,
                 std::initializer_list<MenuItem> barItems) {
  QMenuBar* bar = window.menuBar();
  bar->setAccessibleName(QStringLiteral("Menu"));
  QMenu* file = bar->addMenu(QStringLiteral("File"));
  file->setObjectName(QStringLiteral("File"));
  file->setAccessibleName(QStringLiteral("File"));
  for (const MenuItem& item : fileItems) file->addAction(MakeAction(window, hub, item));
  for (const MenuItem& item : barItems) bar->addAction(MakeAction(window, hub, item));
}

void RunOnActivation(QAbstractButton* button, ViewHub& hub, std::function<void()> run) {
  const auto activate = [&hub, run = std::move(run)] { hub.Run(run); };
  if (button->isCheckable()) {
    QObject::connect(button, &QAbstractButton::toggled, button, activate);
  } else {
    QObject::connect(button, &QAbstractButton::clicked, button, activate);
  }
}

void RunOnTextChange(QLineEdit* field, ViewHub& hub,
                     std::function<void(const std::string&)> changed) {
  QObject::connect(field, &QLineEdit::textChanged, field,
                   [&hub, changed = std::move(changed)](const QString& text) {
                     hub.Run([changed, bytes = ToBytes(text)] { changed(bytes); });
                   });
}

QButtonGroup* MakeOptionGroup(QObject* parent) {
  auto* group = new QButtonGroup(parent);
  group->setExclusive(false);
  return group;
}

void RunOnClick(QWidget* field, ViewHub& hub, std::function<void()> click) {
  field->installEventFilter(new ClickFilter(field, hub, std::move(click)));
}

void ForwardClose(QCloseEvent* event, ViewHub& hub, bool showing,
                  const std::function<void()>& close) {
  if (showing) hub.Run(close);
  event->accept();
}

void CenterOnScreen(QWidget* widget) {
  widget->adjustSize();
  if (const QScreen* screen = widget->screen()) {
    widget->move(screen->availableGeometry().center() - widget->rect().center());
  }
}

}  // namespace tavrin
