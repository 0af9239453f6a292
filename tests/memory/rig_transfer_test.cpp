// SPDX-License-Identifier: GPL-3.0-or-later
// Copying the transceiver's memory channels into the data file and back: "Create File",
// "Update Rig", "View File", and the round trip through a file on the simulated transceiver.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "memory/chirp_csv.h"
#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

using sim::MemoryChannel;

class RigTransferTest : public MemoryFixture {
 protected:
  void SetUp() override { StartProgram(); }

  // Channels of several kinds; every other channel of 1 to 99 is blank.
  void FillChannels() {
    rig.SetChannel(1, MemoryChannel::Filled(14'195'050, sim::kModeUsb, 2, "DX NET"));
    rig.SetChannel(2, MemoryChannel::Filled(7'050'000, sim::kModeLsb, 2, "40M"));
    rig.SetChannel(3, MemoryChannel::Filled(3'573'000, sim::kModeCwReverse, 1, "", true));
    rig.SetChannel(5,
                   MemoryChannel::Filled(14'085'500, sim::kModeRttyReverse, 3, "ABCDEFGHIJ", true));
    rig.SetChannel(10, MemoryChannel::Filled(5'000'000, sim::kModeAm, 2, "WWV"));
    rig.SetChannel(20, MemoryChannel::Filled(14'080'000, sim::kModeRtty, 1, "RTTY"));
    rig.SetChannel(42, MemoryChannel::Filled(7'040'090, sim::kModeCw, 2, "  QRP"));
    rig.SetChannel(99, MemoryChannel::Filled(29'600'000, sim::kModeFm, 3, "FM CALL", true));
  }

  // The lines "Create File" writes for those channels.
  static std::string FilledLines() {
    return Line("1", "14.195.0", "USB", "Fil 2", "   ", "DX NET") +
           Line("2", "07.050.0", "LSB", "Fil 2", "   ", "40M") +
           Line("3", "03.573.0", "CWr", "Fil 1", "Yes", "") +
           Line("5", "14.085.5", "RTTYr", "Fil 3", "Yes", "ABCDEFGHIJ") +
           Line("10", "05.000.0", "AM", "Fil 2", "   ", "WWV") +
           Line("20", "14.080.0", "RTTY", "Fil 1", "   ", "RTTY") +
           Line("42", "07.040.0", "CW", "Fil 2", "   ", "  QRP") +
           Line("99", "29.600.0", "FM", "Fil 3", "Yes", "FM CALL");
  }

  // What channels 1 to 99 hold now, to compare after a round trip through a file.
  [[nodiscard]] std::map<int, Stored> ChannelsOneTo99() const {
    std::map<int, Stored> held;
    for (int n = 1; n <= 99; ++n) held[n] = Contents(n);
    return held;
  }

  // Every channel holds what it held before, to the 100 Hz a data file line carries.
  void ExpectChannelsAsBefore(const std::map<int, Stored>& before) const {
    for (const auto& [n, was] : before) {
      Stored expected = was;
      std::get<1>(expected) = std::get<1>(expected) / 100 * 100;
      EXPECT_EQ(Contents(n), expected) << n;
    }
  }

  void CreateFile() {
    desktop.AnswerYes();
    Memory().Click("Command1");
    Advance(100 * 200 + 100);
  }

  // "Update Rig" answered Yes, then at most `steps` of its steps (one line a step).
  void UpdateRig(int steps = 400) {
    desktop.AnswerYes();
    Memory().Click("Command3");
    RunUpload(steps);
  }
  void RunUpload(int steps = 400) {
    for (int step = 0; step < steps && Runs("Update Rig"); ++step) Advance(200);
  }
};

