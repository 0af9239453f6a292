// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/bcd.h"

namespace tavrin::sim {

char ToBcd(int value) { return static_cast<char>(((value / 10) % 10) * 16 + value % 10); }

std::optional<int> FromBcd(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  const int high = value >> 4;
  const int low = value & 0x0F;
  if (high > 9 || low > 9) return std::nullopt;
  return high * 10 + low;
}

std::string FrequencyToBcd(std::int64_t hz) {
  std::string bytes;
  if (hz < 0) hz = 0;
  for (std::size_t i = 0; i < kFrequencyBytes; ++i) {
    bytes.push_back(ToBcd(static_cast<int>(hz % 100)));
    hz /= 100;
  }
  return bytes;
}

std::optional<std::int64_t> FrequencyFromBcd(std::string_view bytes) {
  if (bytes.size() != kFrequencyBytes) return std::nullopt;
  std::int64_t hz = 0;
  for (std::size_t i = kFrequencyBytes; i-- > 0;) {
    const auto pair = FromBcd(bytes[i]);
    if (!pair) return std::nullopt;
    hz = hz * 100 + *pair;
  }
  return hz;
}

}  // namespace tavrin::sim
