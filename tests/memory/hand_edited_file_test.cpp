// SPDX-License-Identifier: GPL-3.0-or-later
// Data files as people leave them after an editor: trailing blanks stripped, short
// frequencies, comments that mention END, a byte order mark. "View File" and "Update Rig" read
// them as their author meant, and files the program writes read back unchanged.
#include <gtest/gtest.h>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

// A channel line with each field padded to its 14-column zone, whatever its length.
std::string HandLine(const std::string& number, const std::string& frequency,
                     const std::string& mode, const std::string& filter, const std::string& select,
                     const std::string& label) {
  std::string line;
  for (const std::string& field : {" " + number, frequency, mode, filter, select})
    line += field + Blanks(14 - field.size());
  return line + label + "\r\n";
}

class HandEditedFileTest : public MemoryFixture {
 protected:
  void SetUp() override { StartProgram(); }
  void UpdateRig() {
    desktop.AnswerYes();
    Memory().Click("Command3");
    AdvanceWhileRunning();
  }
  // Every line of "View File" as shown in the progress line, up to its end.
  std::vector<std::string> Viewed() {
    std::vector<std::string> shown;
    Memory().Click("Command2");
    for (int step = 0; step < 100 && Runs("View File"); ++step) {
      Advance(500);
      shown.push_back(Memory().Text7);
    }
    return shown;
  }
};

TEST_F(HandEditedFileTest, AnEditorsFileLoadsEveryChannelWithoutComplaint) {
  // Trailing blanks stripped (the blank lines are empty), a byte order mark in front, short
  // frequencies, and a comment that begins with END.
  const std::string file =
      "\xEF\xBB\xBF" + HandLine("1", "7.05", "LSB", "Fil 2", "", "FORTY") + "\r\n" +
      "*END OF HF\r\n" + "\r\n" + HandLine("2", "7.0500", "CW", "Fil 1", "", "CW") +
      HandLine("3", "14.2", "USB", "Fil 2", "Yes", "TWENTY") + "   \r\n" +
      Line("4", "07.050.0", "RTTYr", "Fil 3", "", "DIGI") + "\r\n" + " END\r\n";
  WriteFile("KESTRA.TXT", file);
  UpdateRig();
  EXPECT_EQ(Contents(1), (Stored{false, 7'050'000, sim::kModeLsb, 2, false, "FORTY     "}));
  EXPECT_EQ(Contents(2), (Stored{false, 7'050'000, sim::kModeCw, 1, false, "CW        "}));
  EXPECT_EQ(Contents(3), (Stored{false, 14'200'000, sim::kModeUsb, 2, true, "TWENTY    "}));
  EXPECT_EQ(Contents(4), (Stored{false, 7'050'000, sim::kModeRttyReverse, 3, false, "DIGI      "}));
  EXPECT_EQ(Memory().Text7.find("not stored"), std::string::npos) << Memory().Text7;

  // View File shows the first channel (the mark dropped), goes past the comment and ends at
  // the end line.
  const std::vector<std::string> viewed = Viewed();
  ASSERT_GE(viewed.size(), 2u);
  EXPECT_EQ(viewed.front(), HandLine("1", "7.05", "LSB", "Fil 2", "", "FORTY").substr(0, 75));
  EXPECT_EQ(viewed.back(), " END");
  EXPECT_EQ(viewed.size(), 10u);
}

TEST_F(HandEditedFileTest, AFrequencyThatCannotBeReadIsSkippedWithItsReason) {
  WriteFile("KESTRA.TXT", HandLine("5", "7.05.3", "LSB", "Fil 2", "", "ODD") +
                              Line("6", "14.250.0", "USB", "Fil 2", "", "GOOD") + " END\r\n");
  UpdateRig();
  EXPECT_TRUE(rig.Channel(5).blank) << "never stored as another value";
  EXPECT_FALSE(rig.Channel(6).blank);
  EXPECT_NE(Memory().Text7.find("1 lines not stored: line 1 (frequency 7.05.3 cannot be read as "
                                "MM.kkk.h)"),
            std::string::npos)
      << Memory().Text7;
}

TEST_F(HandEditedFileTest, AFileTheProgramWroteReadsBackUnchanged) {
  rig.SetChannel(7, sim::MemoryChannel::Filled(7'050'000, sim::kModeLsb, 2, "NET", true));
  rig.SetChannel(8, sim::MemoryChannel::Filled(14'085'500, sim::kModeRttyReverse, 3, "RTTY R"));
  desktop.AnswerYes();
  Memory().Click("Command1");
  AdvanceWhileRunning();
  const std::string written = ReadFile("KESTRA.TXT");
  const std::vector<std::string> viewed = Viewed();
  std::string joined;
  for (const std::string& line : viewed) joined += line + "\r\n";
  EXPECT_EQ(joined, written) << "every line shown as written, up to the end line";
  EXPECT_EQ(ReadFile("KESTRA.TXT"), written);
}

}  // namespace
}  // namespace tavrin::testing
