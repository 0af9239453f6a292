// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers typed into the calculator's fields, and whole numbers shown in its fields.
#include <optional>
#include <string>

namespace tavrin {

// The number a field holds: blanks around it, an optional sign, digits with at most one
// decimal point and an optional exponent ("14.2", " .5", "-3", "1e2"). Anything else, and
// an empty or blank field, is no number.
std::optional<double> FieldNumber(const std::string& text);

// A whole number in plain decimal digits ("32", "-4", "0").
std::string WholeNumberText(double value);

}  // namespace tavrin
