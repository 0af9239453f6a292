// SPDX-License-Identifier: GPL-3.0-or-later
// The bearing calculator: the station's position file, reading numbers, the course and
// distance for known targets, unusable fields, and properties over many positions.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/leading_number.h"
#include "platform/fake_desktop.h"
#include "platform/files.h"
#include "tools/bearing/bearings.h"
#include "tools/bearing/great_circle.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

class BearingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/bearing_test_XXXXXX";
    const char* made = mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    dir = made;
    files.SetCurrentDirectory(dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  void WriteIni(const std::string& contents, const std::string& name = "Bearing.ini") const {
    std::ofstream(fs::path(dir) / name, std::ios::binary) << contents;
  }
  // A window loaded from the given file contents.
  Bearings& Loaded(const std::string& contents) {
    WriteIni(contents);
    bearings.Load();
    return bearings;
  }
  // Course, miles and kilometres.
  std::string Results() const {
    return bearings.Text5 + " " + bearings.Text6 + " " + bearings.Text7;
  }
  static std::vector<int> Marked(const Bearings& window) {
    std::vector<int> marked;
    for (int n = 1; n <= 8; ++n) {
      if (window.OptionMarked[static_cast<std::size_t>(n)]) marked.push_back(n);
    }
    return marked;
  }

  std::string dir;
  Files files{"/"};
  FakeDesktop desktop;
  Bearings bearings{desktop, files};
};

TEST_F(BearingTest, MissingFileGivesTheMessageAndTheBuiltInPosition) {
  bearings.Load();
  ASSERT_EQ(desktop.boxes.size(), 1u);
  const RecordedBox& box = desktop.boxes[0];
  EXPECT_EQ(box.title, "Unexpected Open Config File Error");
  EXPECT_EQ(box.text,
            "Error Code 53 ... File not found ... 'Bearing.ini' (provides Lat/Long defaults) "
            "                      Example: Line1= '[LAT]=41.318' & Line2= '[LONG]=-111.941'");
  EXPECT_EQ(box.icon, BoxIcon::Critical);
  EXPECT_EQ(box.buttons, BoxButtons::Ok);
  EXPECT_TRUE(bearings.OpenError);
  EXPECT_EQ(bearings.Text1 + " " + bearings.Text2, "41.318 111.941");
  EXPECT_EQ(Marked(bearings), (std::vector<int>{1, 4, 5, 8}));  // N and W, own and target
  EXPECT_EQ(bearings.Text3 + Results(), "  ");
}

TEST_F(BearingTest, PositionFileSetsOwnPositionAndBothHemispheres) {
  struct Case {
    std::string contents;
    std::string latitude, longitude;
    std::vector<int> marked;
  };
  const std::vector<Case> cases = {
      {"[LAT]=41.318\r\n[LONG]=-111.941\r\n", "41.318", "111.941", {1, 4, 5, 8}},
      {"[LAT]=41.31812345\n[LONG]=-111.941\n", "41.318123", "111.941", {1, 4, 5, 8}},
      {"[LAT]=-33.86\n[LONG]=151.21", "33.86", "151.21", {2, 3, 6, 7}},
      {"[LONG]=10\n", "0", "10", {3, 7}},                  // no latitude: 0, no mark
      {"[LAT]=1\n[LONG]=0\n[LAT]=2\n", "2", "0", {1, 5}},  // the later line wins
      {"[lat]=5\n [LAT]=6\n[LAT] =7\n", "0", "0", {}},     // keys exact, at the start
      {"# station\n[LAT]=  51.5\n[LONG]=0. 1\n", "51.5", "0.1", {1, 3, 5, 7}},
      {"[LAT]=abc\n[LONG]=12abc\n", "0", "12", {3, 7}},
      {"[LAT]=1e999\n[LONG]=&HFFFF\n", "0", "1", {4, 8}},  // too large: 0
      {"", "0", "0", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contents);
    Bearings window(desktop, files);
    WriteIni(c.contents);
    window.Load();
    EXPECT_FALSE(window.OpenError);
    EXPECT_EQ(window.Text1, c.latitude);
    EXPECT_EQ(window.Text2, c.longitude);
    EXPECT_EQ(Marked(window), c.marked);
  }
  // The file is found whatever the case of its name.
  fs::remove(fs::path(dir) / "Bearing.ini");
  WriteIni("[LAT]=10\n[LONG]=20\n", "BEARING.INI");
  bearings.Load();
  EXPECT_EQ(bearings.Text1, "10");
  EXPECT_TRUE(desktop.boxes.empty());
}