TEST_F(RigTransferTest, CreateFileWritesTheLayoutAPersonCanReadAndUpdateRigLoadsItBack) {
  FillChannels();
  const std::map<int, Stored> before = ChannelsOneTo99();
  CreateFile();

  const std::string expected = Blanks(70) + "KESTRA.TXT\r\n" + kEmptyLine + kHeaderLine +
                               kEmptyLine + FilledLines() + kEmptyLine + kHeaderLine + kEmptyLine +
                               kEndLine;
  EXPECT_EQ(ReadFile("KESTRA.TXT"), expected);

  EXPECT_FALSE(Runs("Create File"));
  EXPECT_EQ(Memory().Text1, "END");
  EXPECT_EQ(Memory().Text7, "END");
  // The new file is left open for reading, ready for "View File".
  EXPECT_TRUE(program->dataFile.OpenForInput());
  // One memory read per channel, 1 to 99 in order.
  const auto reads = SentStartingWith(Bytes({0x1A, 0x00}));
  ASSERT_EQ(reads.size(), 99u);
  EXPECT_EQ(reads.front(), Frame({0x1A, 0x00, 0x00, 0x01}));
  EXPECT_EQ(reads.back(), Frame({0x1A, 0x00, 0x00, 0x99}));

  // Blank the transceiver, load the file back, and every channel 1 to 99 is as it was.
  BlankRig("1", "99");
  Advance(100 * 200);
  ASSERT_FALSE(Runs("Blank Rig"));
  ASSERT_EQ(BlankChannels().size(), 101u);
  UpdateRig();
  ASSERT_FALSE(Runs("Update Rig"));
  ExpectChannelsAsBefore(before);
  EXPECT_FALSE(desktop.ended);
}

// At the slower speeds of the setup window a memory record takes longer on the wire than the
// 50 ms that suffice at 19200 baud: the reply window grows with the byte time, so every channel
// is read and every upload verified at every speed, and the pace still follows the answers.
TEST_F(RigTransferTest, EverySpeedOfTheSetupWindowReadsAndVerifiesEveryChannel) {
  const std::string expected = FilledLines();
  for (const char* speed : {"19200,N,8,1", "9600,N,8,1", "4800,N,8,1"}) {
    SCOPED_TRACE(speed);
    program.reset();
    WriteConfig("KESTRA.TXT", "K1ABC", "COM1", speed);
    Start(Build::Tavrin, 1500);  // the start-up's exchanges take longer on a slower line
    desktop.boxes.clear();
    ClearSent();
    FillChannels();
    const std::int64_t began = clock.NowMicros();
    desktop.AnswerYes();
    Memory().Click("Command1");
    AdvanceWhileRunning(120'000, 10);
    EXPECT_EQ(Memory().Text7, "END");
    EXPECT_NE(ReadFile("KESTRA.TXT").find(kEmptyLine + expected + kEmptyLine), std::string::npos);
    EXPECT_EQ(ReadsSent(), 99u) << "no channel asked again";
    // Each read's echo, turnaround and answer (a blank channel's is shorter) and 2 ms after it:
    // far less than the step period.
    const std::int64_t wire = 99 * (9 + 2 + 34) * serial.ByteMicros();
    EXPECT_LT(clock.NowMicros() - began, wire + 99 * 12'000);

    UpdateRig();
    EXPECT_EQ(Memory().Text7, "END ... 8 channels written and verified");
    EXPECT_TRUE(Messages().empty() || Messages().back().second.find("not") == std::string::npos);
  }
}

TEST_F(RigTransferTest, NoLeavesTheFileAloneAndYesKeepsItUntilTheNewOneIsComplete) {
  FillChannels();
  WriteFile("KESTRA.TXT", "my channels\r\n");
  desktop.AnswerNo();
  Memory().Click("Command1");
  Advance(1000);
  EXPECT_EQ(Messages(), (Shown{{"Create File", "KESTRA.TXT ... Are you sure?"}}));
  EXPECT_EQ(desktop.boxes.at(0).buttons, BoxButtons::YesNo);
  EXPECT_EQ(desktop.boxes.at(0).icon, BoxIcon::None);
  EXPECT_EQ(ReadFile("KESTRA.TXT"), "my channels\r\n");
  EXPECT_FALSE(Runs("Create File"));

  desktop.AnswerYes();
  Memory().Click("Command1");
  EXPECT_TRUE(Runs("Create File"));
  ASSERT_TRUE(AdvanceUntil([this] { return ReadsSent() == 50; }));
  EXPECT_EQ(ReadFile("KESTRA.TXT"), "my channels\r\n") << "half way: still the old file";
  AdvanceWhileRunning();
  EXPECT_EQ(
      ReadFile("KESTRA.TXT").find(Line("1", "14.195.0", "USB", "Fil 2", "   ", "DX NET")),
      std::string(Blanks(70) + "KESTRA.TXT\r\n" + kEmptyLine + kHeaderLine + kEmptyLine).size());
  EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"KESTRA.INI", "KESTRA.TXT"}));
}

