#include "app/text_functions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

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

namespace {

std::string WithoutBlanks(const std::string& text) {
  std::string squeezed;
  for (const char c : text)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') squeezed += c;
  return squeezed;
}

double RadixNumber(const std::string& digits, int radix) {
  double value = 0;
  for (const char c : digits) {
    const int d =
        std::isdigit(static_cast<unsigned char>(c))
            ? c - '0'
            : (std::isxdigit(static_cast<unsigned char>(c)) ? std::toupper(c) - 'A' + 10 : 99);
    if (d >= radix) break;
    value = value * radix + d;
  }
  return value;
}

}  // namespace

double LeadingNumber(const std::string& text) {
  const std::string s = WithoutBlanks(text);
  if (s.size() >= 2 && s[0] == '&') {
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
    if (kind == 'H') return RadixNumber(s.substr(2), 16);
    if (kind == 'O') return RadixNumber(s.substr(2), 8);
  }
  std::size_t i = 0;
  std::string number;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
  bool digits = false;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(s[i]))) {
      number += s[i];
      digits = true;
    } else if (s[i] == '.' && !point) {
      number += s[i];
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
    const std::size_t firstDigit = j;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) exponent += s[j++];
    if (j > firstDigit) number += exponent;
  }
  const double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : 0;
}

bool HasLeadingNumber(const std::string& text) {
  const std::string s = WithoutBlanks(text);
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  if (i < s.size() && s[i] == '.') ++i;
  return i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]));
}

}  // namespace tavrin
