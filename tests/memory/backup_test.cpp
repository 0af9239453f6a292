// SPDX-License-Identifier: GPL-3.0-or-later
// "Create File" never loses a channel: the old backup stays byte for byte until a complete new
// one takes its place, whatever ends the pass early, and only well-formed answers become data.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <functional>

#include "memory/memory_answer.h"
#include "memory/memory_fixture.h"
#include "sim/hex.h"

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
      {"transceiver silent on a noisy line",
       [this] {
         rig.SetSilent(true);
         serial.Line().AddStrayBytes(500, clock.NowMicros(), 1'600'000);
       },
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

TEST_F(BackupTest, ANoisyLineOrAFloodOfBroadcastsCostsNoChannel) {
  rig.SetChannel(60, MemoryChannel::Filled(28'500'000, sim::kModeUsb, 2, "SIXTY"));
  StartCreateFile();
  AdvanceWhileRunning();
  const std::string clean = ReadFile("KESTRA.TXT");
  ASSERT_NE(clean.find(Line("20", "14.200.0", "USB", "Fil 2", "   ", "CH") +
                       Line("60", "28.500.0", "USB", "Fil 2", "   ", "SIXTY")),
            std::string::npos);
  // Each disturbance lasts longer than a pass with all its retries.
  constexpr std::int64_t kMicros = 45'000'000;
  for (const LineDisturbance& c : kLineDisturbances) {
    SCOPED_TRACE(c.name);
    WriteFile("KESTRA.TXT", kOldBackup);
    desktop.boxes.clear();
    c.start(serial.Line(), clock.NowMicros(), kMicros);
    StartCreateFile();
    AdvanceWhileRunning();
    EXPECT_EQ(ReadFile("KESTRA.TXT"), clean);
    EXPECT_EQ(Memory().Text7, "END");
    EXPECT_EQ(Messages().size(), 1u) << "nothing to say after the question";
    Advance(static_cast<int>(kMicros / 1000));  // the line is quiet again
  }
}

TEST_F(BackupTest, APassThatMissesChannelsAsksBeforeItReplacesTheBackup) {
  // A flood of broadcasts at line rate, and twelve channels whose answers are damaged on every
  // try.
  serial.Line().FloodBroadcasts(0, 0);
  const std::vector<int> damaged = {3, 4, 5, 6, 7, 9, 11, 12, 13, 14, 15, 20};
  for (const int n : damaged)
    serial.Line().AlterMemoryAnswer(n, {AnswerFault::Kind::ChangeByte, 14, 0x06}, -1);
  std::string newPass = Blanks(70) + "KESTRA.TXT\r\n" + kEmptyLine + kHeaderLine + kEmptyLine;
  for (const int n : {1, 2, 8, 10, 16, 17, 18, 19})
    newPass += Line(std::to_string(n), "14." + std::to_string(n + 100).substr(1) + "0.0", "USB",
                    "Fil 2", "   ", "CH");
  newPass += kEmptyLine + kHeaderLine + kEmptyLine + kEndLine;
  const std::string missing = "no answer for channels 3 to 7, 9, 11 to 15, 20";

  // No, the default: the old backup stays as it was, the new pass beside it. Nothing is sent
  // while the question waits for an answer.
  std::size_t sentWhileAsking = 0;
  desktop.whileShown = [&] {
    if (desktop.boxes.size() < 2) return;
    const std::size_t before = Sent().size();
    Advance(5000);
    sentWhileAsking = Sent().size() - before;
  };
  StartCreateFile();
  AdvanceWhileRunning();
  desktop.whileShown = nullptr;
  EXPECT_EQ(sentWhileAsking, 0u);
  EXPECT_EQ(ReadFile("KESTRA.TXT"), kOldBackup);
  EXPECT_EQ(ReadFile("KESTRA-NEW.TXT"), newPass);
  EXPECT_EQ(DirectoryNames(),
            (std::vector<std::string>{"KESTRA-NEW.TXT", "KESTRA.INI", "KESTRA.TXT"}));
  EXPECT_EQ(Messages(), (Shown{{"Create File", "KESTRA.TXT ... Are you sure?"},
                               {"Create File",
                                "No answer for channels 3 to 7, 9, 11 to 15, 20 ... "
                                "KESTRA-NEW.TXT holds the pass without them ... "
                                "Replace KESTRA.TXT with it?"}}));
  ASSERT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(desktop.boxes[1].buttons, BoxButtons::YesNoDefaultNo);
  EXPECT_EQ(desktop.boxes[1].icon, BoxIcon::Exclamation);
  EXPECT_EQ(Memory().Text7,
            "END ... " + missing + " ... " + kKept + " ... the new pass is in KESTRA-NEW.TXT");
  EXPECT_FALSE(Runs("Create File"));

  // Yes: the new pass takes the old backup's place.
  desktop.boxes.clear();
  desktop.AnswerYes();
  desktop.AnswerYes();
  Memory().Click("Command1");
  AdvanceWhileRunning();
  EXPECT_EQ(ReadFile("KESTRA.TXT"), newPass);
  EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"KESTRA.INI", "KESTRA.TXT"}));
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Memory().Text7, "END ... " + missing + " ... not in the file");
  EXPECT_TRUE(program->dataFile.OpenForInput());
}

