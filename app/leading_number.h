// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the numbers that operators type, and showing numbers to them.
#include <optional>
#include <string>

namespace tavrin {

// The number a text begins with. Blanks, tabs and line feeds are ignored wherever they stand;
// then an optional sign, digits with at most one decimal point and an optional exponent (E or
// D, an optional sign, digits) are read up to the first other character. "&H" and "&O" start
// hexadecimal and octal numbers (16-bit, or 32-bit when larger, two's complement: "&HFFFF" is
// -1). No number gives 0. Nothing comes back only for a number too large to hold ("1e999").
std::optional<double> ReadLeadingNumber(const std::string& text);

// The number a field holds when it holds nothing else: blanks around it, an optional sign,
// digits with at most one decimal point and an optional exponent. Nothing for any other text.
std::optional<double> PlainNumber(const std::string& text);

// Plain decimal form with no trailing zeros, as for a person (41.318, 111.941, 0, -5); up to
// 15 significant digits; very large and very small numbers in exponent form ("1E-05").
std::string NumberText(double value);

}  // namespace tavrin
