// SPDX-License-Identifier: GPL-3.0-or-later
// The "Share" menu on the radio windows of tavrin and korvid (Qt offscreen): where it stands,
// its check item under its caption, off at start, and the title left as it was.
#ifdef STATION_QT_TESTS
#include "share/qt/share_menu_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/setup_main_view.h"
#include "radio/compact_panel_view.h"
#include "radio/radio_main_view.h"
#include "share/qt_application.h"
#include "support/program_fixture.h"

namespace tavrin::share {
namespace {

class ShareMenuViewTest : public tavrin::testing::ProgramFixture {
 protected:
  static void SetUpTestSuite() { testing::Application(); }

  // The radio window of a build as its main makes it.
  std::unique_ptr<QWidget> RadioWindow(Build build) {
    const ViewMaker maker = build == Build::Korvid
                                ? ViewOf<CompactPanelView>(&ControlProgram::panel)
                                : ViewOf<RadioMainView>(&ControlProgram::radio);
    return WithNetworkControl({maker}).front()(Program(build), hub);
  }

  ViewHub hub;
};

TEST_F(ShareMenuViewTest, BothRadioWindowsCarryTheShareMenuWithItsItemOff) {
  for (const Build build : {Build::Tavrin, Build::Korvid}) {
    SCOPED_TRACE(build == Build::Tavrin ? "tavrin" : "korvid");
    program.reset();
    std::unique_ptr<QWidget> window = RadioWindow(build);
    auto* bar = window->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> captions;
    for (QAction* action : bar->actions()) captions.push_back(action->text().toStdString());
    if (build == Build::Tavrin) {
      EXPECT_EQ(captions, (std::vector<std::string>{"File", "Memory-Window", "Setup", "Exit",
                                                    "Share", "Help"}));
    } else {
      EXPECT_EQ(captions, std::vector<std::string>{"Share"});
    }
    auto* menu = window->findChild<QMenu*>(QStringLiteral("Share"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->accessibleName(), "Share");
    auto* item = window->findChild<QAction*>(QStringLiteral("NetworkControl"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Network Control (port 4532)");
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked()) << "off at every start";
    EXPECT_EQ(window->windowTitle(), "Radio Operation Menu");
  }
}

TEST_F(ShareMenuViewTest, OtherWindowsAreLeftAlone) {
  const ViewMaker setup = ViewOf<SetupMainView>(&ControlProgram::setup);
  std::unique_ptr<QWidget> window = WithNetworkControl({setup}).front()(Program(), hub);
  EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("NetworkControl")), nullptr);
}

}  // namespace
}  // namespace tavrin::share
#endif
