// The text layout of the memory data file: writing lines in print zones, taking them apart,
// and showing them in the memory window.
#include "memory/data_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin {
namespace {

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

struct FormatCase {
  const char* name;
  std::vector<DataField> fields;
  std::string expected;
};

TEST(FormatDataLine, LaysFieldsOutInFourteenColumnZones) {
  const std::vector<FormatCase> cases = {
      {"title", DataFileTitleFields("KESTRA.TXT"), Blanks(70) + "KESTRA.TXT"},
      {"empty", DataFileEmptyFields(), Blanks(70)},
      {"header", DataFileHeaderFields(),
       "*Ch#" + Blanks(10) + "Freq..:." + Blanks(6) + "Mode" + Blanks(10) + "Fil #" + Blanks(9) +
           "Select" + Blanks(8) + "Label.....**"},
      {"end", DataFileEndFields(), " END" + Blanks(66)},
      {"channel 7, not selected", DataFileChannelFields(7, "07.050.0", "LSB", "Fil 2", " ", "NET"),
       " 7" + Blanks(12) + "07.050.0" + Blanks(6) + "LSB" + Blanks(11) + "Fil 2" + Blanks(9) +
           Blanks(14) + "NET"},
      {"channel 42, selected, reversed mode",
       DataFileChannelFields(42, "14.025.5", "RTTYr", "Fil 1", "*", "RTTY CONT"),
       " 42" + Blanks(11) + "14.025.5" + Blanks(6) + "RTTYr" + Blanks(9) + "Fil 1" + Blanks(9) +
           "Yes" + Blanks(11) + "RTTY CONT"},
      {"channel 100, empty label, unknown select mark",
       DataFileChannelFields(100, "28.400.0", "FM", "Fil 3", "Y", ""),
       " 100" + Blanks(10) + "28.400.0" + Blanks(6) + "FM" + Blanks(12) + "Fil 3" + Blanks(9) +
           Blanks(14)},
      {"a field of 14 characters moves the next one a whole zone on",
       {DataField::OfText("ABCDEFGHIJKLMN"), DataField::OfText("X")},
       "ABCDEFGHIJKLMN" + Blanks(14) + "X" + Blanks(13) + Blanks(42)},
      {"negative number", {DataField::OfNumber(-3)}, "-3 " + Blanks(67)},
      {"fields beyond the sixth are dropped", std::vector<DataField>(7, DataField::OfText("A")),
       "A" + Blanks(13) + "A" + Blanks(13) + "A" + Blanks(13) + "A" + Blanks(13) + "A" +
           Blanks(13) + "A"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDataLine(c.fields), c.expected) << c.name;
}

struct ParseCase {
  const char* name;
  std::string line;
  DataLineKind kind;
  ParsedDataLine values;  // compared for channel lines only
};

ParsedDataLine Values(const char* channel, const char* digits, const char* mode, const char* filter,
                      const char* selected, const char* label) {
  return {DataLineKind::Channel, channel, digits, mode, filter, selected, label};
}

TEST(ParseDataLine, ClassifiesLinesAndTakesChannelsApart) {
  const std::string channel7 =
      FormatDataLine(DataFileChannelFields(7, "07.050.0", "LSB", "Fil 2", " ", "NET"));
  const std::vector<ParseCase> cases = {
      {"END in columns 2 to 4", " END" + Blanks(66), DataLineKind::End, {}},
      {"END in columns 1 to 3", "END", DataLineKind::End, {}},
      {"END after a star", "*END", DataLineKind::End, {}},
      {"comment", "*Ch#  Freq", DataLineKind::Comment, {}},
      {"title line", Blanks(70) + "KESTRA.TXT", DataLineKind::NoChannel, {}},
      {"empty text", "", DataLineKind::Channel, Values("", "", "", "", "0", "")},
      {"one-digit channel keeps its blank", channel7, DataLineKind::Channel,
       Values("7 ", "070500", "LSB", "2", "0", "NET")},
      {"two-digit channel, selected",
       FormatDataLine(DataFileChannelFields(42, "14.225.0", "USB", "Fil 1", "*", "DX")),
       DataLineKind::Channel, Values("42", "142250", "USB", "1", "1", "DX")},
      {"channel 100 by hand",
       FormatDataLine(DataFileChannelFields(100, "21.300.0", "AM", "Fil 3", " ", "P1")),
       DataLineKind::Channel, Values("100", "213000", "AM", "3", "0", "P1")},
      {"five-letter reversed mode comes back whole",
       FormatDataLine(DataFileChannelFields(9, "14.080.0", "RTTYr", "Fil 2", " ", "")),
       DataLineKind::Channel, Values("9 ", "140800", "RTTYr", "2", "0", "")},
      {"a short hand-written frequency loses the blanks after it",
       FormatDataLine(DataFileChannelFields(4, "7.050", "LSB", "Fil 2", " ", "")),
       DataLineKind::Channel, Values("4 ", "7050", "LSB", "2", "0", "")},
      {"label cut to ten characters",
       FormatDataLine(DataFileChannelFields(3, "07.100.0", "CW", "Fil 1", " ", "ABCDEFGHIJKL")),
       DataLineKind::Channel, Values("3 ", "071000", "CW", "1", "0", "ABCDEFGHIJ")},
      {"any other letter in the select column is not selected",
       channel7.substr(0, 56) + "N" + channel7.substr(57), DataLineKind::Channel,
       Values("7 ", "070500", "LSB", "2", "0", "NET")},
      {"only column 57 counts for select", channel7.substr(0, 57) + "Y" + channel7.substr(58),
       DataLineKind::Channel, Values("7 ", "070500", "LSB", "2", "0", "NET")},
  };
  for (const auto& c : cases) {
    const ParsedDataLine parsed = ParseDataLine(c.line);
    EXPECT_EQ(parsed.kind, c.kind) << c.name;
    if (c.kind != DataLineKind::Channel) continue;
    EXPECT_EQ(parsed.MemChannelText, c.values.MemChannelText) << c.name;
    EXPECT_EQ(parsed.MemFrequencyDigits, c.values.MemFrequencyDigits) << c.name;
    EXPECT_EQ(parsed.MemModeText, c.values.MemModeText) << c.name;
    EXPECT_EQ(parsed.MemFilterText, c.values.MemFilterText) << c.name;
    EXPECT_EQ(parsed.MemSelectedText, c.values.MemSelectedText) << c.name;
    EXPECT_EQ(parsed.MemLabelText, c.values.MemLabelText) << c.name;
  }
}

TEST(ParseDataLine, ReadsBackEveryModeTheDecoderNames) {
  for (const char* mode : {"LSB", "USB", "AM", "CW", "RTTY", "FM", "CWr", "RTTYr"}) {
    const std::string line =
        FormatDataLine(DataFileChannelFields(12, "03.573.0", mode, "Fil 2", "*", "X"));
    EXPECT_EQ(ParseDataLine(line).MemModeText, mode);
    EXPECT_EQ(UploadProblem(ParseDataLine(line)), "") << mode;
  }
}

TEST(UploadProblem, NamesWhyALineCannotBeStored) {
  auto line = [](const std::string& channel, const std::string& frequency, const std::string& mode,
                 const std::string& filter) {
    return ParseDataLine(" " + channel + Blanks(13 - channel.size()) + frequency +
                         Blanks(14 - frequency.size()) + mode + Blanks(14 - mode.size()) + filter +
                         Blanks(14 - filter.size()) + Blanks(14) + "LABEL");
  };
  const struct {
    ParsedDataLine parsed;
    const char* problem;
  } cases[] = {
      {line("5", "14.195.0", "USB", "Fil 2"), ""},
      {line("101", "07.050.0", "lsb", "Fil 1"), ""},
      {line("99", "7.050", "CWR", "Fil 3"), ""},
      {line("5", "14.1A5.0", "USB", "Fil 2"), "frequency is not 3 to 6 digits"},
      {line("5", "1.4", "USB", "Fil 2"), "frequency is not 3 to 6 digits"},
      {line("5", "14195000", "USB", "Fil 2"), "frequency is not 3 to 6 digits"},
      {line("5", "14 195.0", "USB", "Fil 2"), "frequency is not 3 to 6 digits"},
      {line("5", "", "USB", "Fil 2"), "frequency is not 3 to 6 digits"},
      {line("102", "14.195.0", "USB", "Fil 2"), "channel is not 1 to 101"},
      {line("110", "14.195.0", "USB", "Fil 2"), "channel is not 1 to 101"},
      {line("0", "14.195.0", "USB", "Fil 2"), "channel is not 1 to 101"},
      {line("X7", "14.195.0", "USB", "Fil 2"), "channel is not a number"},
      {line("-5", "14.195.0", "USB", "Fil 2"), "channel is not a number"},
      {line("5", "14.195.0", "Lsb2", "Fil 2"), "unknown mode"},
      {line("5", "14.195.0", "", "Fil 2"), "unknown mode"},
      {line("5", "14.195.0", "USB", "Fil 4"), "filter is not 1, 2 or 3"},
      {line("5", "14.195.0", "USB", "Fil"), "filter is not 1, 2 or 3"},
      {ParseDataLine(" END"), "no channel line"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UploadProblem(c.parsed), c.problem)
        << c.parsed.MemChannelText << "|" << c.parsed.MemFrequencyDigits << "|"
        << c.parsed.MemModeText << "|" << c.parsed.MemFilterText;
}

TEST(DisplayDataLine, ShowsFixedColumnsAndTheWholeLine) {
  const std::string line =
      FormatDataLine(DataFileChannelFields(42, "14.225.0", "RTTYr", "Fil 2", "*", "TWELVE CHARS"));
  const DataLineDisplay shown = DisplayDataLine(line);
  EXPECT_EQ(shown.Text1, "42 ");
  EXPECT_EQ(shown.Text2, "Y");
  EXPECT_EQ(shown.Text3, "14.225.0");
  EXPECT_EQ(shown.Text4, "RTTY");  // four columns only on the window
  EXPECT_EQ(shown.Text5, "Fil 2");
  EXPECT_EQ(shown.Text6, "TWELVE CHARS");  // twelve columns: a long label is shown whole
  EXPECT_EQ(shown.Text7, line);

  const DataLineDisplay shortLine = DisplayDataLine(" 5  14");
  EXPECT_EQ(shortLine.Text1, "5  ");
  EXPECT_EQ(shortLine.Text3, "");
  EXPECT_EQ(shortLine.Text6, "");
  EXPECT_EQ(DisplayDataLine("").Text1, "");
}

}  // namespace
}  // namespace tavrin
