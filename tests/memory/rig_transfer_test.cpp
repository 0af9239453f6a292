// Copying the transceiver's memory channels into the data file and back: "Create File",
// "Update Rig", and the round trip through a file on the simulated transceiver.
#include <gtest/gtest.h>

#include <map>

#include "memory/memory_fixture.h"

namespace tavrin::testing {
namespace {

using sim::MemoryChannel;

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

// A channel line spelled out column by column, independently of the program's writer.
std::string Line(const std::string& number, const std::string& frequency, const std::string& mode,
                 const std::string& filter, const std::string& select, const std::string& label) {
  return " " + number + Blanks(13 - number.size()) + frequency + Blanks(6) + mode +
         Blanks(14 - mode.size()) + filter + Blanks(9) + select + Blanks(14 - select.size()) +
         label + "\r\n";
}

const std::string kEmptyLine = Blanks(70) + "\r\n";
const std::string kHeaderLine = "*Ch#" + Blanks(10) + "Freq..:." + Blanks(6) + "Mode" + Blanks(10) +
                                "Fil #" + Blanks(9) + "Select" + Blanks(8) + "Label.....**\r\n";
const std::string kEndLine = " END" + Blanks(66) + "\r\n";

class RigTransferTest : public MemoryFixture {
 protected:
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

  void CreateFile() {
    desktop.AnswerYes();
    Memory().Click("Command1");
    Advance(100 * 200 + 100);
  }

  void UpdateRig() {
    desktop.AnswerYes();
    Memory().Click("Command3");
  }

