// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/widget_sync.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/qt/text_bytes.h"

namespace tavrin {

void ShowText(QLineEdit* field, const std::string& bytes) {
  const QString text = FromBytes(bytes);
  if (field->text() == text) return;
  // Drawing the window's state is no change made by the operator: nothing may hear of it.
  const QSignalBlocker quiet(field);
  field->setText(text);
}

void ShowText(QLabel* label, const std::string& bytes) {
  const QString text = FromBytes(bytes);
  if (label->text() != text) label->setText(text);
}

void ShowCaption(QAbstractButton* button, const std::string& bytes) {
  const QString text = FromBytes(bytes);
  if (button->text() != text) button->setText(text);
}

void ShowChecked(QAbstractButton* button, bool checked) {
  if (button->isChecked() == checked) return;
  // A drawn mark is no choice of the operator's: nothing may hear of it.
  const QSignalBlocker quiet(button);
  button->setChecked(checked);
}

void ShowVisibility(QWidget* widget, bool visible, int raiseCount, int& raised) {
  if (visible) {
    if (!widget->isVisible()) widget->show();
    if (raised != raiseCount) {
      raised = raiseCount;
      widget->raise();
      widget->activateWindow();
    }
  } else if (widget->isVisible()) {
    widget->hide();
  }
}

void NameWidget(QWidget* widget, const char* designName, const std::string& accessibleName) {
  widget->setObjectName(QString::fromLatin1(designName));
  widget->setAccessibleName(FromBytes(accessibleName));
}

}  // namespace tavrin