TEST_F(RigTransferTest, ChannelsThatDoNotAnswerAreAskedAgainAtTheEndAndWrittenInOrder) {
  FillChannels();
  desktop.AnswerYes();
  Memory().Click("Command1");
  // The transceiver is switched off while channels 2 and 3 are read.
  ASSERT_TRUE(AdvanceUntil([this] { return Memory().Text1 == "1"; }));  // channel 1 answered
  ASSERT_EQ(ReadsSent(), 1u);
  rig.SetSilent(true);
  ASSERT_TRUE(AdvanceUntil([this] { return ReadsSent() == 3; }));
  Advance(100);  // channels 2 and 3 asked without answer
  rig.SetSilent(false);
  AdvanceWhileRunning();

  const auto reads = SentStartingWith(Bytes({0x1A, 0x00}));
  ASSERT_EQ(reads.size(), 101u) << "99 channels and one more try for each of the two";
  EXPECT_EQ(reads[99], Frame({0x1A, 0x00, 0x00, 0x02}));
  EXPECT_EQ(reads[100], Frame({0x1A, 0x00, 0x00, 0x03}));
  const std::string file = ReadFile("KESTRA.TXT");
  const std::size_t one = file.find(Line("1", "14.195.0", "USB", "Fil 2", "   ", "DX NET"));
  const std::size_t two = file.find(Line("2", "07.050.0", "LSB", "Fil 2", "   ", "40M"));
  const std::size_t three = file.find(Line("3", "03.573.0", "CWr", "Fil 1", "Yes", ""));
  const std::size_t five = file.find(Line("5", "14.085.5", "RTTYr", "Fil 3", "Yes", "ABCDEFGHIJ"));
  EXPECT_TRUE(one < two && two < three && three < five && five != std::string::npos);
  EXPECT_EQ(Memory().Text7, "END");
  EXPECT_TRUE(Messages().size() == 1) << "nothing is missing: no box after the question";
}