struct Target {
  std::string latitude;
  bool south;
  std::string longitude;
  bool east;
  std::string results;  // course, miles and kilometres
};

void Aim(Bearings& window, const Target& target) {
  window.Text3 = target.latitude;
  window.ClickOption(target.south ? 2 : 1);
  window.Text4 = target.longitude;
  window.ClickOption(target.east ? 3 : 4);
}

TEST_F(BearingTest, CourseAndDistanceFromTheStation) {
  Loaded("[LAT]=41.318\n[LONG]=-111.941\n");
  const std::vector<Target> targets = {
      {"41.318", false, "111.941", false, "0 0 0"},          // the station itself
      {"30", false, "111.941", false, "180 785 1256"},       // due south
      {"50", false, "111.941", false, "360 601 963"},        // due north, just west of it
      {"51.5", false, "0.1", false, "38 4850 7761"},         // London
      {"35.68", false, "139.69", true, "308 5470 8752"},     // Tokyo
      {"-35.68", true, "-139.69", false, "308 5470 8752"},   // typed sign flips it back
      {"3 0 N", false, "111.941 W", false, "180 785 1256"},  // read by the leading number
  };
  for (const Target& t : targets) {
    Aim(bearings, t);
    bearings.Calculate();
    EXPECT_EQ(Results(), t.results) << t.latitude << " " << t.longitude;
  }
  // The station itself below about 38 degrees is one kilometre away.
  bearings.Text1 = "30";
  bearings.Text2 = "100";
  Aim(bearings, {"30", false, "100", false, ""});
  bearings.Calculate();
  EXPECT_EQ(Results(), "0 0 1");
}

TEST_F(BearingTest, UnusableFieldsEmptyTheResults) {
  Loaded("[LAT]=41.318\n[LONG]=-111.941\n");
  struct Case {
    std::string own1, own2, target1, target2;
  };
  // Blank-led fields, own fields that are not plain numbers, both on the equator.
  // clang-format off
  const std::vector<Case> cases = {
      {"", "111.941", "30", "111.941"},       {"41.318", "", "30", "111.941"},
      {"41.318", "111.941", "", "111.941"},   {"41.318", "111.941", "30", ""},
      {" 41.318", "111.941", "30", "111.941"}, {"41.318", "111.941", " 30", "111.941"},
      {"north", "111.941", "30", "111.941"},  {"41.318", "111.9W", "30", "111.941"},
      {"41.318", "111.941", "1e999", "111.941"}, {"0", "111.941", "0", "111.941"},
  };
  // clang-format on
  for (const Case& c : cases) {
    bearings.Text1 = "41.318";
    bearings.Text2 = "111.941";
    Aim(bearings, {"30", false, "111.941", false, ""});
    bearings.Calculate();
    ASSERT_EQ(bearings.Text5, "180");
    bearings.Text1 = c.own1;
    bearings.Text2 = c.own2;
    bearings.Text3 = c.target1;
    bearings.Text4 = c.target2;
    bearings.Calculate();
    EXPECT_EQ(Results(), "  ") << c.own1 << "|" << c.own2 << "|" << c.target1 << "|" << c.target2;
  }
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BearingTest, OptionsOfAPairExcludeEachOtherAndQuitEnds) {
  for (int n = 1; n <= 8; ++n) {
    bearings.ClickOption(n);
    const int partner = n % 2 == 1 ? n + 1 : n - 1;
    EXPECT_TRUE(bearings.OptionMarked[static_cast<std::size_t>(n)]);
    EXPECT_FALSE(bearings.OptionMarked[static_cast<std::size_t>(partner)]);
  }
  EXPECT_EQ(Marked(bearings), (std::vector<int>{2, 4, 6, 8}));
  bearings.Quit();
  EXPECT_TRUE(desktop.ended);
}