  // Runs an upload to its end (one line a step).
  void RunUpload() {
    for (int step = 0; step < 400 && State().UpdateRigActive; ++step) Advance(200);
    ASSERT_FALSE(State().UpdateRigActive);
  }
};

TEST_F(RigTransferTest, CreateFileWritesTheLayoutAPersonCanReadAndEdit) {
  StartProgram();
  FillChannels();
  CreateFile();

  const std::string expected = Blanks(70) + "KESTRA.TXT\r\n" + kEmptyLine + kHeaderLine +
                               kEmptyLine + Line("1", "14.195.0", "USB", "Fil 2", "   ", "DX NET") +
                               Line("2", "07.050.0", "LSB", "Fil 2", "   ", "40M") +
                               Line("3", "03.573.0", "CWr", "Fil 1", "Yes", "") +
                               Line("5", "14.085.5", "RTTYr", "Fil 3", "Yes", "ABCDEFGHIJ") +
                               Line("10", "05.000.0", "AM", "Fil 2", "   ", "WWV") +
                               Line("20", "14.080.0", "RTTY", "Fil 1", "   ", "RTTY") +
                               Line("42", "07.040.0", "CW", "Fil 2", "   ", "  QRP") +
                               Line("99", "29.600.0", "FM", "Fil 3", "Yes", "FM CALL") +
                               kEmptyLine + kHeaderLine + kEmptyLine + kEndLine;
  EXPECT_EQ(ReadFile("KESTRA.TXT"), expected);

  EXPECT_FALSE(State().CreateFileActive);
  EXPECT_FALSE(State().MemorySequenceBusy);
  EXPECT_EQ(Memory().Text1, "END");
  EXPECT_EQ(Memory().Text7, "END");
  // The new file is left open for reading, ready for "View File".
  EXPECT_TRUE(program->dataFile.OpenForInput());
  // One memory read per channel, 1 to 99 in order.
  const auto reads = SentStartingWith(Bytes({0x1A, 0x00}));
  ASSERT_EQ(reads.size(), 99u);
  EXPECT_EQ(reads.front(), Frame({0x1A, 0x00, 0x00, 0x01}));
  EXPECT_EQ(reads.back(), Frame({0x1A, 0x00, 0x00, 0x99}));
}

TEST_F(RigTransferTest, AnsweringYesEmptiesTheFileAtOnceAndNoLeavesItAlone) {
  StartProgram();
  WriteFile("KESTRA.TXT", "my channels\r\n");
  desktop.AnswerNo();
  Memory().Click("Command1");
  Advance(1000);
  EXPECT_EQ(desktop.boxes.at(0).title, "Create File");
  EXPECT_EQ(desktop.boxes.at(0).text, "KESTRA.TXT ... Are you sure?");
  EXPECT_EQ(desktop.boxes.at(0).buttons, BoxButtons::YesNo);
  EXPECT_EQ(desktop.boxes.at(0).icon, BoxIcon::None);
  EXPECT_EQ(ReadFile("KESTRA.TXT"), "my channels\r\n");
  EXPECT_FALSE(State().CreateFileActive);

  desktop.AnswerYes();
  Memory().Click("Command1");
  EXPECT_EQ(ReadFile("KESTRA.TXT"), "");
  EXPECT_TRUE(State().CreateFileActive);
}

TEST_F(RigTransferTest, ChannelsThatDoNotAnswerAreLeftOutAndNamed) {
  StartProgram();
  FillChannels();
  desktop.AnswerYes();
  Memory().Click("Command1");
  // The transceiver is switched off while channels 2 and 3 are read.
  for (int ms = 0; ms < 200 && SentStartingWith(Bytes({0x1A})).empty(); ms += 10) Advance(10);
  ASSERT_EQ(SentStartingWith(Bytes({0x1A})).size(), 1u);
  Advance(100);  // channel 1 answered
  rig.SetSilent(true);
  Advance(400);  // channels 2 and 3 asked without answer
  rig.SetSilent(false);
  Advance(100 * 200);

  const std::string file = ReadFile("KESTRA.TXT");
  EXPECT_NE(file.find(Line("1", "14.195.0", "USB", "Fil 2", "   ", "DX NET")), std::string::npos);
  // Neither channel 1's contents under the numbers 2 and 3 nor anything else for them.
  EXPECT_EQ(file.find("\r\n 2 "), std::string::npos);
  EXPECT_EQ(file.find("\r\n 3 "), std::string::npos);
  EXPECT_NE(file.find(Line("5", "14.085.5", "RTTYr", "Fil 3", "Yes", "ABCDEFGHIJ")),
            std::string::npos);
  EXPECT_EQ(Memory().Text1, "END");
  EXPECT_EQ(Memory().Text7, "END ... no answer for channels 2, 3 ... not in the file");
}

TEST_F(RigTransferTest, ChannelsWrittenToAFileComeBackIntoABlankTransceiver) {
  StartProgram();
  FillChannels();
  std::map<int, MemoryChannel> before;
  for (int n = 1; n <= 99; ++n) before[n] = rig.Channel(n);
  CreateFile();

  // Blank channels 1 to 99 with "Blank Rig".
  desktop.AnswerYes();
  desktop.Type("1");
  desktop.Type("99");
  Memory().Click("Command5");
  Advance(100 * 200);
  ASSERT_FALSE(State().BlankRigActive);
  for (int n = 1; n <= 99; ++n) ASSERT_TRUE(rig.Channel(n).blank) << n;

  UpdateRig();
  RunUpload();
  for (int n = 1; n <= 99; ++n) {
    const MemoryChannel& was = before[n];
    const MemoryChannel& now = rig.Channel(n);
    ASSERT_EQ(now.blank, was.blank) << n;
    if (was.blank) continue;
    EXPECT_EQ(now.frequencyHz, was.frequencyHz / 100 * 100) << n;
    EXPECT_EQ(now.mode, was.mode) << n;
    EXPECT_EQ(now.filter, was.filter) << n;
    EXPECT_EQ(now.selected, was.selected) << n;
    EXPECT_EQ(now.name, was.name) << n;
  }
  EXPECT_FALSE(desktop.ended);
}

TEST_F(RigTransferTest, HandWrittenLinesLoadTheTwoExtraChannelsToo) {
  StartProgram();
  WriteFile("KESTRA.TXT", "* my own list\r\n" +
                              Line("100", "21.300.0", "usb", "Fil 1", "Yes", "P1 NET") +
                              Line("101", "28.500.0", "Am", "Fil 3", "   ", "P2 TWELVE CH") +
                              "END\r\n" + Line("7", "07.000.0", "LSB", "Fil 2", "", "AFTER END"));
  UpdateRig();
  RunUpload();
  const MemoryChannel& p1 = rig.Channel(100);
  ASSERT_FALSE(p1.blank);
  EXPECT_EQ(p1.frequencyHz, 21'300'000);
  EXPECT_EQ(p1.mode, sim::kModeUsb);
  EXPECT_EQ(p1.filter, 1);
  EXPECT_FALSE(p1.selected) << "the two extra channels are never selected";
  EXPECT_EQ(p1.name, "P1 NET    ");
  const MemoryChannel& p2 = rig.Channel(101);
  ASSERT_FALSE(p2.blank);
  EXPECT_EQ(p2.frequencyHz, 28'500'000);
  EXPECT_EQ(p2.mode, sim::kModeAm);
  EXPECT_EQ(p2.name, "P2 TWELVE ") << "a label is cut to ten characters";
  EXPECT_TRUE(rig.Channel(7).blank) << "nothing after the end line is loaded";
}

TEST_F(RigTransferTest, AChannelLineIsWrittenSelectedAndReadBackInOneStep) {
  StartProgram();
  WriteFile("KESTRA.TXT", Line("12", "14.225.0", "USB", "Fil 3", "Yes", "ABC"));
  UpdateRig();
  Advance(200);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0], Frame({0x1A, 0x00, 0x00, 0x12, 0x01, 0x00, 0x50, 0x22, 0x14, 0x00,
                            0x01, 0x03, 0x00, 0x00, 0x08, 0x85, 0x00, 0x08, 0x85, 'A',
                            'B',  'C',  ' ',  ' ',  ' ',  ' ',  ' ',  ' ',  ' '}));
  EXPECT_EQ(sent[1], Frame({0x08, 0x00, 0x12}));
  EXPECT_EQ(sent[2], Frame({0x1A, 0x00, 0x00, 0x12}));
  EXPECT_EQ(Memory().Text1, "12 ");
  EXPECT_EQ(Memory().Text7, Line("12", "14.225.0", "USB", "Fil 3", "Yes", "ABC").substr(0, 73));
  Advance(100);
  EXPECT_FALSE(rig.Channel(12).blank);
  EXPECT_EQ(rig.CurrentChannel(), 12);
}