// A step goes on a millisecond after the answer it waits for is in: the line's time is the
// pace. A channel the transceiver does not answer is given the whole period, and asked again
// at the end.
TEST_F(RigTransferTest, StepsFollowTheAnswersAndASilentChannelGetsTheWholePeriod) {
  for (int n = 1; n <= 4; ++n) Fill(n);
  const std::int64_t byte = serial.ByteMicros();
  // The read's echo (9 bytes), the line's turnaround (2 byte times) and the answer: the record
  // of a filled channel (34 bytes), FF for a blank one (10).
  const std::int64_t filledRead = (9 + 2 + 34) * byte + 1000;
  const std::int64_t blankRead = (9 + 2 + 10) * byte + 1000;
  desktop.AnswerYes();
  Memory().Click("Command1");
  ASSERT_TRUE(AdvanceUntil([this] { return ReadsSent() == 6; }));
  rig.SetSilent(true);  // channel 6 is not answered
  ASSERT_TRUE(AdvanceUntil([this] { return ReadsSent() == 7; }));
  rig.SetSilent(false);
  AdvanceWhileRunning();
  const auto& frames = serial.SentFrames();
  std::vector<std::int64_t> gaps;
  for (std::size_t i = 1; i < 8; ++i) gaps.push_back(frames[i].micros - frames[i - 1].micros);
  EXPECT_EQ(gaps, (std::vector<std::int64_t>{filledRead, filledRead, filledRead, filledRead,
                                             blankRead, 200'000, blankRead}));
  const auto reads = SentStartingWith(Bytes({0x1A, 0x00}));
  ASSERT_EQ(reads.size(), 100u);
  EXPECT_EQ(reads.back(), Frame({0x1A, 0x00, 0x00, 0x06})) << "asked again at the end";
  EXPECT_EQ(Memory().Text7, "END");

  // "Update Rig": the next line's frames a millisecond after the read-back is in.
  WriteFile("KESTRA.TXT", Line("1", "07.050.0", "LSB", "Fil 2", "", "A") +
                              Line("2", "07.060.0", "LSB", "Fil 2", "", "B") + kEndLine);
  serial.ClearSentFrames();
  UpdateRig();
  // The record (34 bytes), the select (8) and the read (9), the turnaround, the read-back (34).
  const std::int64_t written = (34 + 8 + 9 + 2 + 34) * byte + 1000;
  ASSERT_EQ(frames.size(), 6u);
  EXPECT_EQ(frames[3].micros - frames[0].micros, written);
  EXPECT_EQ(Memory().Text7, "END ... 2 channels written and verified");
}

// A transceiver that repeats channel 3's answer while channel 4 is asked: the answer that
// follows the echo is not channel 4's, so the step waits on for channel 4's own answer behind
// it (taking channel 3's would have ended it sooner); the file has every channel's own line.
TEST_F(RigTransferTest, ALateAnswerIsNotTakenForTheNextChannels) {
  for (int n = 1; n <= 5; ++n) Fill(n);
  const std::string answer3 =
      Bytes({0xFE, 0xFE, 0xE0, 0x64, 0x1A, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x03,
             0x14, 0x00, 0x01, 0x02, 0x00, 0x00, 0x08, 0x85, 0x00, 0x08, 0x85}) +
      "CH        " + Bytes({0xFD});
  desktop.AnswerYes();
  Memory().Click("Command1");
  ASSERT_TRUE(AdvanceUntil([this] { return ReadsSent() == 4; }));
  // Right behind the echo of channel 4's read.
  const std::int64_t echoEnd = serial.SentFrames().back().micros + 9 * serial.ByteMicros();
  serial.Line().AddNoise(answer3, echoEnd);
  AdvanceWhileRunning();
  const auto& frames = serial.SentFrames();
  const std::int64_t filledRead = (9 + 2 + 34) * serial.ByteMicros() + 1000;
  EXPECT_GT(frames[4].micros - frames[3].micros, filledRead)
      << "channel 5 only after channel 4's own answer";
  const auto reads = SentStartingWith(Bytes({0x1A, 0x00}));
  EXPECT_EQ(reads.size(), 99u) << "channel 4's own answer was taken: nothing to ask again";
  std::string lines;
  for (int n = 1; n <= 5; ++n)
    lines +=
        Line(std::to_string(n), "14.0" + std::to_string(n) + "0.0", "USB", "Fil 2", "   ", "CH");
  EXPECT_NE(ReadFile("KESTRA.TXT").find(kEmptyLine + lines + kEmptyLine), std::string::npos);
  EXPECT_EQ(Memory().Text7, "END");
}

TEST_F(RigTransferTest, HandWrittenLinesLoadTheTwoExtraChannelsToo) {
  WriteFile("KESTRA.TXT", "* my own list\r\n" +
                              Line("100", "21.300.0", "usb", "Fil 1", "Yes", "P1 NET") +
                              Line("101", "28.500.0", "Am", "Fil 3", "   ", "P2 TWELVE CH") +
                              "END\r\n" + Line("7", "07.000.0", "LSB", "Fil 2", "", "AFTER END"));
  UpdateRig();
  ASSERT_FALSE(Runs("Update Rig"));
  // The two extra channels are never selected, and a label is cut to ten characters.
  EXPECT_EQ(Contents(100), (Stored{false, 21'300'000, sim::kModeUsb, 1, false, "P1 NET    "}));
  EXPECT_EQ(Contents(101), (Stored{false, 28'500'000, sim::kModeAm, 3, false, "P2 TWELVE "}));
  EXPECT_TRUE(rig.Channel(7).blank) << "nothing after the end line is loaded";
}

TEST_F(RigTransferTest, AChannelLineIsWrittenSelectedAndReadBackInOneStep) {
  WriteFile("KESTRA.TXT", Line("12", "14.225.0", "USB", "Fil 3", "Yes", "ABC"));
  desktop.AnswerYes();
  Memory().Click("Command3");
  Advance(1);  // the first step
  EXPECT_EQ(Sent(), (std::vector<std::string>{
                        Frame({0x1A, 0x00, 0x00, 0x12, 0x01, 0x00, 0x50, 0x22, 0x14, 0x00,
                               0x01, 0x03, 0x00, 0x00, 0x08, 0x85, 0x00, 0x08, 0x85, 'A',
                               'B',  'C',  ' ',  ' ',  ' ',  ' ',  ' ',  ' ',  ' '}),
                        Frame({0x08, 0x00, 0x12}), Frame({0x1A, 0x00, 0x00, 0x12})}));
  EXPECT_EQ(Memory().Text1, "12 ");
  EXPECT_EQ(Memory().Text7, Line("12", "14.225.0", "USB", "Fil 3", "Yes", "ABC").substr(0, 73));
  Advance(100);
  EXPECT_FALSE(rig.Channel(12).blank);
  EXPECT_EQ(rig.CurrentChannel(), 12);
}

TEST_F(RigTransferTest, AFileWithoutChannelsSendsNothing) {
  WriteFile("KESTRA.TXT", Blanks(70) + "KESTRA.TXT\r\n" + kEmptyLine + kHeaderLine + kEmptyLine +
                              kEmptyLine + kHeaderLine + kEmptyLine + kEndLine);
  desktop.AnswerYes();
  Memory().Click("Command3");
  // Lines without a channel wait for no answer: one follows the other at once (a millisecond
  // apart), up to the end line.
  Advance(7);
  EXPECT_TRUE(Runs("Update Rig"));
  EXPECT_EQ(Memory().Text7, kEmptyLine.substr(0, 70));
  Advance(1);
  EXPECT_FALSE(Runs("Update Rig"));
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(Memory().Text1, "END");
}

TEST_F(RigTransferTest, LinesThatCannotBeStoredAreSkippedAndTheUploadGoesOn) {
  const std::string bad1 = Line("4", "14.1X5.0", "USB", "Fil 2", "", "LETTERS");
  const std::string bad2 = Line("150", "14.195.0", "USB", "Fil 2", "", "TOO HIGH");
  const std::string bad3 = Line("6", "14.195.0", "SSB", "Fil 2", "", "MODE");
  WriteFile("KESTRA.TXT", Line("1", "07.050.0", "LSB", "Fil 2", "", "FIRST") + bad1 + bad2 + bad3 +
                              Line("8", "10.120.0", "CWr", "Fil 1", "", "LAST") + kEndLine);
  desktop.AnswerYes();
  Memory().Click("Command3");
  // The second step is the line with letters in its frequency.
  ASSERT_TRUE(AdvanceUntil([this] { return Memory().Text1 == "4  "; }));
  EXPECT_EQ(Memory().Text7, "Skipped, frequency 14.1X5.0 cannot be read as MM.kkk.h ... " +
                                bad1.substr(0, bad1.size() - 2));
  RunUpload();
  ASSERT_FALSE(Runs("Update Rig"));

  EXPECT_FALSE(desktop.ended);
  EXPECT_FALSE(rig.Channel(1).blank);
  EXPECT_EQ(BlankChannels().size(), 99u);  // only 1 and 8 were stored
  EXPECT_EQ(rig.Channel(8).mode, sim::kModeCwReverse);
  EXPECT_EQ(SentStartingWith(Bytes({0x08})).size(), 2u) << "nothing sent for the skipped lines";
  EXPECT_EQ(Memory().Text7,
            "END ... 2 channels written and verified ... 3 lines not stored: line 2 (frequency "
            "14.1X5.0 cannot be read as MM.kkk.h), line 3 (channel is not 1 to 101), line 4 "
            "(unknown mode)");
}

TEST_F(RigTransferTest, FileOperationsNeedADataFile) {
  // Started without a configuration: no data file has been chosen.
  program.reset();
  std::filesystem::remove(directory / "KESTRA.INI");
  Start();
  for (const char* button : {"Command1", "Command2", "Command3"}) {
    desktop.boxes.clear();
    Memory().Click(button);
    ASSERT_EQ(Messages().size(), 1u) << button;
    EXPECT_EQ(Messages()[0].second,
              "No data file in use ... Choose one with Change Data File or SETUP");
    EXPECT_EQ(desktop.boxes.at(0).icon, BoxIcon::Critical);
  }
  EXPECT_FALSE(Runs("Create File") || Runs("View File") || Runs("Update Rig"));
  EXPECT_FALSE(desktop.ended);
}

TEST_F(RigTransferTest, ViewFileShowsEveryLineUpToTheEndLine) {
  WriteFile("KESTRA.TXT", kHeaderLine +
                              Line("42", "14.225.0", "RTTYr", "Fil 2", "Yes", "TWELVE CHARS") +
                              kEndLine + Line("7", "07.000.0", "LSB", "Fil 2", "", "AFTER"));
  Memory().Click("Command2");
  Advance(500);
  EXPECT_EQ(Memory().Text7, kHeaderLine.substr(0, kHeaderLine.size() - 2));
  Advance(500);
  // The whole mode zone, and twelve columns for the label: a long label is shown whole.
  const MemoryMain& m = Memory();
  EXPECT_EQ((std::vector<std::string>{m.Text1, m.Text2, m.Text3, m.Text4, m.Text5, m.Text6}),
            (std::vector<std::string>{"42 ", "Y", "14.225.0", "RTTYr", "Fil 2", "TWELVE CHARS"}));
  EXPECT_TRUE(Runs("View File"));
  Advance(500);
  EXPECT_EQ(Memory().Text1, "END");
  EXPECT_FALSE(Runs("View File"));
  Advance(2000);
  EXPECT_EQ(Memory().Text1, "END") << "the line after the end line is not shown";
  EXPECT_TRUE(Sent().empty());
}

// A CHIRP CSV line with CHIRP's neutral values in the columns a memory channel does not hold.
std::string CsvLine(const std::string& location, const std::string& name, const std::string& mhz,
                    const std::string& mode, const std::string& comment) {
  return location + "," + name + "," + mhz + ",,0.000000,,88.5,88.5,023,NN," + mode + ",5.00,," +
         comment + ",,,,\r\n";
}

TEST_F(RigTransferTest, ADataFileNamedCsvIsWrittenAndLoadedInCHIRPsForm) {
  FillChannels();
  const std::map<int, Stored> before = ChannelsOneTo99();
  WriteFile("Club.csv", "old list\r\n");
  std::string name = "Club.csv";
  ASSERT_TRUE(program->dataFile.OpenDataFile(name, "Input"));
  CreateFile();

  EXPECT_EQ(ReadFile("Club.csv"),
            std::string(kChirpCsvHeader) + "\r\n" +
                CsvLine("1", "DX NET", "14.195000", "USB", "Fil 2") +
                CsvLine("2", "40M", "7.050000", "LSB", "Fil 2") +
                CsvLine("3", "", "3.573000", "CWR", "Fil 1; Select") +
                CsvLine("5", "ABCDEFGHIJ", "14.085500", "RTTYR", "Fil 3; Select") +
                CsvLine("10", "WWV", "5.000000", "AM", "Fil 2") +
                CsvLine("20", "RTTY", "14.080000", "RTTY", "Fil 1") +
                CsvLine("42", "  QRP", "7.040000", "CW", "Fil 2") +
                CsvLine("99", "FM CALL", "29.600000", "FM", "Fil 3; Select"));
  EXPECT_EQ(Memory().Text7, "END");
  EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"Club.csv", "KESTRA.INI", "KESTRA.TXT"}));
  EXPECT_EQ(ReadFile("KESTRA.TXT"), "") << "only the data file in use is written";

  BlankRig("1", "99");
  AdvanceWhileRunning();
  UpdateRig();
  ASSERT_FALSE(Runs("Update Rig"));
  ExpectChannelsAsBefore(before);
  EXPECT_EQ(Messages().back(),
            (std::pair<std::string, std::string>{"Update Rig", "8 channels written and verified"}));
}

