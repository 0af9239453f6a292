// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dipole/number_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tavrin {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Index after the digits starting at `i`; `count` receives how many there were.
std::size_t SkipDigits(const std::string& text, std::size_t i, std::size_t& count) {
  count = 0;
  while (i < text.size() && IsDigit(text[i])) {
    ++i;
    ++count;
  }
  return i;
}

}  // namespace

std::optional<double> FieldNumber(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const auto last = text.find_last_not_of(" \t");
  const std::string body = text.substr(first, last - first + 1);

  std::size_t i = 0;
  if (body[i] == '+' || body[i] == '-') ++i;
  std::size_t whole = 0;
  std::size_t fraction = 0;
  i = SkipDigits(body, i, whole);
  if (i < body.size() && body[i] == '.') i = SkipDigits(body, i + 1, fraction);
  if (whole + fraction == 0) return std::nullopt;
  if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < body.size() && (body[j] == '+' || body[j] == '-')) ++j;
    std::size_t exponent = 0;
    j = SkipDigits(body, j, exponent);
    if (exponent == 0) return std::nullopt;
    i = j;
  }
  if (i != body.size()) return std::nullopt;
  const double value = std::strtod(body.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::string WholeNumberText(double value) {
  if (value == 0) return "0";  // never "-0"
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", value);
  return buffer;
}

}  // namespace tavrin
