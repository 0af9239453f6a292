// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/leading_number.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tavrin {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Digits of a number in base 16 or 8 from `text` at `i`, as a signed 16- or 32-bit value.
std::optional<double> RadixNumber(const std::string& text, std::size_t i, int base) {
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = Upper(text[i]);
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0 || digit >= base) break;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFULL) return std::nullopt;
  }
  if (value <= 0xFFFF) return static_cast<double>(static_cast<std::int16_t>(value));
  return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

// The decimal number at the start of `text` (already free of blanks) in strtod's form, or the
// empty text when there is none. `end` receives the index after it.
std::string DecimalPart(const std::string& text, std::size_t& end) {
  std::string number;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
  std::size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) number += text[i];
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) number += text[i];
  }
  if (digits == 0) {
    end = 0;
    return {};
  }
  if (i < text.size() && (Upper(text[i]) == 'E' || Upper(text[i]) == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    std::size_t exponentDigits = 0;
    for (; j < text.size() && IsDigit(text[j]); ++j, ++exponentDigits) exponent += text[j];
    if (exponentDigits > 0) {
      number += exponent;
      i = j;
    }
  }
  end = i;
  return number;
}

std::optional<double> ToDouble(const std::string& number) {
  if (number.empty()) return 0.0;
  const double value = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> ReadLeadingNumber(const std::string& text) {
  std::string compact;
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') compact += c;
  }
  if (compact.size() >= 2 && compact[0] == '&') {
    if (Upper(compact[1]) == 'H') return RadixNumber(compact, 2, 16);
    if (Upper(compact[1]) == 'O') return RadixNumber(compact, 2, 8);
  }
  std::size_t end = 0;
  return ToDouble(DecimalPart(compact, end));
}

std::optional<double> PlainNumber(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const auto last = text.find_last_not_of(" \t");
  const std::string body = text.substr(first, last - first + 1);
  std::size_t end = 0;
  const std::string number = DecimalPart(body, end);
  if (number.empty() || end != body.size()) return std::nullopt;
  return ToDouble(number);
}

std::string NumberText(double value) {
  if (value == 0 || !std::isfinite(value)) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string text = buffer;
  // Exponent form as "1E-05", "1.5E+20".
  const auto e = text.find('e');
  if (e != std::string::npos) text[e] = 'E';
  return text;
}

}  // namespace tavrin
