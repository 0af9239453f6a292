// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/hex.h"

namespace tavrin::sim {

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string FromHex(std::string_view text) {
  std::string bytes;
  int pending = -1;  // the high digit of a pair not yet complete
  for (char c : text) {
    const int digit = DigitValue(c);
    if (digit < 0) {
      if (pending >= 0) bytes.push_back(static_cast<char>(pending));
      pending = -1;
      continue;
    }
    if (pending < 0) {
      pending = digit;
    } else {
      bytes.push_back(static_cast<char>(pending * 16 + digit));
      pending = -1;
    }
  }
  if (pending >= 0) bytes.push_back(static_cast<char>(pending));
  return bytes;
}

std::string ToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (char c : bytes) {
    const auto value = static_cast<unsigned char>(c);
    if (!text.empty()) text.push_back(' ');
    text.push_back(kDigits[value >> 4]);
    text.push_back(kDigits[value & 0x0F]);
  }
  return text;
}

}  // namespace tavrin::sim
