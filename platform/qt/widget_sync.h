// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing window state into widgets from a view's Refresh. Each helper touches the widget only
// when its content differs, so that redrawing after every event keeps the cursor and the
// selection of the field the user is typing in.
#include <string>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QWidget;

namespace tavrin {

// A field's text is drawn with its signals blocked, so that no change event goes back to the
// window that the text came from.
void ShowText(QLineEdit* field, const std::string& bytes);
void ShowText(QLabel* label, const std::string& bytes);
void ShowCaption(QAbstractButton* button, const std::string& bytes);
void ShowChecked(QAbstractButton* button, bool checked);
// Shows a window's widget while the window is visible and hides it otherwise; each time the
// window's raise count moves on while it is visible, brings the widget to the front. `raised`
// is the view's note of the count it last followed.
void ShowVisibility(QWidget* widget, bool visible, int raiseCount, int& raised);
// Sets a widget's design name and its accessible name (its caption or its label's caption).
void NameWidget(QWidget* widget, const char* designName, const std::string& accessibleName);

}  // namespace tavrin
