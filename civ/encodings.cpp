// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/encodings.h"

#include <array>

#include "civ/mode_table.h"

namespace tavrin {

namespace {

std::string TwoDigits(int value) {
  const int tens = value / 10;
  const int units = value - 10 * tens;
  return {static_cast<char>(48 + tens), static_cast<char>(48 + units)};
}

}  // namespace

std::string FormatFrequency(int a, int b, int c) {
  const std::string cc = TwoDigits(c);
  return TwoDigits(a) + "." + TwoDigits(b) + cc[0] + "." + cc[1];
}

std::string FormatTime(int h, int m) { return TwoDigits(h) + ":" + TwoDigits(m); }

std::string ToDecimalList(const std::string& bytes) {
  std::string result;
  result.reserve(bytes.size() * 4);
  for (const char c : bytes) {
    result += ' ';
    result += std::to_string(static_cast<unsigned char>(c));
  }
  return result;
}

std::optional<std::string> ModeText(int code) {
  const civ::Mode* mode = civ::ModeOfCode(code);
  if (mode == nullptr) return std::nullopt;
  return std::string(mode->shown);
}

std::optional<std::string> FilterText(int code) {
  const civ::Filter* filter = civ::FilterOfCode(code);
  if (filter == nullptr) return std::nullopt;
  return std::string(filter->shown);
}

std::string SMeterLabel(int high, int low) {
  if (high >= 2) return "VERY POWERFUL";
  struct Row {
    int atLeast;
    const char* label;
  };
  // Every row that holds replaces the label, so the last one that holds wins.
  static const std::array<Row, 8> kLow = {{{0, "S0"},
                                           {25, "S1"},
                                           {40, "S2"},
                                           {60, "S3"},
                                           {80, "S4"},
                                           {100, "S5"},
                                           {125, "S6"},
                                           {150, "S7"}}};
  static const std::array<Row, 8> kHigh = {{{0, "S7"},
                                            {10, "S8"},
                                            {25, "S9"},
                                            {50, "S9 + 10db"},
                                            {85, "S9 + 20db"},
                                            {115, "S9 + 30db"},
                                            {130, "S9 + 40db"},
                                            {145, "S9 + 50db"}}};
  const auto& rows = high == 0 ? kLow : kHigh;
  std::string label;
  for (const Row& row : rows)
    if (low >= row.atLeast) label = row.label;
  return label;
}

}  // namespace tavrin
