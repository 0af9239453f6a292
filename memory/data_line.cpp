// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/data_line.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "app/text_functions.h"
#include "civ/command_bytes.h"
#include "civ/memory_record.h"
#include "civ/mode_table.h"

namespace tavrin {

namespace {

// Columns count from 1; columns beyond the end of the line give nothing.
std::string Columns(const std::string& line, std::size_t first, std::size_t count) {
  if (first - 1 >= line.size()) return {};
  return line.substr(first - 1, count);
}

std::string Without(std::string text, char unwanted) {
  text.erase(std::remove(text.begin(), text.end(), unwanted), text.end());
  return text;
}

std::string TrimmedBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

// A frequency written with dots, as MHz and its fraction (7.05, 14.2255) or as MHz, kHz and
// the 100 Hz digit (07.050.0): the six digits MMkkkh, or nothing when it does not read so.
std::optional<std::string> FrequencyByDots(const std::string& written) {
  const std::vector<std::string> parts = SplitAt(written, '.');
  for (const std::string& part : parts)
    if (!part.empty() && !AllDigits(part)) return std::nullopt;
  const std::string& megahertz = parts[0];
  if (megahertz.empty() || megahertz.size() > 2) return std::nullopt;
  std::string fraction;
  if (parts.size() == 2) {
    fraction = parts[1];
    // Digits finer than 100 Hz are not carried; only zeros may stand there.
    if (fraction.size() > 4 && fraction.find_first_not_of('0', 4) != std::string::npos)
      return std::nullopt;
    fraction.resize(4, '0');
  } else if (parts.size() == 3 && parts[1].size() == 3 && parts[2].size() == 1) {
    fraction = parts[1] + parts[2];
  } else {
    return std::nullopt;
  }
  return std::string(2 - megahertz.size(), '0') + megahertz + fraction;
}

std::string ChannelProblem(const std::string& channel) {
  const std::string digits = TrimmedBlanks(channel);
  if (!AllDigits(digits) || digits.size() > 3) return "channel is not a number";
  // The memory-set command takes a three-character channel only when it ends in 0 or 1.
  if (channel.size() == 3 && channel[2] >= '2' && channel[2] <= '9')
    return "channel is not 1 to 101";
  const int number = std::stoi(digits);
  if (number < 1 || number > 101) return "channel is not 1 to 101";
  return {};
}

std::string FieldText(const DataField& field) {
  switch (field.kind) {
    case DataField::Kind::Text:
      return field.text;
    case DataField::Kind::Number: {
      const std::string digits = std::to_string(field.number < 0 ? -field.number : field.number);
      return (field.number < 0 ? "-" : " ") + digits + " ";
    }
    case DataField::Kind::Nothing:
      break;
  }
  return {};
}

}  // namespace

ParsedDataLine ParseDataLine(const std::string& line) {
  ParsedDataLine parsed;
  if (Columns(line, 1, 1) == "*") {
    parsed.kind = DataLineKind::Comment;
    return parsed;
  }
  if (Columns(line, 2, 3) == "END" || Columns(line, 1, 3) == "END") {
    parsed.kind = DataLineKind::End;
    return parsed;
  }
  if (Columns(line, 1, 3) == "   " || TrimmedBlanks(line).empty()) {
    parsed.kind = DataLineKind::NoChannel;
    return parsed;
  }
  parsed.kind = DataLineKind::Channel;
  parsed.MemChannelText = Columns(line, 4, 1) == " " ? Columns(line, 2, 2) : Columns(line, 2, 3);
  // Blanks round the digits are what a hand-written short frequency ("7.050") leaves.
  const std::string written = TrimmedBlanks(Columns(line, 15, 8));
  if (written.find('.') == std::string::npos) {
    parsed.MemFrequencyDigits = written;
  } else if (const auto digits = FrequencyByDots(written)) {
    parsed.MemFrequencyDigits = *digits;
  } else {
    parsed.MemFrequencyDigits = Without(written, '.');
    parsed.FrequencyProblem = "frequency " + written + " cannot be read as MM.kkk.h";
  }
  // The whole zone, so that the five-letter "RTTYr" comes back as it was written.
  parsed.MemModeText = Without(Columns(line, 29, kPrintZoneWidth), ' ');
  parsed.MemFilterText = Columns(line, 47, 1);
  parsed.MemSelectedText = std::string(1, Columns(line, 57, 1) == "Y" ? '1' : '0');
  parsed.MemLabelText = Columns(line, 71, 10);
  return parsed;
}

std::string UploadProblem(const ParsedDataLine& parsed) {
  if (parsed.kind != DataLineKind::Channel) return "no channel line";
  if (std::string problem = ChannelProblem(parsed.MemChannelText); !problem.empty()) return problem;
  if (!parsed.FrequencyProblem.empty()) return parsed.FrequencyProblem;
  const std::string& digits = parsed.MemFrequencyDigits;
  if (!AllDigits(digits) || digits.size() < 3 || digits.size() > 6)
    return "frequency is not 3 to 6 digits";
  if (civ::ModeTypedAs(parsed.MemModeText) == nullptr) return "unknown mode";
  if (civ::FilterTypedAs(parsed.MemFilterText) == nullptr) return "filter is not 1, 2 or 3";
  if (const std::string letter = civ::FirstLinkCodeCharacter(civ::LabelBytes(parsed.MemLabelText));
      !letter.empty())
    return "label holds " + letter + ", whose byte is one of the link's own codes";
  return {};
}

DataLineDisplay DisplayDataLine(const std::string& line) {
  DataLineDisplay shown;
  shown.Text1 = Columns(line, 2, 3);
  shown.Text3 = Columns(line, 15, 8);
  // The whole zone, so that "RTTYr" is shown as it is written; a shorter mode keeps the four
  // columns it always had ("USB ").
  const std::string zone = Columns(line, 29, kPrintZoneWidth);
  const std::size_t last = zone.find_last_not_of(' ');
  shown.Text4 =
      last != std::string::npos && last >= 4 ? zone.substr(0, last + 1) : Columns(line, 29, 4);
  shown.Text5 = Columns(line, 43, 5);
  shown.Text2 = Columns(line, 57, 1);
  shown.Text6 = Columns(line, 71, 12);
  shown.Text7 = line;
  return shown;
}

std::string FormatDataLine(const std::vector<DataField>& fields) {
  std::string line;
  for (std::size_t i = 0; i < kDataLineFields; ++i) {
    if (i < fields.size()) line += FieldText(fields[i]);
    if (i + 1 == kDataLineFields) break;
    const std::size_t nextZone = (line.size() / kPrintZoneWidth + 1) * kPrintZoneWidth;
    line.resize(nextZone, ' ');
  }
  return line;
}

std::vector<DataField> DataFileTitleFields(const std::string& dataFileName) {
  return {DataField::Empty(), DataField::Empty(), DataField::Empty(),
          DataField::Empty(), DataField::Empty(), DataField::OfText(dataFileName)};
}

std::vector<DataField> DataFileEmptyFields() { return std::vector<DataField>(kDataLineFields); }

std::vector<DataField> DataFileHeaderFields() {
  return {DataField::OfText("*Ch#"),   DataField::OfText("Freq..:."),
          DataField::OfText("Mode"),   DataField::OfText("Fil #"),
          DataField::OfText("Select"), DataField::OfText("Label.....**")};
}

std::vector<DataField> DataFileEndFields() {
  std::vector<DataField> fields(kDataLineFields);
  fields[0] = DataField::OfText(" END");
  return fields;
}

std::vector<DataField> DataFileChannelFields(long channel, const std::string& frequency,
                                             const std::string& mode, const std::string& filter,
                                             const std::string& selectedMark,
                                             const std::string& label) {
  DataField selected;
  if (selectedMark == "*") selected = DataField::OfText("Yes");
  if (selectedMark == " ") selected = DataField::OfText("   ");
  return {DataField::OfNumber(channel),
          DataField::OfText(frequency),
          DataField::OfText(mode),
          DataField::OfText(filter),
          selected,
          DataField::OfText(label)};
}

}  // namespace tavrin
