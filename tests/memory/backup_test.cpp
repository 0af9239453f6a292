// SPDX-License-Identifier: GPL-3.0-or-later
// "Create File" never loses a channel: the old backup stays byte for byte until a complete new
// one takes its place, whatever ends the pass early, and only well-formed answers become data.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

using sim::AnswerFault;
using sim::MemoryChannel;

const std::string kOldBackup = Blanks(70) + "KESTRA.TXT\r\n" + kEmptyLine + kHeaderLine +
                               kEmptyLine + Line("3", "07.050.0", "LSB", "Fil 2", "   ", "OLD 3") +
                               Line("77", "14.230.0", "USB", "Fil 2", "   ", "OLD 77") +
                               kEmptyLine + kHeaderLine + kEmptyLine + kEndLine;
const std::string kKept = "KESTRA.TXT was not changed: the old file was kept";

class BackupTest : public MemoryFixture {
 protected:
  void SetUp() override {
    StartProgram();
    WriteFile("KESTRA.TXT", kOldBackup);
    for (int n = 1; n <= 20; ++n) Fill(n);
  }
  void StartCreateFile() {
    desktop.AnswerYes();
    Memory().Click("Command1");
  }
  // The old backup is there as it was, with nothing beside it, and the program runs on.
  void ExpectOldBackupKept() {
    EXPECT_EQ(ReadFile("KESTRA.TXT"), kOldBackup);
    EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"KESTRA.INI", "KESTRA.TXT"}));
    EXPECT_FALSE(Runs("Create File"));
  }
};

TEST_F(BackupTest, AnythingThatEndsThePassEarlyLeavesTheOldBackup) {
  struct Case {
    const char* name;
    std::function<void()> interrupt;  // run after about ten channels
    std::string box;                  // "" for none
  };
  const Case cases[] = {
      {"cable pulled", [this] { serial.Vanish(); },
       "The transceiver's port went away at channel 11 ... " + kKept},
      {"transceiver silent", [this] { rig.SetSilent(true); },
       "No answer from the transceiver for 5 channels in a row, up to channel 16 ... " + kKept},
      {"Stop", [this] { Memory().Click("Command10"); }, "Create File was stopped ... " + kKept},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.boxes.clear();
    StartCreateFile();
    // The head written and channels 1 to 11 answered; the next step is about to ask 12.
    ASSERT_TRUE(AdvanceUntil([this] { return Memory().Text1 == "11"; }));
    c.interrupt();
    Advance(200 * 8);
    ExpectOldBackupKept();
    EXPECT_FALSE(desktop.ended);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1], (std::pair<std::string, std::string>{"Create File", c.box}));
    serial.PlugBackIn();
    rig.SetSilent(false);
    Advance(3000);  // the port is found again
  }
  // With the transceiver back the same pass gives the whole backup.
  StartCreateFile();
  AdvanceWhileRunning();
  const std::string file = ReadFile("KESTRA.TXT");
  EXPECT_NE(file.find(Line("20", "14.200.0", "USB", "Fil 2", "   ", "CH") + kEmptyLine),
            std::string::npos);
  EXPECT_EQ(Memory().Text7, "END");
}

TEST_F(BackupTest, TheEndOfTheProgramLeavesTheOldBackup) {
  StartCreateFile();
  ASSERT_TRUE(AdvanceUntil([this] { return Memory().Text1 == "10"; }));
  Memory().Click("Command0");  // Exit
  EXPECT_TRUE(desktop.ended);
  program.reset();
  EXPECT_EQ(ReadFile("KESTRA.TXT"), kOldBackup);
  EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"KESTRA.INI", "KESTRA.TXT"}));
}

TEST_F(BackupTest, OnlyAWellFormedAnswerIsData) {
  // Channel 60 holds 28.500.0 USB Fil 2 SIXTY; its first answer is damaged on the line, the
  // one more try at the end of the pass gets it whole.
  rig.SetChannel(60, MemoryChannel::Filled(28'500'000, sim::kModeUsb, 2, "SIXTY"));
  // Positions from the answer's first FE: 0-5 head, 6-7 channel code, 8 select mark, 9-13
  // frequency, 14 mode, 15 filter, 16-22 tone block, 23-32 label, 33 FD.
  struct Case {
    const char* name;
    AnswerFault fault;
  };
  const Case cases[] = {
      {"a byte more", {AnswerFault::Kind::InsertByte, 9, 0x85}},
      {"a byte less", {AnswerFault::Kind::DropByte, 12, 0}},
      {"another channel's code", {AnswerFault::Kind::ChangeByte, 7, 0x61}},
      {"not BCD", {AnswerFault::Kind::ChangeByte, 11, 0x5A}},
      {"unknown mode", {AnswerFault::Kind::ChangeByte, 14, 0x06}},
      {"unknown filter", {AnswerFault::Kind::ChangeByte, 15, 0x07}},
      {"FD missing", {AnswerFault::Kind::ChangeByte, 33, 0x20}},
      {"wrong address", {AnswerFault::Kind::ChangeByte, 2, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.boxes.clear();
    serial.Line().AlterMemoryAnswer(60, c.fault, 1);
    StartCreateFile();
    AdvanceWhileRunning();
    const std::string file = ReadFile("KESTRA.TXT");
    EXPECT_NE(file.find(Line("20", "14.200.0", "USB", "Fil 2", "   ", "CH") +
                        Line("60", "28.500.0", "USB", "Fil 2", "   ", "SIXTY")),
              std::string::npos)
        << file;
    EXPECT_EQ(Memory().Text7, "END");
    EXPECT_EQ(SentStartingWith(Bytes({0x1A, 0x00, 0x00, 0x60})).size(), 2u);
    ClearSent();
  }
}

TEST_F(BackupTest, AWriteErrorIsReportedAtOnceAndLeavesTheOldBackup) {
  const std::string error = [&] {
    return " ... " + PathOf("KESTRA.TXT") + " ... Output ... " + kKept;
  }();
  struct Case {
    const char* name;
    WriteFault fault;
    int stepsBeforeBox;  // 0: at the click
    std::string box;
    bool anythingSent;
  };
  const Case cases[] = {
      {"read-only folder",
       {WriteFault::Stage::Create, EROFS, 0},
       0,
       "Error Code 75 ... Read-only file system" + error,
       false},
      {"disk full at the head",
       {WriteFault::Stage::Write, ENOSPC, 100},
       0,
       "Error Code 61 ... No space left on device" + error,
       false},
      {"disk full at the channels",
       {WriteFault::Stage::Write, ENOSPC, 700},
       101,
       "Error Code 61 ... No space left on device" + error,
       true},
      {"file not put in place",
       {WriteFault::Stage::Commit, EIO, 0},
       101,
       "Error Code 57 ... Input/output error" + error,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.boxes.clear();
    ClearSent();
    files.InjectWriteFault(c.fault);
    StartCreateFile();
    if (c.stepsBeforeBox == 0) {
      EXPECT_EQ(Messages().size(), 2u) << "said at the click";
    }
    AdvanceWhileRunning();
    files.InjectWriteFault(std::nullopt);
    ExpectOldBackupKept();
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1], (std::pair<std::string, std::string>{"Create File", c.box}));
    EXPECT_EQ(Memory().Text7, "Create File stopped ... " + c.box);
    EXPECT_EQ(!Sent().empty(), c.anythingSent);
  }
}

}  // namespace
}  // namespace tavrin::testing
