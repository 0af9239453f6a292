// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dipole/dipole_calc.h"

#include <array>
#include <cmath>

namespace tavrin {

namespace {

// Free-space half wave in feet is 492 / f (MHz); the whole wave 983.6 / f.
constexpr double kHalfWaveFeetMhz = 492.0;
constexpr double kWaveFeetMhz = 983.6;
constexpr double kHfFactor = 0.9512;
constexpr double kHfLimitMhz = 30.0;

struct FactorStep {
  double fromRatio;  // inclusive lower bound of the half-wave / diameter ratio
  double factor;
};

constexpr std::array<FactorStep, 15> kFactorSteps{{
    {0, 0.93},
    {75, 0.935},
    {150, 0.94},
    {200, 0.945},
    {300, 0.95},
    {400, 0.9533},
    {800, 0.96},
    {1000, 0.9633},
    {2000, 0.9666},
    {4000, 0.97},
    {10000, 0.9733},
    {30000, 0.9766},
    {100000, 0.98},
    {1000000, 0.9825},
    {10000000, 0.985},
}};

}  // namespace

double EndEffectFactor(double frequencyMhz, double diameterInches) {
  if (frequencyMhz <= kHfLimitMhz) return kHfFactor;
  const double ratio = (12.0 * kHalfWaveFeetMhz / frequencyMhz) / diameterInches;
  double factor = kFactorSteps.front().factor;  // below 75, and a negative diameter
  for (const FactorStep& step : kFactorSteps) {
    if (ratio >= step.fromRatio) factor = step.factor;
  }
  return factor;
}

FeetInches SplitFeetInches(double lengthFeet) {
  FeetInches result;
  result.feet = std::floor(lengthFeet);
  result.inches = std::floor((lengthFeet - result.feet) * 12.0 + 0.5);
  if (result.inches >= 12) result.feet += 1;
  if (result.inches >= 12) result.inches -= 12;
  return result;
}

DipoleLengths CalculateDipole(double frequencyMhz, double diameterInches, double velocityFactor) {
  const double factor = EndEffectFactor(frequencyMhz, diameterInches);
  const double antennaHalf = kHalfWaveFeetMhz * factor / frequencyMhz;
  const double wave = kWaveFeetMhz * velocityFactor / frequencyMhz;
  return {SplitFeetInches(antennaHalf), SplitFeetInches(antennaHalf / 2), SplitFeetInches(wave / 2),
          SplitFeetInches(wave / 4)};
}

}  // namespace tavrin
