// SPDX-License-Identifier: GPL-3.0-or-later
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
  // The file in use as the three fields that name it show it.
  void ExpectInUse(const std::string& path, bool chosenHere) {
    EXPECT_EQ(State().DataFilePath, path);
    EXPECT_EQ(Data().Text1, chosenHere ? "" : path);
    EXPECT_EQ(Data().Text2, chosenHere ? path : "");
    EXPECT_EQ(Memory().Text8, path);
  }
};

TEST_F(DataWindowTest, UseDefaultFileAsksAndThenHoldsTheFullPath) {
  WriteFile("OTHER.TXT", "");
  Open();
  EXPECT_EQ(Data().Caption, "Data File Setup");
  EXPECT_EQ(Data().Text1, PathOf("KESTRA.TXT"));
  EXPECT_TRUE(Data().Text1Bold);
  EXPECT_EQ(Data().Text2, "");
  std::string other = PathOf("OTHER.TXT");
  ASSERT_TRUE(program->dataFile.OpenDataFile(other, "Input"));
  State().DeftFile = "kestra.txt";

  desktop.AnswerNo();
  Data().Click("Command1");
  EXPECT_EQ(State().DataFilePath, PathOf("OTHER.TXT"));
  EXPECT_EQ(Data().Text2, "");

  // The second time the default is already a full path and is taken as it is.
  for (int time = 0; time < 2; ++time) {
    desktop.boxes.clear();
    desktop.AnswerYes();
    Data().Click("Command1");
    EXPECT_EQ(Messages(), (Shown{{"Default File", "KESTRA.TXT ... Are you sure?"}}));
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::None);
    EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(State().DeftFile, PathOf("kestra.txt"));
    ExpectInUse(PathOf("kestra.txt"), true);
    EXPECT_TRUE(Data().Text2Bold);
  }
}

TEST_F(DataWindowTest, SearchForFileOpensTheChosenFileForReading) {
  WriteFile("FIELD DAY 2024.TXT", "line\r\n");
  Open();
  Data().Click("Command2");  // cancelled: nothing changes, nothing is reported
  ExpectInUse(PathOf("KESTRA.TXT"), false);
  EXPECT_TRUE(Messages().empty());

  desktop.ChooseFile(PathOf("FIELD DAY 2024.TXT"));
  Data().Click("Command2");
  const auto& dialog = desktop.boxes.back();
  EXPECT_EQ(dialog.kind, RecordedBox::Kind::File);
  EXPECT_EQ(dialog.text, "Text Files (*.TXT)|*.TXT|CHIRP CSV (*.csv)|*.csv|All Files (*.*)|*.*");
  EXPECT_EQ(dialog.filterIndex, 1);
  ExpectInUse(PathOf("FIELD DAY 2024.TXT"), true);
  EXPECT_EQ(State().DataFileName, "FIELD DAY 2024.TXT");
  EXPECT_TRUE(program->dataFile.OpenForInput());
  EXPECT_TRUE(Memory().Text8Bold);
}

TEST_F(DataWindowTest, OpenNewFileOnAnExistingFileAsksBeforeEmptyingIt) {
  WriteFile("OLD LIST FILE.TXT", "precious\r\n");
  Open();
  const std::string path = PathOf("OLD LIST FILE.TXT");
  const Shown question = {{"Open New File", path + " exists. Replace it?"}};
  desktop.ChooseFile(path);
  desktop.AnswerNo();
  Data().Click("Command3");
  EXPECT_EQ(desktop.boxes.front().text, "Text Files (*.TXT)|*.TXT|CHIRP CSV (*.csv)|*.csv|");
  EXPECT_EQ(Messages(), question);
  EXPECT_EQ(desktop.boxes.back().buttons, BoxButtons::YesNo);
  EXPECT_EQ(ReadFile("OLD LIST FILE.TXT"), "precious\r\n");
  EXPECT_EQ(program->station.DataFilePath, PathOf("KESTRA.TXT")) << "nothing changed";

  desktop.boxes.clear();
  desktop.ChooseFile(path);
  desktop.AnswerYes();
  Data().Click("Command3");
  EXPECT_EQ(Messages(), question);
  EXPECT_EQ(ReadFile("OLD LIST FILE.TXT"), "");
  EXPECT_TRUE(program->dataFile.OpenForInput());
  ExpectInUse(path, true);

  // A file that does not exist yet is made without a question.
  desktop.boxes.clear();
  desktop.ChooseFile(PathOf("FRESH.TXT"));
  Data().Click("Command3");
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadFile("FRESH.TXT"), "");
}

TEST_F(DataWindowTest, AFailedOpenKeepsTheFileInUseAndAGoneOneEndsTheProgram) {
  Open();
  desktop.ChooseFile(PathOf("no folder/NEW.TXT"));
  Data().Click("Command3");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].first, "Open File - Unexpected Error");
  ExpectInUse(PathOf("KESTRA.TXT"), false);
  EXPECT_FALSE(desktop.ended);

  desktop.ChooseFile(PathOf("VANISHED LIST.TXT"));
  Data().Click("Command2");
  EXPECT_TRUE(desktop.ended);
  EXPECT_TRUE(std::filesystem::exists(directory / "VANISHED LIST.TXT"));
  EXPECT_EQ(Messages().back().first, "Restart (creating missing file)");
}

TEST_F(DataWindowTest, ReturnClearsTheMemoryWindowAndQuitDoesNot) {
  Open();
  EXPECT_TRUE(Data().Visible);
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
  EXPECT_EQ(Messages().back(), (std::pair<std::string, std::string>{"Help", "Help Yourself"}));
}

}  // namespace
}  // namespace tavrin::testing
