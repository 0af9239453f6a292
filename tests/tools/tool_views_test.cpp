// SPDX-License-Identifier: GPL-3.0-or-later
// The dipole and bearing calculators on screen (Qt offscreen): text put into their fields by
// any means, a screen reader's or voice control's included, is what "Calculate" works with,
// and their one-of-N options are option buttons for assistive technology.
#ifdef STATION_QT_TESTS

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <string>
#include <vector>

#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "platform/qt/view_hub.h"
#include "tools/bearing/bearings.h"
#include "tools/bearing/bearings_view.h"
#include "tools/dipole/dipole.h"
#include "tools/dipole/dipole_view.h"

namespace tavrin {
namespace {

QApplication& ViewsApp() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  static int argc = 1;
  static char name[] = "tools_tests";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  return *new QApplication(argc, argv);
}

QLineEdit* Field(QWidget& view, const char* name) {
  auto* field = view.findChild<QLineEdit*>(QString::fromLatin1(name));
  EXPECT_NE(field, nullptr) << name;
  return field;
}

// Replaces a field's text as an assistive technology does, through the field's accessible
// editable-text interface ("set text contents").
void SetThroughAccessibility(QLineEdit* field, const QString& text) {
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(field);
  ASSERT_NE(access, nullptr);
  ASSERT_NE(access->editableTextInterface(), nullptr);
  access->editableTextInterface()->replaceText(0, access->textInterface()->characterCount(), text);
  ASSERT_EQ(field->text(), text);
}

// Every way a field's text changes: keys, a paste-like insert, text set by the program's
// caller, an assistive technology.
enum class Entry { Keys, Insert, SetText, Accessibility };

void Enter(QLineEdit* field, const QString& text, Entry entry) {
  field->clear();
  switch (entry) {
    case Entry::Keys:
      QTest::keyClicks(field, text);
      return;
    case Entry::Insert:
      field->insert(text);
      return;
    case Entry::SetText:
      field->setText(text);
      return;
    case Entry::Accessibility:
      SetThroughAccessibility(field, text);
      return;
  }
}

void ExpectOptionButtons(QWidget& view, std::size_t count) {
  const auto options = view.findChildren<QRadioButton*>();
  EXPECT_EQ(options.size(), static_cast<qsizetype>(count));
  for (QRadioButton* option : options) {
    EXPECT_EQ(QAccessible::queryAccessibleInterface(option)->role(), QAccessible::RadioButton)
        << option->objectName().toStdString();
  }
}

class ToolViewsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ViewsApp(); }
  FakeDesktop desktop;
  ViewHub hub;
};

TEST_F(ToolViewsTest, DipoleCalculatesWithTheTextItsFieldsShow) {
  for (const Entry entry : {Entry::Keys, Entry::Insert, Entry::SetText, Entry::Accessibility}) {
    SCOPED_TRACE(static_cast<int>(entry));
    Dipole dipole(desktop);
    dipole.Load();
    DipoleView view(dipole, hub);
    Enter(Field(view, "Text1"), "14.2", entry);
    Enter(Field(view, "Text6"), "0.25", entry);
    Enter(Field(view, "Text7"), "0.8", entry);
    EXPECT_EQ(dipole.Text1, "14.2");
    EXPECT_EQ(dipole.Text6, "0.25");
    EXPECT_EQ(dipole.Text7, "0.8");
    view.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_FALSE(dipole.Text2.empty());
    EXPECT_EQ(Field(view, "Text2")->text().toStdString(), dipole.Text2);
    EXPECT_EQ(Field(view, "Text1")->text(), QStringLiteral("14.2"));
  }
}

TEST_F(ToolViewsTest, BearingCalculatesWithTheTextItsFieldsShow) {
  Files files;
  for (const Entry entry : {Entry::Keys, Entry::Insert, Entry::SetText, Entry::Accessibility}) {
    SCOPED_TRACE(static_cast<int>(entry));
    Bearings bearings(desktop, files);
    bearings.Load();
    BearingsView view(bearings, hub);
    for (const auto& [name, text] : std::vector<std::pair<const char*, QString>>{
             {"Text1", "41.5"}, {"Text2", "71.3"}, {"Text3", "51.5"}, {"Text4", "0.1"}})
      Enter(Field(view, name), text, entry);
    EXPECT_EQ(bearings.Text3, "51.5");
    view.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_FALSE(bearings.Text5.empty());
    EXPECT_EQ(Field(view, "Text5")->text().toStdString(), bearings.Text5);
  }
}

// The window's own redraw of a field is silent, and the one-of-N choices are option buttons
// whose marks the window keeps.
TEST_F(ToolViewsTest, RedrawIsSilentAndOptionsAreOptionButtons) {
  Dipole dipole(desktop);
  dipole.Load();
  DipoleView view(dipole, hub);
  ExpectOptionButtons(view, 22);
  QLineEdit* frequency = Field(view, "Text1");
  int changes = 0;
  QObject::connect(frequency, &QLineEdit::textChanged, [&changes] { ++changes; });
  dipole.Text1 = "7.1";
  hub.RefreshAll();
  EXPECT_EQ(frequency->text(), QStringLiteral("7.1"));
  EXPECT_EQ(changes, 0);
  auto* second = view.findChild<QRadioButton*>(QStringLiteral("Option2"));
  second->click();
  EXPECT_TRUE(dipole.OptionMarked[2]);
  EXPECT_FALSE(dipole.OptionMarked[1]);
  EXPECT_FALSE(view.findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
  second->click();  // a click on the marked option keeps it marked
  EXPECT_TRUE(second->isChecked());

  Files files;
  Bearings bearings(desktop, files);
  bearings.Load();
  BearingsView bearingsView(bearings, hub);
  ExpectOptionButtons(bearingsView, 8);
}

}  // namespace
}  // namespace tavrin

#endif  // STATION_QT_TESTS
