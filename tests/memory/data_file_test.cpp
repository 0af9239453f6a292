// SPDX-License-Identifier: GPL-3.0-or-later
// Opening, reading and writing the memory data file, and the boxes for what goes wrong.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

class DataFileTest : public MemoryFixture {
 protected:
  DataFile& File() { return Program().dataFile; }
  Station& State() { return Program().station; }
  bool Open(std::string name, const char* mode) { return File().OpenDataFile(name, mode); }
};

TEST_F(DataFileTest, ShortNamesAreTakenFromTheCurrentDirectoryLongOnesAsTheyAre) {
  // The name given, the full path then used, and the bare name in capitals.
  const std::vector<std::array<std::string, 3>> cases = {
      {"KESTRA.TXT", PathOf("KESTRA.TXT"), "KESTRA.TXT"},
      {"kestra.txt", PathOf("kestra.txt"), "KESTRA.TXT"},
      {"ABCDEFGH.TXT", PathOf("ABCDEFGH.TXT"), "ABCDEFGH.TXT"},  // 12 characters
      {"ABCDEFGHI.TXT", "ABCDEFGHI.TXT", "ABCDEFGHI.TXT"},       // 13 characters
      {PathOf("lists/field day.txt"), PathOf("lists/field day.txt"), "FIELD DAY.TXT"}};
  std::filesystem::create_directories(directory / "lists");
  for (const auto& [given, path, bare] : cases) {
    std::string name = given;
    ASSERT_TRUE(File().OpenDataFile(name, "Output")) << given;
    EXPECT_EQ(name, path) << "the full path is written back";
    EXPECT_EQ(State().DataFilePath, path);
    EXPECT_EQ(State().DataFileName, bare);
    EXPECT_TRUE(State().DataFileOpen);
    EXPECT_TRUE(File().OpenForOutput());
  }
  File().CloseDataFile();
  EXPECT_FALSE(State().DataFileOpen);
  EXPECT_TRUE(desktop.boxes.empty());
  // The 13-character name was used as it is, which on this system is the working directory.
  EXPECT_TRUE(std::filesystem::exists(directory / "ABCDEFGHI.TXT"));
}

TEST_F(DataFileTest, APathNotFoundLeavesTheFileInUseAMissingFileIsCreatedForARestart) {
  WriteFile("KESTRA.TXT", "");
  ASSERT_TRUE(Open("KESTRA.TXT", "Input"));
  const std::string missing = PathOf("no such folder/LIST.TXT");
  for (const char* mode : {"Output", "Input"}) {
    desktop.boxes.clear();
    std::string name = missing;
    EXPECT_FALSE(File().OpenDataFile(name, mode));
    EXPECT_EQ(name, missing) << "nothing written back";
    EXPECT_EQ(Messages(),
              (Shown{{"Open File - Unexpected Error",
                      "Error Code 76 ... Path not found ... " + missing + " ... " + mode}}));
    EXPECT_EQ(State().DataFilePath, PathOf("KESTRA.TXT"));
    EXPECT_EQ(State().DataFileName, "KESTRA.TXT");
  }
  EXPECT_FALSE(desktop.ended);

  desktop.boxes.clear();
  EXPECT_FALSE(Open("NEWLIST.TXT", "Input"));
  EXPECT_EQ(Messages(), (Shown{{"Open File Error",
                                "Error Code 53 ... File not found ... NEWLIST.TXT ... Input "
                                "... File will be created."},
                               {"Restart (creating missing file)", "Restart program!"}}));
  for (const auto& box : desktop.MessageBoxes()) EXPECT_EQ(box.icon, BoxIcon::Critical);
  EXPECT_TRUE(desktop.ended);
  EXPECT_EQ(ReadFile("NEWLIST.TXT"), "");
  EXPECT_TRUE(std::filesystem::exists(directory / "NEWLIST.TXT"));
  EXPECT_EQ(State().DataFilePath, PathOf("NEWLIST.TXT"));
  EXPECT_FALSE(State().DataFileOpen);
}

TEST_F(DataFileTest, ReopenCreatesAFileThatHasGoneButNotAFolder) {
  WriteFile("KESTRA.TXT", "line\r\n");
  ASSERT_TRUE(Open("KESTRA.TXT", "Input"));
  File().CloseDataFile();
  std::filesystem::remove(directory / "KESTRA.TXT");
  EXPECT_TRUE(File().ReopenDataFile("Input"));
  EXPECT_EQ(
      Messages(),
      (Shown{{"Re-Open File Error", "Error Code 53 ... File not found ... " + PathOf("KESTRA.TXT") +
                                        " ... Input ... File will be created."}}));
  EXPECT_FALSE(desktop.ended);
  EXPECT_TRUE(State().DataFileOpen);
  EXPECT_TRUE(File().OpenForInput());
  EXPECT_TRUE(File().AtEnd());
  EXPECT_EQ(State().DataFilePath, PathOf("KESTRA.TXT"));

  desktop.boxes.clear();
  std::filesystem::create_directories(directory / "gone");
  ASSERT_TRUE(Open(PathOf("gone/LIST.TXT"), "Output"));
  std::filesystem::remove_all(directory / "gone");
  EXPECT_FALSE(File().ReopenDataFile("Input"));
  EXPECT_EQ(
      Messages(),
      (Shown{{"Re-Open File - Unexpected Error",
              "Error Code 76 ... Path not found ... " + PathOf("gone/LIST.TXT") + " ... Input"}}));
  EXPECT_FALSE(State().DataFileOpen);
  EXPECT_FALSE(File().OpenForInput());
  EXPECT_EQ(State().DataFilePath, PathOf("gone/LIST.TXT"));
}

TEST_F(DataFileTest, WritesLinesWithCarriageReturnAndLineFeedAsTheyGoAndReadsEitherLineEnd) {
  ASSERT_TRUE(Open("KESTRA.TXT", "Output"));
  File().DataFileWriter(DataFileEndFields());
  // Readable by another program before the file is closed.
  EXPECT_EQ(ReadFile("KESTRA.TXT"), " END" + std::string(66, ' ') + "\r\n");
  File().DataFileWriter(DataFileTitleFields("KESTRA.TXT"));
  // Opening another file closes this one with everything written.
  ASSERT_TRUE(Open("OTHER.TXT", "Output"));
  EXPECT_EQ(ReadFile("KESTRA.TXT"),
            " END" + std::string(66, ' ') + "\r\n" + std::string(70, ' ') + "KESTRA.TXT\r\n");
  // Reading while open for writing gives nothing and writing while open for reading nothing.
  std::string line = "kept";
  File().ReadDataLine(line);
  EXPECT_EQ(line, "kept");
  ASSERT_TRUE(File().ReopenDataFile("Input"));
  File().DataFileWriter(DataFileEndFields());
  EXPECT_EQ(ReadFile("OTHER.TXT"), "");

  // A line feed alone ends a line too; past the end the last line stays.
  WriteFile("KESTRA.TXT", "first\r\nsecond\nthird");
  ASSERT_TRUE(Open("KESTRA.TXT", "Input"));
  std::vector<std::string> lines;
  for (int i = 0; i < 5; ++i) {
    File().ReadDataLine(line);
    lines.push_back(line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "third", "third", "third"}));
  EXPECT_TRUE(File().AtEnd());
}

}  // namespace
}  // namespace tavrin::testing
