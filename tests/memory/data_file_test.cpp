// Opening, reading and writing the memory data file, and the boxes for what goes wrong.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/program_fixture.h"

namespace tavrin::testing {
namespace {

class DataFileTest : public ProgramFixture {
 protected:
  DataFile& File() { return Program().dataFile; }
  Station& State() { return Program().station; }
};

TEST_F(DataFileTest, ShortNamesAreTakenFromTheCurrentDirectoryLongOnesAsTheyAre) {
  const struct {
    std::string name;
    std::string expectedPath;
    std::string expectedName;
  } cases[] = {
      {"KESTRA.TXT", PathOf("KESTRA.TXT"), "KESTRA.TXT"},
      {"kestra.txt", PathOf("kestra.txt"), "KESTRA.TXT"},
      {"ABCDEFGH.TXT", PathOf("ABCDEFGH.TXT"), "ABCDEFGH.TXT"},  // 12 characters
      {"ABCDEFGHI.TXT", "ABCDEFGHI.TXT", "ABCDEFGHI.TXT"},       // 13 characters
      {PathOf("lists/field day.txt"), PathOf("lists/field day.txt"), "FIELD DAY.TXT"},
  };
  std::filesystem::create_directories(directory / "lists");
  for (const auto& c : cases) {
    std::string name = c.name;
    ASSERT_TRUE(File().OpenDataFile(name, "Output")) << c.name;
    EXPECT_EQ(name, c.expectedPath) << "the full path is written back";
    EXPECT_EQ(State().DataFilePath, c.expectedPath);
    EXPECT_EQ(State().DataFileName, c.expectedName);
    EXPECT_TRUE(State().DataFileOpen);
    EXPECT_TRUE(File().OpenForOutput());
  }
  File().CloseDataFile();
  EXPECT_FALSE(State().DataFileOpen);
  EXPECT_TRUE(desktop.boxes.empty());
  // The 13-character name was used as it is, which on this system is the working directory.
  EXPECT_TRUE(std::filesystem::exists(directory / "ABCDEFGHI.TXT"));
}

TEST_F(DataFileTest, AMissingFileIsCreatedEmptyAndTheProgramEndsForARestart) {
  std::string name = "NEWLIST.TXT";
  EXPECT_FALSE(File().OpenDataFile(name, "Input"));
  const auto boxes = desktop.MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].title, "Open File Error");
  EXPECT_EQ(boxes[0].text,
            "Error Code 53 ... File not found ... NEWLIST.TXT ... Input ... File will be created.");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Critical);
  EXPECT_EQ(boxes[1].title, "Restart (creating missing file)");
  EXPECT_EQ(boxes[1].text, "Restart program!");
  EXPECT_EQ(boxes[1].icon, BoxIcon::Critical);
  EXPECT_TRUE(desktop.ended);
  EXPECT_TRUE(std::filesystem::exists(directory / "NEWLIST.TXT"));
  EXPECT_EQ(ReadFile("NEWLIST.TXT"), "");
  EXPECT_EQ(State().DataFilePath, PathOf("NEWLIST.TXT"));
  EXPECT_FALSE(State().DataFileOpen);
}

TEST_F(DataFileTest, OtherOpenErrorsAreReportedAndLeaveTheFileInUse) {
  WriteFile("KESTRA.TXT", "");
  std::string first = "KESTRA.TXT";
  ASSERT_TRUE(File().OpenDataFile(first, "Input"));
  const struct {
    std::string name;
    const char* mode;
    std::string text;
  } cases[] = {
      {PathOf("no such folder/LIST.TXT"), "Output",
       "Error Code 76 ... Path not found ... " + PathOf("no such folder/LIST.TXT") + " ... Output"},
      {PathOf("no such folder/LIST.TXT"), "Input",
       "Error Code 76 ... Path not found ... " + PathOf("no such folder/LIST.TXT") + " ... Input"},
  };
  for (const auto& c : cases) {
    desktop.boxes.clear();
    std::string name = c.name;
    EXPECT_FALSE(File().OpenDataFile(name, c.mode));
    EXPECT_EQ(name, c.name) << "nothing written back";
    ASSERT_EQ(desktop.MessageBoxes().size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, "Open File - Unexpected Error");
    EXPECT_EQ(desktop.boxes[0].text, c.text);
    EXPECT_EQ(State().DataFilePath, PathOf("KESTRA.TXT"));
    EXPECT_EQ(State().DataFileName, "KESTRA.TXT");
  }
  EXPECT_FALSE(desktop.ended);
}