TEST_F(RigTransferTest, ACHIRPCsvFileIsViewedAndLoadedRecordByRecordAndWhatCannotBeStoredIsNamed) {
  WriteFile("NETS.CSV",
            "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
            "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,"
            "RPT2CALL,DVCODE\n"
            "100,P1 NET,21.300000,,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,USB,5.00,,,Fil 1,,,,\n"
            "101,RPT,29.620000,-,0.100000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,,,,,\n"
            "7,NET,145.500000,,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,,,,,\n"
            "8,\"LONG NAME, EAST\",7.074000,,,,,,,,,,usb,,,,\"Fil 3; Select\",,,,\n"
            "9,NET,3.690000,,,,,,,,,,LSB,,,,\"Tuesdays;\nFil 2\",,,,\n"
            "10,X,14.195000,,,,,,,,,,NFM,,,,,,,,\n");
  std::string name = "NETS.CSV";
  ASSERT_TRUE(program->dataFile.OpenDataFile(name, "Input"));

  Memory().Click("Command2");
  std::vector<std::string> shown;
  for (int step = 0; step < 10 && Runs("View File"); ++step) {
    Advance(500);
    shown.push_back(Memory().Text1 + "|" + Memory().Text3 + "|" + Memory().Text5);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "||", "100|21.300.0|Fil 1", "101|29.620000|", "7|145.500000|",
                       "8|07.074.0|Fil 3", "9|03.690.0|Fil 2", "10|14.195000|", "10|14.195000|"}));
  EXPECT_FALSE(Runs("View File"));

  UpdateRig();
  ASSERT_FALSE(Runs("Update Rig"));
  EXPECT_EQ(Messages().back(),
            (std::pair<std::string, std::string>{
                "Update Rig",
                "3 channels written and verified ... 3 lines not stored: line 3 (repeater offset "
                "-0.100000 MHz cannot be stored), line 4 (frequency 145.500000 MHz is outside "
                "0.03 to 99.9999 MHz), line 8 (mode NFM is not one this transceiver has) ... "
                "changed on the way in: line 5 (name LONG NAME, EAST cut to LONG NAME,)"}));
  EXPECT_EQ(Contents(100), (Stored{false, 21'300'000, sim::kModeUsb, 1, false, "P1 NET    "}));
  EXPECT_EQ(Contents(8), (Stored{false, 7'074'000, sim::kModeUsb, 3, true, "LONG NAME,"}));
  EXPECT_EQ(Contents(9), (Stored{false, 3'690'000, sim::kModeLsb, 2, false, "NET       "}));
  EXPECT_TRUE(rig.Channel(101).blank && rig.Channel(7).blank && rig.Channel(10).blank);
}

}  // namespace
}  // namespace tavrin::testing
