// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dipole arithmetic: end-effect factor, antenna and feed-line lengths, and the split of a
// length in feet into whole feet and whole inches.
namespace tavrin {

struct FeetInches {
  // Whole numbers, kept as doubles so that any input gives a showable result.
  double feet = 0;
  double inches = 0;
};

struct DipoleLengths {
  FeetInches antennaHalf;     // half-wave dipole
  FeetInches antennaQuarter;  // quarter-wave element
  FeetInches feedHalf;        // electrical half wave of the coax
  FeetInches feedQuarter;     // electrical quarter wave of the coax
};

// Shortening factor of a wire against the free-space half wave. A thin element (high ratio
// of half wave to diameter) is nearly a free-space half wave long; a fat one is shorter. At
// 30 MHz and below the usual 468/f rule applies whatever the diameter.
double EndEffectFactor(double frequencyMhz, double diameterInches);

// Whole feet and the remaining inches rounded to the nearest inch; 12 inches carry to a foot.
FeetInches SplitFeetInches(double lengthFeet);

DipoleLengths CalculateDipole(double frequencyMhz, double diameterInches, double velocityFactor);

}  // namespace tavrin
