// SPDX-License-Identifier: GPL-3.0-or-later
// The dipole calculator: lengths for the bands the station uses, the end-effect table, the
// feet-and-inches split, and what unusable inputs do.
#include "tools/dipole/dipole.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake_desktop.h"
#include "tools/dipole/dipole_calc.h"

namespace tavrin {
namespace {

// The eight outputs: half wave, quarter wave, feed-line half and quarter wave, feet and inches.
std::vector<std::string> Outputs(const Dipole& d) {
  return {d.Text2, d.Text3, d.Text4, d.Text5, d.Text8, d.Text9, d.Text11, d.Text12};
}

class DipoleTest : public ::testing::Test {
 protected:
  void SetUp() override { dipole.Load(); }
  void Calculate(const std::string& frequency, const std::string& diameter = "0.5") {
    dipole.Text1 = frequency;
    dipole.Text6 = diameter;
    dipole.Calculate();
  }
  FakeDesktop desktop;
  Dipole dipole{desktop};
};

TEST_F(DipoleTest, LengthsForTheStationsBands) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> bands = {
      {"14.2", {"32", "11", "16", "6", "22", "10", "11", "5"}},
      {"7.1", {"65", "11", "32", "11", "45", "9", "22", "10"}},
      {"146", {"3", "2", "1", "7", "2", "3", "1", "1"}},
  };
  for (const auto& [frequency, shown] : bands) {
    Calculate(frequency);
    EXPECT_EQ(Outputs(dipole), shown) << frequency << " MHz";
  }
  // The half wave alone, where the end-effect rule or the rounding matters.
  struct Case {
    std::string frequency, diameter;
    const char *feet, *inches;  // inches nullptr: not checked
  };
  const std::vector<Case> cases = {
      {"50.1", "0.5", "9", "3"},  // the diameter table
      // A fat element (ratio 39 at 30.01 MHz) shows where the diameter table takes over.
      {"30", "5", "15", "7"},     // 492 * 0.9512 / 30 = 15.600 ft
      {"30.01", "5", "15", "3"},  // 492 * 0.93 / 30.01 = 15.247 ft
      // 20 ft 11.7 in: the inches round to 12 and show as one more foot.
      {std::to_string(492 * 0.9512 / (20 + 11.7 / 12)), "0.5", "21", "0"},
      // Numbers are read with blanks, signs and exponents; negative ones are not refused.
      {" 14.2 ", "0.5", "32", "11"},
      {"+14.2", "0.5", "32", "11"},
      {"1.42e1", "0.5", "32", "11"},
      {"142E-1", "0.5", "32", "11"},
      {".5", "0.5", "936", "0"},
      {"-14.2", "0.5", "-33", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frequency + " MHz, " + c.diameter + " in");
    Calculate(c.frequency, c.diameter);
    EXPECT_EQ(dipole.Text2, c.feet);
    EXPECT_TRUE(c.inches == nullptr || dipole.Text3 == c.inches) << dipole.Text3;
  }
}

TEST(EndEffectFactorTest, HfRuleUpTo30MhzThenRatioTable) {
  struct Case {
    double frequency, diameter, factor;
  };
  std::vector<Case> cases = {
      {14.2, 0.5, 0.9512}, {30.0, 0.5, 0.9512}, {30.0, 1e-9, 0.9512},
      {30.0, 100, 0.9512}, {30.01, 0.5, 0.95},  // ratio 393.5
      {146, 0.5, 0.935},                        // ratio 80.9
      {50.1, 0.5, 0.945},                       // ratio 235.7
      {60, 1e-12, 0.985},  {146, -0.5, 0.93},   // a negative diameter is not refused
  };
  // Each step from its lower bound on: at 60 MHz the free-space half wave is 98.4 inches.
  const std::vector<std::pair<double, double>> steps = {
      {75, 0.935},     {150, 0.94},    {200, 0.945},      {300, 0.95},       {400, 0.9533},
      {800, 0.96},     {1000, 0.9633}, {2000, 0.9666},    {4000, 0.97},      {10000, 0.9733},
      {30000, 0.9766}, {100000, 0.98}, {1000000, 0.9825}, {10000000, 0.985},
  };
  double below = 0.93;
  for (const auto& [ratio, factor] : steps) {
    cases.push_back({60, 98.4 / (ratio * (1 + 1e-9)), factor});
    cases.push_back({60, 98.4 / (ratio * (1 - 1e-9)), below});
    below = factor;
  }
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(EndEffectFactor(c.frequency, c.diameter), c.factor)
        << c.frequency << " MHz, " << c.diameter << " in";
  }
}

TEST_F(DipoleTest, UnusableInputsEmptyEveryOutput) {
  struct Case {
    std::string frequency, diameter, velocity;
  };
  const std::vector<Case> cases = {
      {"", "0.5", "0.66"},     {" ", "0.5", "0.66"},     {"0", "0.5", "0.66"},
      {"0.0", "0.5", "0.66"},  {"14.2", "", "0.66"},     {"14.2", " ", "0.66"},
      {"14.2", "0", "0.66"},   {"14.2", "0.5", ""},      {"14.2", "0.5", "0"},
      {"abc", "0.5", "0.66"},  {"14.2x", "0.5", "0.66"}, {"14.2", "half", "0.66"},
      {"14.2", "0.5", "0,66"}, {"1.2.3", "0.5", "0.66"}, {"-", "0.5", "0.66"},
      {"1e", "0.5", "0.66"},   {"1e999", "0.5", "0.66"}, {"1e-320", "0.5", "0.66"},
      {"  ", "0.5", "0.66"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.frequency + "' '" + c.diameter + "' '" + c.velocity + "'");
    dipole.Text7 = "0.66";
    Calculate("14.2");
    ASSERT_EQ(dipole.Text2, "32");
    dipole.Text7 = c.velocity;
    Calculate(c.frequency, c.diameter);
    EXPECT_EQ(Outputs(dipole), std::vector<std::string>(8));
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(dipole.Text1, c.frequency);  // the inputs are left as they are
  }
}

TEST_F(DipoleTest, CoaxButtonsWriteTheirVelocityFactor) {
  // The window starts on the first coax.
  EXPECT_TRUE(dipole.OptionMarked[1]);
  EXPECT_EQ(dipole.Text7, "0.66");
  EXPECT_EQ(dipole.Text6, "0.5");
  EXPECT_EQ(dipole.Text1, "");
  const auto& types = CoaxTypes();
  ASSERT_EQ(types.size(), 22u);
  for (int n = 1; n <= 22; ++n) {
    dipole.Text7 = "typed";
    dipole.ClickOption(n);
    EXPECT_EQ(dipole.Text7, types[static_cast<std::size_t>(n - 1)].velocityFactor) << n;
    for (int m = 1; m <= 22; ++m)
      EXPECT_EQ(dipole.OptionMarked[static_cast<std::size_t>(m)], m == n);
  }
  dipole.ClickOption(15);
  EXPECT_EQ(dipole.Text7, "0.7");
  // A typed velocity factor is used as it stands.
  dipole.Text7 = "0.5";
  Calculate("14.2");
  EXPECT_EQ(dipole.Text8, "17");  // 983.6 * 0.5 / 14.2 / 2 = 17.32 ft
  EXPECT_EQ(dipole.Text9, "4");
  dipole.Quit();
  EXPECT_TRUE(desktop.ended);
}

}  // namespace
}  // namespace tavrin
