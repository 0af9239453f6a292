// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/chirp_csv_fields.h"

#include <optional>

namespace tavrin {

namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';
constexpr char32_t kLastLatin1 = 0xFF;

// The characters of a UTF-8 text, or nothing when it is not well-formed UTF-8 (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate, beyond U+10FFFF).
std::optional<std::u32string> DecodedUtf8(const std::string& text) {
  std::u32string decoded;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t lowest = 0;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1F;
      lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0F;
      lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07;
      lowest = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + length > text.size()) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    decoded.push_back(code);
    i += length;
  }
  return decoded;
}

}  // namespace

CsvRecordFields SplitCsvRecord(const std::string& record) {
  CsvRecordFields split;
  split.fields.emplace_back();
  bool atFieldStart = true;
  bool inQuotes = false;
  for (std::size_t i = 0; i < record.size(); ++i) {
    const char c = record[i];
    std::string& field = split.fields.back();
    if (inQuotes) {
      if (c != kQuote) {
        field.push_back(c);
      } else if (i + 1 < record.size() && record[i + 1] == kQuote) {
        field.push_back(kQuote);
        ++i;
      } else {
        inQuotes = false;
      }
      continue;
    }
    if (c == kComma) {
      split.fields.emplace_back();
      atFieldStart = true;
      continue;
    }
    if (c == kQuote && atFieldStart) {
      inQuotes = true;
    } else {
      field.push_back(c);
    }
    atFieldStart = false;
  }
  split.quoteOpen = inQuotes;
  return split;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted(1, kQuote);
  for (const char c : text) {
    quoted.push_back(c);
    if (c == kQuote) quoted.push_back(kQuote);
  }
  quoted.push_back(kQuote);
  return quoted;
}

Latin1Text Latin1OfFileText(const std::string& text) {
  const std::optional<std::u32string> decoded = DecodedUtf8(text);
  if (!decoded) return {text, 0};
  Latin1Text latin1;
  for (const char32_t c : *decoded) {
    if (c <= kLastLatin1) {
      latin1.bytes.push_back(static_cast<char>(c));
      continue;
    }
    latin1.bytes.push_back('?');
    if (latin1.firstBeyond == 0) latin1.firstBeyond = c;
  }
  return latin1;
}

std::string Utf8OfLatin1(const std::string& bytes) {
  std::string utf8;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8.push_back(c);
    } else {
      utf8.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return utf8;
}

}  // namespace tavrin
