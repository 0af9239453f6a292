// SPDX-License-Identifier: GPL-3.0-or-later
// The setup and splash windows on screen (Qt offscreen): every control under its design name
// and accessible name, and every click and keystroke reaching the window it belongs to.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/setup_main_view.h"
#include "app/splash_main_view.h"
#include "platform/qt/view_hub.h"
#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::ProgramFixture;

QApplication& Application() {
  static int argc = 1;
  static char name[] = "app_views_test";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Made once and never destroyed: a QApplication torn down among the static destructors at
  // exit collides with Qt's own clean-up of its input devices.
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

class AppViewsTest : public ProgramFixture {
 protected:
  static void SetUpTestSuite() { Application(); }

  template <class W>
  W* Find(QWidget& view, const char* name) {
    W* widget = view.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  // A click on an option's circle (a click beside its caption misses it).
  static void ClickOption(QRadioButton* option) {
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
  }

  ViewHub hub;
};

TEST_F(AppViewsTest, SetupControlsCarryTheirDesignAndAccessibleNames) {
  ControlProgram& p = Program();
  SetupMainView view(p.setup, hub);
  EXPECT_EQ(view.windowTitle(), "System Setup");
  const std::vector<std::pair<const char*, const char*>> controls = {
      {"Label1", "System Setup Options"},
      {"Label2", "Comm Port"},
      {"Label3", "Baud Rate"},
      {"Label4", "Call Sign"},
      {"Label5", "Default Data File"},
      {"Option1", "Com 1"},
      {"Option2", "Com 2"},
      {"Option3", "Com 3"},
      {"Option4", "19200,N,8,1"},
      {"Option5", "9600,N,8,1"},
      {"Option6", "4800,N,8,1"},
      {"Text1", "Call Sign"},
      {"Text2", "Default Data File"},
      {"Command0", "Save"},
      {"Command1", "Quit"},
      {"Frame2", "Comm Port"},
      {"Frame3", "Baud Rate"},
      // The device behind each port, named by the port's option beside it.
      {"Text4", "Com 1"},
      {"Text5", "Com 2"},
      {"Text6", "Com 3"},
      {"Frame4", "Serial Devices"},
      {"Label9", "Serial Devices"},
      {"List1", "Serial Devices"},
      {"Label10", "Device Path"},
      {"Text3", "Device Path"},
      {"Command2", "Use Path"},
      {"Command3", "Find Transceiver"}};
  for (const auto& [name, caption] : controls) {
    SCOPED_TRACE(name);
    QWidget* widget = Find<QWidget>(view, name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->accessibleName(), caption);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      EXPECT_EQ(button->text(), caption);
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(label->text(), caption);
    }
  }
  Find<QFrame>(view, "Frame1");
  const std::vector<std::pair<const char*, const char*>> menus = {{"FileQuit", "Quit"},
                                                                  {"FileSave", "Save"},
                                                                  {"Quit", "Quit"},
                                                                  {"Save", "Save"},
                                                                  {"Help", "Help"}};
  for (const auto& [name, caption] : menus) {
    SCOPED_TRACE(name);
    auto* action = view.findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), caption);
  }
}

TEST_F(AppViewsTest, SetupClicksAndTypingReachTheWindow) {
  ControlProgram& p = Program();
  p.station.CommPort = "COM1";
  p.station.CommBaud = "19200,N,8,1";
  p.station.CallSign = "W1AW";
  SetupMainView view(p.setup, hub);
  hub.Run([&] { p.setup.Show(); });
  ASSERT_TRUE(view.isVisible());
  auto* option1 = Find<QRadioButton>(view, "Option1");
  auto* option2 = Find<QRadioButton>(view, "Option2");
  EXPECT_TRUE(option1->isChecked());

  ClickOption(option2);
  EXPECT_EQ(p.station.CommPort, "COM2");
  EXPECT_TRUE(option2->isChecked());
  EXPECT_FALSE(option1->isChecked());
  // A second click on the marked option leaves it marked.
  ClickOption(option2);
  EXPECT_TRUE(option2->isChecked());
  ClickOption(Find<QRadioButton>(view, "Option6"));
  EXPECT_EQ(p.station.CommBaud, "4800,N,8,1");
  EXPECT_FALSE(Find<QRadioButton>(view, "Option4")->isChecked());
  // A screen reader's toggle action does not click; it must choose all the same.
  Find<QRadioButton>(view, "Option5")->toggle();
  EXPECT_EQ(p.station.CommBaud, "9600,N,8,1");
  EXPECT_FALSE(Find<QRadioButton>(view, "Option6")->isChecked());

  auto* text1 = Find<QLineEdit>(view, "Text1");
  EXPECT_EQ(text1->text(), "W1AW");
  text1->selectAll();
  QTest::keyClicks(text1, "k1{b");
  EXPECT_EQ(text1->text(), "k1{b");
  EXPECT_EQ(p.station.CallSign, "K1[B");

  auto* text2 = Find<QLineEdit>(view, "Text2");
  text2->selectAll();
  QTest::keyClicks(text2, "mylist");
  EXPECT_EQ(text2->text(), "mylist");
  EXPECT_EQ(p.station.DeftFile, "mylist.txt");

  view.findChild<QAction*>("Help")->trigger();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, "Help Yourself");
}

