// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Building the windows' views: the fonts, labels, read-only fields, framed groups and menu bars
// they have in common, and the few ways a view hands a user's doing to its window through the
// hub. Every widget gets its design name as objectName and an accessible name (NameWidget).
#include <QFont>
#include <functional>
#include <initializer_list>
#include <string>

class QAbstractButton;
class QButtonGroup;
class QCloseEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QMainWindow;
class QVBoxLayout;
class QWidget;

namespace tavrin {

class ViewHub;

// A font of `family` at `pointSize` points, bold or not; a sans-serif face where the family is
// missing.
QFont SansFont(const char* family, double pointSize, bool bold);
// The views' usual face.
QFont Arial(double pointSize, bool bold);

// A label showing `caption`, read under the same name by a screen reader.
QLabel* MakeLabel(const char* designName, const char* caption, const QFont& font);

// A field that shows what the window reports; the operator does not type into it. The
// accessible name is its label's caption, so a screen reader reads "Frequency 14.195.0".
QLineEdit* MakeField(const char* designName, const std::string& accessibleName);
QLineEdit* MakeField(const char* designName, const std::string& accessibleName, const QFont& font);

// A boxed frame named by its title, with the title centred at the top in bold 9-point Arial.
// What goes below the title is added to `contents`.
QFrame* MakeTitledFrame(const char* frameName, const char* labelName, const char* title,
                        QVBoxLayout*& contents);

// One item of a window's menus: chosen, it runs `run` through the hub.
struct MenuItem {
  const char* designName;
  const char* caption;
  std::function<void()> run;
};

// Fills a window's menu bar ("Menu"): a "File" menu with `fileItems`, then `barItems` on the bar
// itself, in that order.
void MakeMenuBar(QMainWindow& window, ViewHub& hub, std::initializer_list<MenuItem> fileItems,
                 std::initializer_list<MenuItem> barItems);

// An option or button chosen by the operator runs `run` through the hub: a checkable one
// whenever it toggles (a mouse click, the space bar, or a screen reader's toggle action, which
// does not click), any other when it is clicked. Drawing a mark does not count: ShowChecked
// sets marks with the button's signals blocked.
void RunOnActivation(QAbstractButton* button, ViewHub& hub, std::function<void()> run);

// Every change of an input field's text runs `changed` with the new text (as bytes) through
// the hub: typing, paste, undo, drag and drop, and text put in by a screen reader or voice
// control through the accessibility interface. The view's own redraw (ShowText) is silent.
void RunOnTextChange(QLineEdit* field, ViewHub& hub,
                     std::function<void(const std::string&)> changed);

// A group for one set of option buttons whose marks the window class keeps exclusive: the
// group itself excludes nothing, and the buttons keep the option-button role for screen
// readers (a button that drops its own exclusivity is announced as a check box instead).
QButtonGroup* MakeOptionGroup(QObject* parent);

// A click on `field` (the mouse button released over it) runs `click` through the hub.
void RunOnClick(QWidget* field, ViewHub& hub, std::function<void()> click);

// The frame's close control: a window that is showing hears of it through `close`, run by the
// hub; the widget closes in any case and is drawn again from the window's state.
void ForwardClose(QCloseEvent* event, ViewHub& hub, bool showing,
                  const std::function<void()>& close);

// Sizes a top-level widget to its contents and puts it in the middle of its screen.
void CenterOnScreen(QWidget* widget);

}  // namespace tavrin
