// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/serial_settings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace tavrin {

namespace {

// The speeds the serial control offers; any other number is an invalid setting, as on the
// system the suite was made for.
constexpr std::array kSpeeds = {110,   300,   600,   1200,  2400,  4800,   9600,   14400,
                                19200, 28800, 38400, 56000, 57600, 115200, 128000, 256000};

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> Fields(const std::string& text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const auto comma = text.find(',', start);
    fields.push_back(Trimmed(text.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return fields;
}

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

}  // namespace

int SerialSettings::BitsPerByte() const {
  return 1 + dataBits + (parity == 'N' ? 0 : 1) + (stopHalves > 2 ? 2 : 1);
}

std::optional<SerialSettings> ParseSerialSettings(const std::string& text) {
  const std::vector<std::string> fields = Fields(text);
  if (fields.size() != 4) return std::nullopt;
  SerialSettings settings;

  // Up to 7 digits: the number stays an int.
  if (!AllDigits(fields[0]) || fields[0].size() > 7) return std::nullopt;
  settings.baud = std::stoi(fields[0]);
  if (std::find(kSpeeds.begin(), kSpeeds.end(), settings.baud) == kSpeeds.end())
    return std::nullopt;

  if (fields[1].size() != 1) return std::nullopt;
  settings.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(fields[1][0])));
  if (std::string("NEOMS").find(settings.parity) == std::string::npos) return std::nullopt;

  if (fields[2].size() != 1 || fields[2][0] < '5' || fields[2][0] > '8') return std::nullopt;
  settings.dataBits = fields[2][0] - '0';

  if (fields[3] == "1") {
    settings.stopHalves = 2;
  } else if (fields[3] == "1.5") {
    settings.stopHalves = 3;
  } else if (fields[3] == "2") {
    settings.stopHalves = 4;
  } else {
    return std::nullopt;
  }
  return settings;
}

}  // namespace tavrin