TEST_F(RigTransferTest, AFileWithoutChannelsSendsNothing) {
  StartProgram();
  WriteFile("KESTRA.TXT", Blanks(70) + "KESTRA.TXT\r\n" + kEmptyLine + kHeaderLine + kEmptyLine +
                              kEmptyLine + kHeaderLine + kEmptyLine + kEndLine);
  UpdateRig();
  Advance(7 * 200);
  EXPECT_TRUE(State().UpdateRigActive) << "every line costs a step";
  Advance(200);
  EXPECT_FALSE(State().UpdateRigActive);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(Memory().Text1, "END");
}

TEST_F(RigTransferTest, LinesThatCannotBeStoredAreSkippedAndTheUploadGoesOn) {
  StartProgram();
  const std::string bad1 = Line("4", "14.1X5.0", "USB", "Fil 2", "", "LETTERS");
  const std::string bad2 = Line("150", "14.195.0", "USB", "Fil 2", "", "TOO HIGH");
  const std::string bad3 = Line("6", "14.195.0", "SSB", "Fil 2", "", "MODE");
  WriteFile("KESTRA.TXT", Line("1", "07.050.0", "LSB", "Fil 2", "", "FIRST") + bad1 + bad2 + bad3 +
                              Line("8", "10.120.0", "CWr", "Fil 1", "", "LAST") + kEndLine);
  UpdateRig();
  Advance(200);
  Advance(200);  // the line with letters in its frequency
  EXPECT_EQ(Memory().Text7,
            "Skipped, frequency is not 3 to 6 digits ... " + bad1.substr(0, bad1.size() - 2));
  RunUpload();

  EXPECT_FALSE(desktop.ended);
  EXPECT_FALSE(rig.Channel(1).blank);
  EXPECT_TRUE(rig.Channel(4).blank);
  EXPECT_TRUE(rig.Channel(6).blank);
  ASSERT_FALSE(rig.Channel(8).blank);
  EXPECT_EQ(rig.Channel(8).mode, sim::kModeCwReverse);
  // Only the two good lines were sent (memory set, select, read each).
  EXPECT_EQ(SentStartingWith(Bytes({0x08})).size(), 2u);
  EXPECT_EQ(Memory().Text7,
            "END ... 3 lines not stored: line 2 (frequency is not 3 to 6 digits), line 3 (channel "
            "is not 1 to 101), line 4 (unknown mode)");
}

TEST_F(RigTransferTest, FileOperationsNeedADataFile) {
  // Started without a configuration: no data file has been chosen.
  Start();
  desktop.boxes.clear();
  for (const char* button : {"Command1", "Command2", "Command3"}) {
    desktop.boxes.clear();
    Memory().Click(button);
    ASSERT_EQ(desktop.MessageBoxes().size(), 1u) << button;
    EXPECT_EQ(desktop.boxes[0].text,
              "No data file in use ... Choose one with Change Data File or SETUP");
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
  }
  EXPECT_FALSE(State().CreateFileActive);
  EXPECT_FALSE(State().ViewFileActive);
  EXPECT_FALSE(State().UpdateRigActive);
  EXPECT_FALSE(desktop.ended);
}

TEST_F(RigTransferTest, ViewFileShowsEveryLineUpToTheEndLine) {
  StartProgram();
  const std::string channel = Line("42", "14.225.0", "RTTYr", "Fil 2", "Yes", "TWELVE CHARS");
  WriteFile("KESTRA.TXT", kHeaderLine + channel + " END" + Blanks(66) + "\r\n" +
                              Line("7", "07.000.0", "LSB", "Fil 2", "", "AFTER"));
  Memory().Click("Command2");
  Advance(500);
  EXPECT_EQ(Memory().Text7, kHeaderLine.substr(0, kHeaderLine.size() - 2));
  Advance(500);
  EXPECT_EQ(Memory().Text1, "42 ");
  EXPECT_EQ(Memory().Text2, "Y");
  EXPECT_EQ(Memory().Text3, "14.225.0");
  EXPECT_EQ(Memory().Text4, "RTTY");
  EXPECT_EQ(Memory().Text5, "Fil 2");
  EXPECT_EQ(Memory().Text6, "TWELVE CHARS");
  EXPECT_TRUE(State().ViewFileActive);
  Advance(500);
  EXPECT_EQ(Memory().Text1, "END");
  EXPECT_FALSE(State().ViewFileActive);
  Advance(2000);
  EXPECT_EQ(Memory().Text1, "END") << "the line after the end line is not shown";
  EXPECT_TRUE(Sent().empty());
}

}  // namespace
}  // namespace tavrin::testing
