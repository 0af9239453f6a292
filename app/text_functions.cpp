// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/text_functions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "app/leading_number.h"

namespace tavrin {

void FoldToCapitals(std::string& text) {
  for (char& c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 97) c = static_cast<char>(code - 32);
  }
}

std::string FoldedToCapitals(std::string text) {
  FoldToCapitals(text);
  return text;
}

std::string UpperFileName(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/");
  std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  FoldToCapitals(name);
  return name;
}

std::string EnsureTxtExtension(const std::string& name) {
  if (name.size() >= 4 && name[name.size() - 4] == '.') return name;
  return name + ".txt";
}

double LeadingNumber(const std::string& text) { return ReadLeadingNumber(text).value_or(0); }

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

}  // namespace tavrin
