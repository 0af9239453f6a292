// The data file window: the default file, an existing file, a new empty file, and leaving.
#include <gtest/gtest.h>

#include <filesystem>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

class DataWindowTest : public MemoryFixture {
 protected:
  DataMain& Data() { return program->data; }
  void Open() {
    StartProgram();
    Data().Show();
  }
};

TEST_F(DataWindowTest, OpensShowingTheFileInUse) {
  Open();
  EXPECT_EQ(Data().Caption, "Data File Setup");
  EXPECT_EQ(Data().Text1, PathOf("KESTRA.TXT"));
  EXPECT_TRUE(Data().Text1Bold);
  EXPECT_EQ(Data().Text2, "");
  EXPECT_TRUE(Data().Visible);
}

TEST_F(DataWindowTest, UseDefaultFileAsksAndThenHoldsTheFullPath) {
  WriteFile("OTHER.TXT", "");
  Open();
  std::string other = PathOf("OTHER.TXT");
  ASSERT_TRUE(program->dataFile.OpenDataFile(other, "Input"));
  State().DeftFile = "kestra.txt";

  desktop.AnswerNo();
  Data().Click("Command1");
  EXPECT_EQ(State().DataFilePath, PathOf("OTHER.TXT"));
  EXPECT_EQ(Data().Text2, "");

  for (int time = 0; time < 2; ++time) {
    desktop.boxes.clear();
    desktop.AnswerYes();
    Data().Click("Command1");
    ASSERT_EQ(desktop.MessageBoxes().size(), 1u);
    EXPECT_EQ(desktop.boxes[0].title, "Default File");
    EXPECT_EQ(desktop.boxes[0].text, "KESTRA.TXT ... Are you sure?");
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::None);
    EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(State().DeftFile, PathOf("kestra.txt"));
    EXPECT_EQ(State().DataFilePath, PathOf("kestra.txt"));
    EXPECT_EQ(Data().Text1, "");
    EXPECT_EQ(Data().Text2, PathOf("kestra.txt"));
    EXPECT_TRUE(Data().Text2Bold);
    EXPECT_EQ(Memory().Text8, PathOf("kestra.txt"));
  }
}

TEST_F(DataWindowTest, SearchForFileOpensTheChosenFileForReading) {
  WriteFile("FIELD DAY 2024.TXT", "line\r\n");
  Open();
  Data().Click("Command2");  // cancelled
  EXPECT_EQ(State().DataFilePath, PathOf("KESTRA.TXT"));
  EXPECT_EQ(Data().Text1, PathOf("KESTRA.TXT"));

  desktop.ChooseFile(PathOf("FIELD DAY 2024.TXT"));
  Data().Click("Command2");
  const auto& dialog = desktop.boxes.back();
  EXPECT_EQ(dialog.kind, RecordedBox::Kind::File);
  EXPECT_EQ(dialog.text, "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*");
  EXPECT_EQ(dialog.filterIndex, 1);
  EXPECT_EQ(State().DataFilePath, PathOf("FIELD DAY 2024.TXT"));
  EXPECT_EQ(State().DataFileName, "FIELD DAY 2024.TXT");
  EXPECT_TRUE(program->dataFile.OpenForInput());
  EXPECT_EQ(Data().Text1, "");
  EXPECT_EQ(Data().Text2, PathOf("FIELD DAY 2024.TXT"));
  EXPECT_EQ(Memory().Text8, PathOf("FIELD DAY 2024.TXT"));
  EXPECT_TRUE(Memory().Text8Bold);
}

TEST_F(DataWindowTest, OpenNewFileEmptiesTheChosenFileWithoutAsking) {
  WriteFile("OLD LIST FILE.TXT", "precious\r\n");
  Open();
  desktop.ChooseFile(PathOf("OLD LIST FILE.TXT"));
  Data().Click("Command3");
  EXPECT_EQ(desktop.boxes.back().text, "Text Files (*.TXT)|*.TXT|");
  EXPECT_EQ(desktop.MessageBoxes().size(), 0u);
  EXPECT_EQ(ReadFile("OLD LIST FILE.TXT"), "");
  EXPECT_EQ(State().DataFilePath, PathOf("OLD LIST FILE.TXT"));
  EXPECT_TRUE(program->dataFile.OpenForInput());
  EXPECT_EQ(Data().Text2, PathOf("OLD LIST FILE.TXT"));
  EXPECT_EQ(Memory().Text8, PathOf("OLD LIST FILE.TXT"));
}

TEST_F(DataWindowTest, AFailedOpenLeavesTheFieldsNamingTheFileStillInUse) {
  Open();
  desktop.ChooseFile(PathOf("no folder/NEW.TXT"));
  Data().Click("Command3");
  ASSERT_EQ(desktop.MessageBoxes().size(), 1u);
  EXPECT_EQ(desktop.boxes.back().title, "Open File - Unexpected Error");
  EXPECT_EQ(State().DataFilePath, PathOf("KESTRA.TXT"));
  EXPECT_EQ(Data().Text1, PathOf("KESTRA.TXT"));
  EXPECT_EQ(Data().Text2, "");
  EXPECT_EQ(Memory().Text8, PathOf("KESTRA.TXT"));
  EXPECT_FALSE(desktop.ended);
}

TEST_F(DataWindowTest, SearchingAFileThatIsGoneCreatesItAndEndsTheProgram) {
  Open();
  desktop.ChooseFile(PathOf("VANISHED LIST.TXT"));
  Data().Click("Command2");
  EXPECT_TRUE(desktop.ended);
  EXPECT_TRUE(std::filesystem::exists(directory / "VANISHED LIST.TXT"));
  EXPECT_EQ(desktop.MessageBoxes().back().title, "Restart (creating missing file)");
}

TEST_F(DataWindowTest, ReturnClearsTheMemoryWindowAndQuitDoesNot) {
  Open();
  Memory().Text1 = "5";
  Memory().Text7 = "progress";
  Memory().Text8 = "file";
  Data().Quit();
  EXPECT_FALSE(Data().Visible);
  EXPECT_EQ(Memory().Text1, "5");

  Data().Show();
  Data().Click("Command0");
  EXPECT_FALSE(Data().Visible);
  EXPECT_EQ(Memory().Text1, "");
  EXPECT_EQ(Memory().Text7, "");
  EXPECT_EQ(Memory().Text8, "file");

  Data().Help();
  EXPECT_EQ(desktop.boxes.back().title, "Help");
  EXPECT_EQ(desktop.boxes.back().text, "Help Yourself");
}

}  // namespace
}  // namespace tavrin::testing
