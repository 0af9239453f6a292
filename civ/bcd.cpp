// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/bcd.h"

#include <cmath>

namespace tavrin::civ {

int BcdToNumber(unsigned char byte) {
  int v = byte;
  int count = 0;
  while (v >= 16 && count < 16) {
    v -= 16;
    ++count;
  }
  return v + 10 * count;
}

BcdByte NumberToBcd(double n) {
  if (std::isnan(n) || n > 179 || n < 0) return {0, 179};
  if (n < 10) return {static_cast<unsigned char>(std::nearbyint(n)), 0};
  double rest = n;
  int count = 0;
  while (rest >= 10 && count < 10) {
    rest -= 10;
    ++count;
  }
  if (rest >= 10) count = 11;
  // Halves go to the even neighbour, as the converter rounds.
  const double value = std::nearbyint(rest + 16.0 * count);
  return {static_cast<unsigned char>(value), 0};
}

unsigned char ToBcd(int value) {
  return static_cast<unsigned char>(((value / 10) % 10) * 16 + value % 10);
}

std::string FrequencyToBcd(std::int64_t hz) {
  std::string bytes;
  if (hz < 0) hz = 0;
  for (std::size_t i = 0; i < kFrequencyBytes; ++i) {
    bytes.push_back(static_cast<char>(ToBcd(static_cast<int>(hz % 100))));
    hz /= 100;
  }
  return bytes;
}

std::optional<std::int64_t> FrequencyFromBcd(std::string_view bytes) {
  if (bytes.size() != kFrequencyBytes) return std::nullopt;
  std::int64_t hz = 0;
  for (std::size_t i = kFrequencyBytes; i-- > 0;) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (!IsBcd(byte)) return std::nullopt;
    hz = hz * 100 + BcdToNumber(byte);
  }
  return hz;
}

}  // namespace tavrin::civ