TEST(MemoryAnswerTest, TheAnswerAskedForIsFoundWhereverItStandsAndNothingElseIsTakenForIt) {
  using sim::FromHex;
  const std::string record =
      FromHex("00 07 01 00 50 19 14 00 01 02 00 00 08 85 00 08 85") + "SEVEN     ";
  const std::string echo = FromHex("FE FE 64 E0 1A 00 00 07 FD");
  const std::string head = FromHex("FE FE E0 64 1A 00");
  const std::string answer = head + record + FromHex("FD");
  const std::string blank = FromHex("FE FE E0 64 1A 00 00 07 FF FD");
  const std::string other = head + FromHex("00 08") + record.substr(2) + FromHex("FD");
  const std::string broadcast = FromHex("FE FE 00 64 00 00 50 19 14 00 FD");
  using Kind = MemoryAnswer::Kind;
  struct Case {
    const char* name;
    std::string reply;
    Kind kind;
  };
  const Case cases[] = {
      {"behind its echo", echo + answer, Kind::Filled},
      {"blank", echo + blank, Kind::Blank},
      {"stray bytes around and between",
       FromHex("12 FD") + echo + FromHex("FE 00 FD 33") + answer + FromHex("FE 3C"), Kind::Filled},
      {"a run of FE in front", echo + FromHex("FE FE FE") + answer, Kind::Filled},
      {"broadcasts around it", echo + broadcast + answer + broadcast, Kind::Filled},
      {"behind another channel's answer", echo + other + answer, Kind::Filled},
      {"behind a cut answer", echo + answer.substr(0, 20) + answer, Kind::Filled},
      {"without its echo", answer, Kind::Filled},
      {"only another channel's answer", echo + other, Kind::Malformed},
      {"a cut answer spliced with a broadcast of the right length",
       echo + answer.substr(0, 23) + broadcast, Kind::Malformed},
      {"a byte lost", echo + answer.substr(0, 12) + answer.substr(13), Kind::Malformed},
      {"a byte more", echo + answer.substr(0, 12) + "\x01" + answer.substr(12), Kind::Malformed},
      {"cut by the reply window", echo + answer.substr(0, 30), Kind::Malformed},
      {"only broadcasts", echo + broadcast + broadcast, Kind::Silent},
      {"only its echo and stray bytes", echo + FromHex("00 FE 12 FD"), Kind::Silent},
      {"nothing", "", Kind::Silent},
  };
  for (const Case& c : cases) {
    const MemoryAnswer found = FindMemoryAnswer(c.reply, 7);
    EXPECT_EQ(found.kind, c.kind) << c.name;
    if (c.kind == Kind::Filled) {
      EXPECT_EQ(found.record.Bytes(), record) << c.name;
    }
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
    int unanswered = 0;  // a channel without a well-formed answer on both tries, or none
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
      {"a pass with a channel missing not kept beside",
       {WriteFault::Stage::Commit, EIO, 0},
       102,
       "Error Code 57 ... Input/output error ... " + PathOf("KESTRA-NEW.TXT") + " ... Output ... " +
           kKept,
       true,
       7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.boxes.clear();
    ClearSent();
    files.InjectWriteFault(c.fault);
    if (c.unanswered != 0)
      serial.Line().AlterMemoryAnswer(c.unanswered, {AnswerFault::Kind::DropByte, 8, 0}, 2);
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