TEST_F(DataFileTest, ReopenCreatesAFileThatHasGoneAndOpensItInTheAskedMode) {
  WriteFile("KESTRA.TXT", "line\r\n");
  std::string name = "KESTRA.TXT";
  ASSERT_TRUE(File().OpenDataFile(name, "Input"));
  File().CloseDataFile();
  std::filesystem::remove(directory / "KESTRA.TXT");

  EXPECT_TRUE(File().ReopenDataFile("Input"));
  ASSERT_EQ(desktop.MessageBoxes().size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Re-Open File Error");
  EXPECT_EQ(desktop.boxes[0].text, "Error Code 53 ... File not found ... " + PathOf("KESTRA.TXT") +
                                       " ... Input ... File will be created.");
  EXPECT_FALSE(desktop.ended);
  EXPECT_TRUE(State().DataFileOpen);
  EXPECT_TRUE(File().OpenForInput());
  EXPECT_TRUE(File().AtEnd());
  EXPECT_EQ(State().DataFilePath, PathOf("KESTRA.TXT"));
}

TEST_F(DataFileTest, ReopenOfAPathWhoseFolderIsGoneOpensNothing) {
  std::filesystem::create_directories(directory / "gone");
  std::string name = PathOf("gone/LIST.TXT");
  ASSERT_TRUE(File().OpenDataFile(name, "Output"));
  std::filesystem::remove_all(directory / "gone");

  EXPECT_FALSE(File().ReopenDataFile("Input"));
  ASSERT_EQ(desktop.MessageBoxes().size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Re-Open File - Unexpected Error");
  EXPECT_EQ(desktop.boxes[0].text,
            "Error Code 76 ... Path not found ... " + PathOf("gone/LIST.TXT") + " ... Input");
  EXPECT_FALSE(State().DataFileOpen);
  EXPECT_FALSE(File().OpenForInput());
  EXPECT_EQ(State().DataFilePath, PathOf("gone/LIST.TXT"));
}

TEST_F(DataFileTest, ReadsLinesWithEitherLineEndAndLeavesTheLastAtTheEnd) {
  WriteFile("KESTRA.TXT", "first\r\nsecond\nthird");
  std::string name = "KESTRA.TXT";
  ASSERT_TRUE(File().OpenDataFile(name, "Input"));
  std::string line = "before";
  std::vector<std::string> lines;
  for (int i = 0; i < 5; ++i) {
    File().ReadDataLine(line);
    lines.push_back(line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "third", "third", "third"}));
  EXPECT_TRUE(File().AtEnd());
}

TEST_F(DataFileTest, WritesLinesWithCarriageReturnAndLineFeedAsTheyGo) {
  std::string name = "KESTRA.TXT";
  ASSERT_TRUE(File().OpenDataFile(name, "Output"));
  File().DataFileWriter(DataFileEndFields());
  // Readable by another program before the file is closed.
  EXPECT_EQ(ReadFile("KESTRA.TXT"), " END" + std::string(66, ' ') + "\r\n");
  File().DataFileWriter(DataFileTitleFields("KESTRA.TXT"));
  // Opening another file closes this one with everything written.
  std::string other = "OTHER.TXT";
  ASSERT_TRUE(File().OpenDataFile(other, "Output"));
  EXPECT_EQ(ReadFile("KESTRA.TXT"),
            " END" + std::string(66, ' ') + "\r\n" + std::string(70, ' ') + "KESTRA.TXT\r\n");
  // Reading while open for writing gives nothing and writing while open for reading nothing.
  std::string line = "kept";
  File().ReadDataLine(line);
  EXPECT_EQ(line, "kept");
  ASSERT_TRUE(File().ReopenDataFile("Input"));
  File().DataFileWriter(DataFileEndFields());
  EXPECT_EQ(ReadFile("OTHER.TXT"), "");
}

}  // namespace
}  // namespace tavrin::testing
