// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Great-circle course and distance between two positions on the Earth.
namespace tavrin {

struct CourseDistance {
  int degrees = 0;     // initial course from true north, 0 .. 360
  int miles = 0;       // from the rounded kilometres, rounded down
  int kilometres = 0;  // rounded to the nearest kilometre
};

// Positions in degrees, latitude north-positive and longitude WEST-positive. The arithmetic
// keeps its traditional constants (pi to six decimals, a small offset that keeps the
// longitude difference off the singular points) so its answers match the station's tables;
// arccos arguments that rounding pushes past +-1 are held to the range.
CourseDistance GreatCircle(double latitude1, double westLongitude1, double latitude2,
                           double westLongitude2);

}  // namespace tavrin
