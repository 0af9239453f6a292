// SPDX-License-Identifier: GPL-3.0-or-later
// The text layout of the memory data file: writing lines in print zones, taking them apart,
// and showing them in the memory window. The lines "Create File" writes are checked byte for
// byte in the rig transfer tests; here are the corners of the layout.
#include "memory/data_line.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {
namespace {

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

TEST(FormatDataLine, LaysFieldsOutInFourteenColumnZones) {
  const struct {
    const char* name;
    std::vector<DataField> fields;
    std::string expected;
  } cases[] = {
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

TEST(ParseDataLine, ClassifiesLinesAndTakesChannelsApart) {
  // END in columns 2 to 4 or in columns 1 to 3 ends; a star starts a comment whatever follows
  // it; a line of blanks, however short (an editor strips trailing blanks), has no channel.
  const std::vector<std::pair<std::string, DataLineKind>> kinds = {
      {" END" + Blanks(66), DataLineKind::End},
      {"END", DataLineKind::End},
      {"*END", DataLineKind::Comment},
      {"*END OF HF", DataLineKind::Comment},
      {"*Ch#  Freq", DataLineKind::Comment},
      {Blanks(70) + "KESTRA.TXT", DataLineKind::NoChannel},
      {Blanks(70), DataLineKind::NoChannel},
      {"  ", DataLineKind::NoChannel},
      {"", DataLineKind::NoChannel},
      {" 5", DataLineKind::Channel}};
  for (const auto& [line, kind] : kinds) EXPECT_EQ(ParseDataLine(line).kind, kind) << line;

  const auto format = [](int channel, const char* frequency, const char* mode, const char* filter,
                         const char* select, const char* label) {
    return FormatDataLine(DataFileChannelFields(channel, frequency, mode, filter, select, label));
  };
  const std::string channel7 = format(7, "07.050.0", "LSB", "Fil 2", " ", "NET");
  const std::vector<std::string> values7 = {"7 ", "070500", "LSB", "2", "0", "NET"};
  // The line, then channel, digits, mode, filter, selected and label as parsed.
  const std::vector<std::pair<std::string, std::vector<std::string>>> channels = {
      {channel7, values7},  // a one-digit channel keeps its blank
      {format(42, "14.225.0", "USB", "Fil 1", "*", "DX"), {"42", "142250", "USB", "1", "1", "DX"}},
      {format(100, "21.300.0", "AM", "Fil 3", " ", "P1"), {"100", "213000", "AM", "3", "0", "P1"}},
      // A short hand-written frequency is read by its dots; a label is cut to ten.
      {format(4, "7.050", "LSB", "Fil 2", " ", ""), {"4 ", "070500", "LSB", "2", "0", ""}},
      {format(3, "07.100.0", "CW", "Fil 1", " ", "ABCDEFGHIJKL"),
       {"3 ", "071000", "CW", "1", "0", "ABCDEFGHIJ"}},
      // Only "Yes" in column 57 selects: no other letter there, nothing in column 58.
      {channel7.substr(0, 56) + "N" + channel7.substr(57), values7},
      {channel7.substr(0, 57) + "Y" + channel7.substr(58), values7}};
  for (const auto& [line, values] : channels) {
    const ParsedDataLine p = ParseDataLine(line);
    EXPECT_EQ((std::vector<std::string>{p.MemChannelText, p.MemFrequencyDigits, p.MemModeText,
                                        p.MemFilterText, p.MemSelectedText, p.MemLabelText}),
              values)
        << line;
  }
  // Every mode the decoder names comes back whole, reversed ones too, and can be uploaded.
  for (const char* mode : {"LSB", "USB", "AM", "CW", "RTTY", "FM", "CWr", "RTTYr"}) {
    const ParsedDataLine parsed = ParseDataLine(format(12, "03.573.0", mode, "Fil 2", "*", "X"));
    EXPECT_EQ(parsed.MemModeText, mode);
    EXPECT_EQ(UploadProblem(parsed), "") << mode;
  }
}

TEST(UploadProblem, NamesWhyALineCannotBeStored) {
  const std::string digits = "frequency is not 3 to 6 digits";
  const std::string channel = "channel is not 1 to 101";
  const std::string number = "channel is not a number";
  const std::string filter = "filter is not 1, 2 or 3";
  // Channel, frequency, mode and filter columns; the problem.
  const std::vector<std::array<std::string, 5>> cases = {
      {"5", "14.195.0", "USB", "Fil 2", ""},
      {"101", "07.050.0", "lsb", "Fil 1", ""},
      {"99", "7.050", "CWR", "Fil 3", ""},
      {"5", "14.1A5.0", "USB", "Fil 2", "frequency 14.1A5.0 cannot be read as MM.kkk.h"},
      {"5", "1.4.5", "USB", "Fil 2", "frequency 1.4.5 cannot be read as MM.kkk.h"},
      {"5", "14195000", "USB", "Fil 2", digits},
      {"5", "14 195.0", "USB", "Fil 2", "frequency 14 195.0 cannot be read as MM.kkk.h"},
      {"5", "7", "USB", "Fil 2", digits},
      {"5", "", "USB", "Fil 2", digits},
      {"102", "14.195.0", "USB", "Fil 2", channel},
      {"110", "14.195.0", "USB", "Fil 2", channel},
      {"0", "14.195.0", "USB", "Fil 2", channel},
      {"X7", "14.195.0", "USB", "Fil 2", number},
      {"-5", "14.195.0", "USB", "Fil 2", number},
      {"5", "14.195.0", "Lsb2", "Fil 2", "unknown mode"},
      {"5", "14.195.0", "", "Fil 2", "unknown mode"},
      {"5", "14.195.0", "USB", "Fil 4", filter},
      {"5", "14.195.0", "USB", "Fil", filter}};
  for (const auto& [ch, frequency, mode, fil, problem] : cases) {
    const std::string line = " " + ch + Blanks(13 - ch.size()) + frequency +
                             Blanks(14 - frequency.size()) + mode + Blanks(14 - mode.size()) + fil +
                             Blanks(14 - fil.size()) + Blanks(14) + "LABEL";
    EXPECT_EQ(UploadProblem(ParseDataLine(line)), problem) << line;
  }
  EXPECT_EQ(UploadProblem(ParseDataLine(" END")), "no channel line");
  // A label letter whose byte is a link code (FD ends a frame) cannot travel in the frame.
  const std::string good = " 5            14.195.0      USB           Fil 2" + Blanks(28);
  EXPECT_EQ(UploadProblem(ParseDataLine(good + "SCH\xDCTZ")), "");
  EXPECT_EQ(UploadProblem(ParseDataLine(good + "Sch\xFCtz")),
            "label holds \xFC, whose byte is one of the link's own codes");
}

TEST(DisplayDataLine, ShowsWhatAShortLineHolds) {
  const std::string line = " 5  14";
  const DataLineDisplay shown = DisplayDataLine(line);
  EXPECT_EQ(shown.Text1, "5  ");
  EXPECT_EQ(shown.Text3, "");
  EXPECT_EQ(shown.Text6, "");
  EXPECT_EQ(shown.Text7, line);
  EXPECT_EQ(DisplayDataLine("").Text1, "");
}

TEST(ParseDataLine, ReadsAFrequencyByItsDots) {
  // As written in the frequency zone; the six digits uploaded, or why it cannot be read.
  struct Case {
    const char* written;
    const char* digits;
    const char* problem;
  };
  const Case cases[] = {
      {"07.050.0", "070500", ""},
      {"7.050.0", "070500", ""},
      {"7.050", "070500", ""},
      {"7.05", "070500", ""},
      {"7.0500", "070500", ""},
      {"7.", "070000", ""},
      {"14.2255", "142255", ""},
      {"29.6", "296000", ""},
      {"7.05000", "070500", ""},
      {"14225", "14225", ""},  // without dots: the digits as typed, MMkkk
      {"7.05001", "070500", "frequency 7.05001 cannot be read as MM.kkk.h"},
      {"7.05.0", "7050", "frequency 7.05.0 cannot be read as MM.kkk.h"},
      {"144.300", "144300", "frequency 144.300 cannot be read as MM.kkk.h"},
      {".050", "050", "frequency .050 cannot be read as MM.kkk.h"},
  };
  for (const Case& c : cases) {
    const std::string line = " 5" + Blanks(12) + c.written +
                             Blanks(14 - std::string(c.written).size()) + "USB" + Blanks(11) +
                             "Fil 2";
    const ParsedDataLine parsed = ParseDataLine(line);
    if (std::string(c.problem).empty()) {
      EXPECT_EQ(parsed.MemFrequencyDigits, c.digits) << c.written;
    }
    EXPECT_EQ(parsed.FrequencyProblem, c.problem) << c.written;
    EXPECT_EQ(UploadProblem(parsed), c.problem) << c.written;
  }
}

TEST(DisplayDataLine, ShowsTheWholeModeZone) {
  const auto modeShown = [](const std::string& mode) {
    return DisplayDataLine(" 5" + Blanks(12) + "14.085.5" + Blanks(6) + mode +
                           Blanks(14 - mode.size()) + "Fil 3")
        .Text4;
  };
  EXPECT_EQ(modeShown("RTTYr"), "RTTYr");
  EXPECT_EQ(modeShown("RTTY"), "RTTY");
  EXPECT_EQ(modeShown("USB"), "USB ");
  EXPECT_EQ(modeShown("CWr"), "CWr ");
  EXPECT_EQ(DisplayDataLine(" 5" + Blanks(12) + "14.085.5" + Blanks(6) + "AM").Text4, "AM");
}

}  // namespace
}  // namespace tavrin