TEST_F(AppViewsTest, SetupDeviceListPathAndFindReachTheWindow) {
  const std::filesystem::path dev = directory / "machine" / "dev";
  std::filesystem::create_directories(dev);
  for (const char* name : {"ttyUSB0", "ttyUSB1"}) std::ofstream(dev / name) << "";
  ControlProgram& p = Program();
  p.station.CommPort = "COM2";
  p.station.CommBaud = "19200,N,8,1";
  SetupMainView view(p.setup, hub);
  hub.Run([&] { p.setup.Show(); });
  EXPECT_EQ(Find<QLineEdit>(view, "Text4")->text(), "the simulated transceiver");
  auto* list = Find<QListWidget>(view, "List1");
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(1)->text().toStdString(), (dev / "ttyUSB1").string());
  EXPECT_EQ(list->currentRow(), -1);
  // A click on a row points the marked port (COM2) at that device.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(std::filesystem::read_symlink(directory / "com2"), dev / "ttyUSB1");
  EXPECT_EQ(Find<QLineEdit>(view, "Text3")->text().toStdString(), (dev / "ttyUSB1").string());
  EXPECT_EQ(list->currentRow(), 1);

  auto* path = Find<QLineEdit>(view, "Text3");
  path->selectAll();
  QTest::keyClicks(path, (dev / "ttyUSB0").string().c_str());
  QTest::mouseClick(Find<QPushButton>(view, "Command2"), Qt::LeftButton);
  EXPECT_EQ(std::filesystem::read_symlink(directory / "com2"), dev / "ttyUSB0");
  EXPECT_EQ(list->currentRow(), 0) << "the list marks the device now chosen";

  QTest::mouseClick(Find<QPushButton>(view, "Command3"), Qt::LeftButton);
  EXPECT_TRUE(p.setup.Finding());
  EXPECT_EQ(Find<QLabel>(view, "Label11")->text().toStdString(),
            "Asking " + (dev / "ttyUSB0").string() + " at 19200 baud ...");
  Advance(400);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Find Transceiver");
}

TEST_F(AppViewsTest, SetupFrameCloseSkipsTheRestartButQuitDoesNot) {
  ControlProgram& p = Program();
  p.station.ConfigMissing = true;
  SetupMainView view(p.setup, hub);
  hub.Run([&] { p.setup.Show(); });
  ASSERT_TRUE(view.isVisible());
  view.close();
  EXPECT_FALSE(p.setup.Visible);
  EXPECT_FALSE(view.isVisible());
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(desktop.ended);

  hub.Run([&] { p.setup.Show(); });
  ASSERT_TRUE(view.isVisible());
  QTest::mouseClick(Find<QPushButton>(view, "Command1"), Qt::LeftButton);
  EXPECT_FALSE(view.isVisible());
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, "Restart program!");
  EXPECT_TRUE(desktop.ended);
}

TEST_F(AppViewsTest, SplashShowsItsTextsAndLogo) {
  WriteConfig();
  ControlProgram& p = Program();
  SplashMainView view(p.splash, hub);
  hub.Run([&] { p.Begin(); });
  ASSERT_TRUE(view.isVisible());
  const std::vector<std::pair<const char*, std::string>> labels = {
      {"lblProductName", "Tavrin2"},
      {"lblVersion", "Version 1.05"},
      {"lblDate", "Oct 30 2005"},
      {"lblCompanyProduct", SplashMain::kMakerLine},
      {"lblPlatform", SplashMain::kSecondMakerLine}};
  int productSize = 0;
  for (const auto& [name, text] : labels) {
    SCOPED_TRACE(name);
    auto* label = Find<QLabel>(view, name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), text);
    EXPECT_EQ(label->accessibleName().toStdString(), text);
    EXPECT_TRUE(label->font().bold());
    if (std::string(name) == "lblProductName") productSize = label->font().pointSize();
  }
  for (const auto& [name, text] : labels) {
    if (std::string(name) != "lblProductName") {
      EXPECT_LT(Find<QLabel>(view, name)->font().pointSize(), productSize) << name;
    }
  }
  const QPixmap logo = Find<QLabel>(view, "imgLogo")->pixmap();
  EXPECT_EQ(logo.width(), 320);
  EXPECT_EQ(logo.height(), 256);
  EXPECT_EQ(Find<QLineEdit>(view, "Text1")->text(), "Click to Continue");
  EXPECT_EQ(Find<QLineEdit>(view, "Text1")->accessibleName(), "Click to Continue");
}

TEST_F(AppViewsTest, SplashContinuesOnAClickOnAnyPartOrAKey) {
  struct Case {
    const char* name;
    std::function<void(QWidget&)> act;
  };
  const auto click = [](const char* part) {
    return [part](QWidget& view) {
      QTest::mouseClick(view.findChild<QWidget*>(QString::fromLatin1(part)), Qt::LeftButton);
    };
  };
  const std::vector<Case> cases = {
      {"Frame1", click("Frame1")},
      {"imgLogo", click("imgLogo")},
      {"lblProductName", click("lblProductName")},
      {"lblVersion", click("lblVersion")},
      {"lblDate", click("lblDate")},
      {"lblPlatform", click("lblPlatform")},
      {"lblCompanyProduct", click("lblCompanyProduct")},
      {"Text1", click("Text1")},
      {"typing into Text1",
       [](QWidget& view) { QTest::keyClicks(view.findChild<QLineEdit*>("Text1"), "x"); }},
      {"a key on the field",
       [](QWidget& view) { QTest::keyClick(view.findChild<QLineEdit*>("Text1"), Qt::Key_Right); }},
      {"a key on the window", [](QWidget& view) { QTest::keyClick(&view, Qt::Key_Space); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    program.reset();
    serial.Close();
    WriteConfig();
    ControlProgram& p = Program();
    SplashMainView view(p.splash, hub);
    hub.Run([&] { p.Begin(); });
    ASSERT_TRUE(view.isVisible());
    c.act(view);
    EXPECT_TRUE(p.radio.Visible);
    EXPECT_EQ(p.station.PortOpened, 1);
    EXPECT_FALSE(p.splash.Visible);
    EXPECT_FALSE(view.isVisible());
  }
}

}  // namespace
}  // namespace tavrin
