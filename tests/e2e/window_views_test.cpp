// SPDX-License-Identifier: GPL-3.0-or-later
// The control programs' windows on screen (Qt offscreen), as a screen reader or voice control
// meets them: text put into a field by any means reaches the window, the window's own redraw
// of a field is silent, option buttons keep their role, every field has a name of its own,
// and the keyboard focus starts on a usable control and follows every request.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <string>
#include <vector>

#include "app/setup_main_view.h"
#include "app/splash_main_view.h"
#include "memory/memory_main_view.h"
#include "platform/qt/view_hub.h"
#include "radio/compact_panel_view.h"
#include "radio/radio_main_view.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::ProgramFixture;

QApplication& ViewsApplication() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  static int argc = 1;
  static char name[] = "window_views_test";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: see the other view tests.
  return *new QApplication(argc, argv);
}

// Every way a field's text changes: keys, a paste-like insert, text set directly, and an
// assistive technology's "set text contents" through the accessible editable-text interface.
enum class Entry { Keys, Insert, SetText, Accessibility };
const std::vector<Entry> kEntries = {Entry::Keys, Entry::Insert, Entry::SetText,
                                     Entry::Accessibility};

// Replaces a field's whole text as an assistive technology does.
void SetThroughAccessibility(QLineEdit* field, const QString& text) {
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(field);
  ASSERT_NE(access, nullptr);
  ASSERT_NE(access->editableTextInterface(), nullptr);
  access->editableTextInterface()->replaceText(0, access->textInterface()->characterCount(), text);
}

void Enter(QLineEdit* field, const QString& text, Entry entry) {
  ASSERT_NE(field, nullptr);
  if (entry != Entry::Accessibility) field->clear();
  switch (entry) {
    case Entry::Keys:
      QTest::keyClicks(field, text);
      break;
    case Entry::Insert:
      field->insert(text);
      break;
    case Entry::SetText:
      field->setText(text);
      break;
    case Entry::Accessibility:
      SetThroughAccessibility(field, text);
      break;
  }
  ASSERT_EQ(field->text(), text);
}

std::string NameOf(const QWidget* widget) {
  return widget == nullptr ? std::string("(none)") : widget->objectName().toStdString();
}

class WindowViewsTest : public ProgramFixture {
 protected:
  static void SetUpTestSuite() { ViewsApplication(); }

  template <class W>
  static W* Find(QWidget& view, const char* name) {
    W* widget = view.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  static void ExpectOptionButtons(QWidget& view) {
    const auto options = view.findChildren<QRadioButton*>();
    EXPECT_FALSE(options.isEmpty());
    for (QRadioButton* option : options) {
      EXPECT_EQ(QAccessible::queryAccessibleInterface(option)->role(), QAccessible::RadioButton)
          << NameOf(option);
    }
  }

  ViewHub hub;
};

TEST_F(WindowViewsTest, SetupFieldsHearEveryChangeButNotTheirOwnRedraw) {
  for (const Entry entry : kEntries) {
    SCOPED_TRACE(static_cast<int>(entry));
    program.reset();
    ControlProgram& p = Program();
    p.station.CallSign = "N0CALL";
    SetupMainView view(p.setup, hub);
    hub.Run([&] { p.setup.Show(); });
    Enter(Find<QLineEdit>(view, "Text1"), QStringLiteral("k1abc{"), entry);
    EXPECT_EQ(p.station.CallSign, "K1ABC[");
    Enter(Find<QLineEdit>(view, "Text2"), QStringLiteral("mylist"), entry);
    EXPECT_EQ(p.station.DeftFile, "mylist.txt");
  }
  // The window's own text drawn into the field goes nowhere.
  ControlProgram& p = Program();
  SetupMainView view(p.setup, hub);
  p.station.CallSign = "N0CALL";
  p.setup.Text1 = "W1AW";
  hub.RefreshAll();
  EXPECT_EQ(Find<QLineEdit>(view, "Text1")->text(), QStringLiteral("W1AW"));
  EXPECT_EQ(p.station.CallSign, "N0CALL");
  ExpectOptionButtons(view);
}

TEST_F(WindowViewsTest, SplashIsNamedByItsProductAndContinuesOnAnyChange) {
  WriteConfig();
  ControlProgram& p = Program();
  SplashMainView view(p.splash, hub);
  hub.Run([&] { p.Begin(); });
  ASSERT_TRUE(p.splash.Visible);
  EXPECT_EQ(view.accessibleName(), QStringLiteral("Tavrin2"));
  SetThroughAccessibility(Find<QLineEdit>(view, "Text1"), QStringLiteral("x"));
  EXPECT_FALSE(p.splash.Visible);
  EXPECT_TRUE(p.radio.Visible);
}

// Text5 under the mode field is the filter, for a screen reader too; the keyboard starts on
// a control the operator can use, not in the read-only "Channel" field.
TEST_F(WindowViewsTest, FieldsHaveNamesOfTheirOwnAndFocusStartsOnAControl) {
  ControlProgram& tavrin = Program();
  RadioMainView radio(tavrin.radio, hub);
  MemoryMainView memory(tavrin.memory, hub);
  EXPECT_EQ(Find<QLineEdit>(radio, "Text4")->accessibleName(), QStringLiteral("Mode/Filter"));
  EXPECT_EQ(Find<QLineEdit>(radio, "Text5")->accessibleName(), QStringLiteral("Filter"));
  EXPECT_EQ(Find<QLineEdit>(memory, "Text5")->accessibleName(), QStringLiteral("Filter"));
  EXPECT_EQ(NameOf(radio.focusWidget()), "Command3");
  EXPECT_EQ(NameOf(memory.focusWidget()), "Command9");
  ExpectOptionButtons(radio);
}

TEST_F(WindowViewsTest, KorvidFieldsHaveNamesOfTheirOwnAndFocusStartsOnVfo) {
  ControlProgram& k = Program(Build::Korvid);
  CompactPanelView panel(k.panel, hub);
  EXPECT_EQ(Find<QLineEdit>(panel, "Text5")->accessibleName(), QStringLiteral("Filter"));
  EXPECT_EQ(NameOf(panel.focusWidget()), "Option17");
  ExpectOptionButtons(panel);
}

// "Scan Rig" and "=" put the focus on "Skip" each time they are used, also when the last
// request named "Skip" too and the operator has moved the focus since.
TEST_F(WindowViewsTest, EveryFocusRequestMovesTheFocus) {
  ControlProgram& p = Program();
  MemoryMainView view(p.memory, hub);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Find<QAbstractButton>(view, "Command9")->setFocus();
    ASSERT_EQ(NameOf(view.focusWidget()), "Command9");
    p.memory.FocusedControl = "Command11";
    hub.RefreshAll();
    EXPECT_EQ(NameOf(view.focusWidget()), "Command11");
  }
  // A redraw without a new request leaves the focus where the operator put it.
  Find<QAbstractButton>(view, "Command9")->setFocus();
  hub.RefreshAll();
  EXPECT_EQ(NameOf(view.focusWidget()), "Command9");
}

}  // namespace
}  // namespace tavrin
