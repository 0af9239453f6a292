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

struct Shown {
  std::string halfFeet, halfInches, quarterFeet, quarterInches;
  std::string feedHalfFeet, feedHalfInches, feedQuarterFeet, feedQuarterInches;
  bool operator==(const Shown&) const = default;
};

Shown Outputs(const Dipole& d) {
  return {d.Text2, d.Text3, d.Text4, d.Text5, d.Text8, d.Text9, d.Text11, d.Text12};
}

std::ostream& operator<<(std::ostream& out, const Shown& s) {
  return out << s.halfFeet << "'" << s.halfInches << "\" " << s.quarterFeet << "'"
             << s.quarterInches << "\" feed " << s.feedHalfFeet << "'" << s.feedHalfInches << "\" "
             << s.feedQuarterFeet << "'" << s.feedQuarterInches << "\"";
}

class DipoleTest : public ::testing::Test {
 protected:
  void SetUp() override { dipole.Load(); }
  FakeDesktop desktop;
  Dipole dipole{desktop};
};

TEST_F(DipoleTest, StartsOnTheFirstCoaxWithItsVelocityFactor) {
  EXPECT_TRUE(dipole.OptionMarked[1]);
  EXPECT_EQ(dipole.Text7, "0.66");
  EXPECT_EQ(dipole.Text6, "0.5");
  EXPECT_EQ(dipole.Text1, "");
}

TEST_F(DipoleTest, LengthsForTheStationsBands) {
  struct Case {
    std::string frequency;
    Shown expected;
  };
  const std::vector<Case> cases = {
      {"14.2", {"32", "11", "16", "6", "22", "10", "11", "5"}},
      {"7.1", {"65", "11", "32", "11", "45", "9", "22", "10"}},
      {"146", {"3", "2", "1", "7", "2", "3", "1", "1"}},
  };
  for (const Case& c : cases) {
    dipole.Text1 = c.frequency;
    dipole.Calculate();
    EXPECT_EQ(Outputs(dipole), c.expected) << c.frequency << " MHz";
  }
}

TEST_F(DipoleTest, SixMetresUsesTheDiameterTable) {
  dipole.Text1 = "50.1";
  dipole.Calculate();
  EXPECT_EQ(dipole.Text2, "9");
  EXPECT_EQ(dipole.Text3, "3");
}

TEST(EndEffectFactorTest, HfRuleUpTo30MhzThenRatioTable) {
  struct Case {
    double frequency;
    double diameter;
    double factor;
  };
  std::vector<Case> cases = {
      {14.2, 0.5, 0.9512}, {30.0, 0.5, 0.9512}, {30.0, 1e-9, 0.9512},
      {30.0, 100, 0.9512}, {30.01, 0.5, 0.95},  // ratio 393.5
      {146, 0.5, 0.935},                        // ratio 80.9
      {50.1, 0.5, 0.945},                       // ratio 235.7
      {60, 1e-12, 0.985},                       //
      {146, -0.5, 0.93},                        // a negative diameter is not refused
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

TEST_F(DipoleTest, ThirtyMegahertzIsStillHf) {
  // A fat element (ratio 39 at 30.01 MHz) shows where the diameter table takes over.
  dipole.Text6 = "5";
  dipole.Text1 = "30";
  dipole.Calculate();
  EXPECT_EQ(dipole.Text2, "15");  // 492 * 0.9512 / 30 = 15.600 ft
  EXPECT_EQ(dipole.Text3, "7");
  dipole.Text1 = "30.01";
  dipole.Calculate();
  EXPECT_EQ(dipole.Text2, "15");  // 492 * 0.93 / 30.01 = 15.247 ft
  EXPECT_EQ(dipole.Text3, "3");
}

TEST_F(DipoleTest, TwelveInchesShowAsOneMoreFoot) {
  // 467.99 / f = 20 ft 11.7 in: the inches round to 12.
  dipole.Text1 = std::to_string(492 * 0.9512 / (20 + 11.7 / 12));
  dipole.Calculate();
  EXPECT_EQ(dipole.Text2, "21");
  EXPECT_EQ(dipole.Text3, "0");
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
    dipole.Text1 = "14.2";
    dipole.Text6 = "0.5";
    dipole.Text7 = "0.66";
    dipole.Calculate();
    ASSERT_EQ(dipole.Text2, "32");
    dipole.Text1 = c.frequency;
    dipole.Text6 = c.diameter;
    dipole.Text7 = c.velocity;
    dipole.Calculate();
    EXPECT_EQ(Outputs(dipole), Shown{})
        << "'" << c.frequency << "' '" << c.diameter << "' '" << c.velocity << "'";
    EXPECT_TRUE(desktop.boxes.empty());
    // The inputs are left as they are.
    EXPECT_EQ(dipole.Text1, c.frequency);
  }
}

TEST_F(DipoleTest, NumbersAreReadWithBlanksSignsAndExponents) {
  struct Case {
    std::string frequency;
    std::string halfFeet;
  };
  const std::vector<Case> cases = {
      {" 14.2 ", "32"}, {"+14.2", "32"}, {"1.42e1", "32"},
      {"142E-1", "32"}, {".5", "936"},   {"-14.2", "-33"},  // negative inputs are not refused
  };
  for (const Case& c : cases) {
    dipole.Text1 = c.frequency;
    dipole.Calculate();
    EXPECT_EQ(dipole.Text2, c.halfFeet) << c.frequency;
  }
}

TEST_F(DipoleTest, CoaxButtonsWriteTheirVelocityFactor) {
  const auto& types = CoaxTypes();
  ASSERT_EQ(types.size(), 22u);
  EXPECT_STREQ(types[0].caption, "rg8");
  EXPECT_STREQ(types[14].caption, "rg400");
  EXPECT_STREQ(types[21].caption, "7/8 hd");
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
  dipole.Text1 = "14.2";
  dipole.Calculate();
  EXPECT_EQ(dipole.Text8, "17");  // 983.6 * 0.5 / 14.2 / 2 = 17.32 ft
  EXPECT_EQ(dipole.Text9, "4");
}

TEST_F(DipoleTest, QuitEndsTheProgram) {
  dipole.Quit();
  EXPECT_TRUE(desktop.ended);
}

}  // namespace
}  // namespace tavrin
