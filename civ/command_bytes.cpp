// SPDX-License-Identifier: GPL-3.0-or-later
#include "civ/command_bytes.h"

namespace tavrin::civ {

std::string FirstLinkCodeCharacter(const std::string& text) {
  for (const char c : text) {
    if (IsLinkCode(static_cast<unsigned char>(c))) return std::string(1, c);
  }
  return {};
}

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace tavrin::civ
