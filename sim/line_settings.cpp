// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/line_settings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

namespace tavrin::sim {

namespace {

std::vector<std::string> SplitAtCommas(std::string_view text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == ',') {
      parts.emplace_back();
    } else if (c != ' ') {
      parts.back().push_back(c);
    }
  }
  return parts;
}

std::optional<int> WholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 7) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

int LineSettings::BitsPerByte() const {
  const int stop = stopBits > 1 ? 2 : 1;
  return 1 + dataBits + (parity == 'N' ? 0 : 1) + stop;
}

std::optional<LineSettings> ParseLineSettings(std::string_view text) {
  static constexpr std::array kSpeeds = {110,   300,   600,   1200,  2400,  4800,   9600,   14400,
                                         19200, 28800, 38400, 56000, 57600, 115200, 128000, 256000};
  const auto parts = SplitAtCommas(text);
  if (parts.size() != 4) return std::nullopt;
  LineSettings settings;
  const auto baud = WholeNumber(parts[0]);
  if (!baud || std::find(kSpeeds.begin(), kSpeeds.end(), *baud) == kSpeeds.end()) {
    return std::nullopt;
  }
  settings.baud = *baud;
  if (parts[1].size() != 1) return std::nullopt;
  settings.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(parts[1][0])));
  if (std::string_view("NEOMS").find(settings.parity) == std::string_view::npos) {
    return std::nullopt;
  }
  const auto data = WholeNumber(parts[2]);
  if (!data || *data < 4 || *data > 8) return std::nullopt;
  settings.dataBits = *data;
  if (parts[3] == "1") {
    settings.stopBits = 1;
  } else if (parts[3] == "1.5") {
    settings.stopBits = 1.5;
  } else if (parts[3] == "2") {
    settings.stopBits = 2;
  } else {
    return std::nullopt;
  }
  return settings;
}

}  // namespace tavrin::sim
