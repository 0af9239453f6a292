// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/bearing/great_circle.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {

constexpr double kPi = 3.141592;
constexpr double kRadiansPerDegree = kPi / 180.0;
constexpr double kOffset = 0.0001;
constexpr double kEarthRadiusKm = 6356.775;
constexpr double kKmPerMile = 1.6;

double Sgn(double value) { return value > 0 ? 1.0 : (value < 0 ? -1.0 : 0.0); }

// arccos in 0 .. pi, as atan of the root over the cosine with a half turn added for negative
// cosines. The cosine is held to -1 .. 1 and a cosine of exactly 0 gives a quarter turn.
double ArcCos(double cosine) {
  if (std::isnan(cosine)) cosine = 0;
  cosine = std::clamp(cosine, -1.0, 1.0);
  if (cosine == 0) return kPi / 2;
  return std::atan(std::sqrt(1 - cosine * cosine) / cosine) + (1 - Sgn(cosine)) * kPi / 2;
}

// East longitude in radians, 0 .. 2 pi, from a west-positive longitude in degrees.
double EastRadians(double westLongitude) {
  const double turn = 180.0 * (1 + Sgn(westLongitude - kOffset));
  return kRadiansPerDegree * (turn - westLongitude);
}

}  // namespace

CourseDistance GreatCircle(double latitude1, double westLongitude1, double latitude2,
                           double westLongitude2) {
  const double a1 = kRadiansPerDegree * latitude1;
  const double a2 = kRadiansPerDegree * latitude2;

  double delta = EastRadians(westLongitude1) - EastRadians(westLongitude2) + kOffset;
  delta += (1 - Sgn(delta)) * kPi;

  const double c = std::sin(a1) * std::sin(a2) + std::cos(a2) * std::cos(a1) * std::cos(delta);
  const double distance = ArcCos(c);

  const double x = (std::sin(a2) - std::sin(a1) * c) / (std::sin(distance) * std::cos(a1));
  double course = x < -0.9999999 ? kPi : ArcCos(x);
  // The target lies east of the station when delta > pi, west when delta < pi.
  course = Sgn(kPi - distance) * Sgn(delta - kPi) * course;
  course += (1 - Sgn(course)) * kPi;

  CourseDistance result;
  result.degrees = static_cast<int>(std::floor(course / kRadiansPerDegree + 0.5));
  result.kilometres = static_cast<int>(std::floor(distance * kEarthRadiusKm + 0.5));
  result.miles = static_cast<int>(std::floor(result.kilometres / kKmPerMile));
  if (westLongitude2 == westLongitude1 && latitude2 == latitude1) result.degrees = 0;
  return result;
}

}  // namespace tavrin