TEST(NumbersTest, ReadAndShownAsAPersonWritesThem) {
  // The number a text begins with.
  // clang-format off
  const std::vector<std::pair<std::string, double>> leading = {
      {"41.318", 41.318}, {" 4 1.3 1 8", 41.318}, {"\t-5", -5}, {"\n7", 7}, {"12abc", 12},
      {"abc", 0}, {"", 0}, {"1.2.3", 1.2}, {"-.5", -0.5}, {"+3", 3}, {"+-5", 0}, {"1e3", 1000},
      {"1D2", 100}, {"2.5E-1x", 0.25}, {"1e", 1}, {"1e+", 1}, {"&H10", 16}, {"&hff", 255},
      {"&HFFFF", -1}, {"&H10000", 65536}, {"&O17", 15}, {"&O177777", -1}, {"&Hxyz", 0}, {"&", 0},
      {".", 0}, {"-", 0}, {"1,5", 1},
  };
  // clang-format on
  for (const auto& [text, number] : leading) {
    const auto value = ReadLeadingNumber(text);
    ASSERT_TRUE(value.has_value()) << text;
    EXPECT_DOUBLE_EQ(*value, number) << "'" << text << "'";
  }
  EXPECT_FALSE(ReadLeadingNumber("1e999").has_value());
  EXPECT_FALSE(ReadLeadingNumber("&H1FFFFFFFF").has_value());
  // A plain number holds nothing else.
  for (const char* text : {"41.318", " 41.318 ", "-5", "+.5", "1e-3", "2D2"})
    EXPECT_TRUE(PlainNumber(text).has_value()) << text;
  for (const char* text : {"", " ", "4 1", "41.3x", "N41", ".", "1.2.3", "1e999"})
    EXPECT_FALSE(PlainNumber(text).has_value()) << text;
  // Shown in plain decimal form.
  const std::vector<std::pair<double, std::string>> shown = {
      {41.318, "41.318"}, {111.941, "111.941"},           {0, "0"},           {-0.0, "0"},
      {-5, "-5"},         {41.318123, "41.318123"},       {0.1 + 0.2, "0.3"}, {0.5, "0.5"},
      {1e-5, "1E-05"},    {123456789012, "123456789012"},
  };
  for (const auto& [value, text] : shown) EXPECT_EQ(NumberText(value), text) << value;
}

// Course (degrees from north) and distance by the haversine formula, for comparison.
void Reference(double lat1, double westLon1, double lat2, double westLon2, double& course,
               double& km) {
  const double rad = M_PI / 180;
  const double p1 = lat1 * rad, p2 = lat2 * rad;
  const double dl = (westLon1 - westLon2) * rad;  // eastward difference
  const double h = std::pow(std::sin((p2 - p1) / 2), 2) +
                   std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
  km = 2 * 6356.775 * std::asin(std::min(1.0, std::sqrt(h)));
  course = std::atan2(std::sin(dl) * std::cos(p2),
                      std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) /
           rad;
  if (course < 0) course += 360;
}

// Random pairs of positions, after the poles, exactly opposite points and the station itself.
TEST(GreatCircleTest, PositionsGiveSoundCoursesAndDistances) {
  std::vector<std::array<double, 4>> pairs = {
      {10, 20, -10, -160}, {90, 0, -90, 0}, {90, 0, 45, 10}, {-90, 5, 0.5, 5}, {1, 0, 1, 0}};
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> latitude(-90, 90);
  std::uniform_int_distribution<int> longitude(-180, 180);
  for (int i = 0; i < 20000; ++i)
    pairs.push_back({1.0 * latitude(random), 1.0 * longitude(random), 1.0 * latitude(random),
                     1.0 * longitude(random)});
  const int halfCircumference = static_cast<int>(std::ceil(M_PI * 6356.775));
  for (const auto& [lat1, lon1, lat2, lon2] : pairs) {
    if (lat1 == 0 && lat2 == 0) continue;
    const CourseDistance there = GreatCircle(lat1, lon1, lat2, lon2);
    const std::string where = std::to_string(lat1) + "," + std::to_string(lon1) + " -> " +
                              std::to_string(lat2) + "," + std::to_string(lon2);
    ASSERT_GE(there.degrees, 0) << where;
    ASSERT_LE(there.degrees, 360) << where;
    ASSERT_GE(there.kilometres, 0) << where;
    ASSERT_LE(there.kilometres, halfCircumference) << where;
    ASSERT_EQ(there.miles, static_cast<int>(there.kilometres / 1.6)) << where;

    double course = 0, km = 0;
    Reference(lat1, lon1, lat2, lon2, course, km);
    ASSERT_NEAR(there.kilometres, km, 2.0) << where;
    // Courses are well defined away from the poles, the station itself and its antipode.
    if (std::fabs(lat1) < 89 && std::fabs(lat2) < 89 && km > 500 && km < 19000) {
      double difference = std::fabs(there.degrees - course);
      difference = std::min(difference, 360 - difference);
      ASSERT_LE(difference, 1.5) << where << " reference " << course;
    }
  }
}

}  // namespace
}  // namespace tavrin
