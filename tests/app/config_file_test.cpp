// KESTRA.INI: what the reader takes from a file line by line, what the last line means, the
// boxes of a missing or unreadable file, and the eight lines the writer produces.
#include "app/config_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::ProgramFixture;

class ConfigFileTest : public ProgramFixture {};

struct ReaderCase {
  const char* name;
  std::string contents;
  std::string deftFile, callSign, commPort, commBaud;
  std::string lastLine;
};

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

const std::string kTitle = "KESTRA CONFIGURATION FILE (KESTRA.INI)";

TEST_F(ConfigFileTest, ReaderTakesKeysByTheirExactElevenCharacters) {
  const std::string longLine = "[CallSign] " + std::string(100000, 'W');
  const std::vector<ReaderCase> cases = {
      {"as written",
       Lines({kTitle, " ", "[DeftFile] KESTRA.TXT", "[CallSign] K1ABC", "[CommPort] COM1",
              "[CommBaud] 19200,N,8,1", " ", "END"}),
       "KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1", "END"},
      {"any order, last one wins",
       Lines({"[CommBaud] 9600,N,8,1", "[CallSign] AA1AA", "[CallSign] BB2BB", "[CommPort] COM3",
              "[DeftFile] A.TXT", "END"}),
       "A.TXT", "BB2BB", "COM3", "9600,N,8,1", "END"},
      {"values cut to their lengths",
       Lines({"[DeftFile] ABCDEFGHIJKLMNOP.TXT", "[CallSign] K1ABCDEFGHIJ", "[CommPort] COM12",
              "[CommBaud] 19200,N,8,1,X", "END"}),
       "ABCDEFGHIJKL", "K1ABCDEFGH", "COM1", "19200,N,8,1", "END"},
      {"key in the wrong case is ignored",
       Lines({"[callsign] K1ABC", "[DEFTFILE] X.TXT", "[CommPort] COM2", "END"}), "", "", "COM2",
       "", "END"},
      {"key without its blank is ignored",
       Lines({"[CallSign]K1ABC", "[CommPort]COM2", "[CommBaud] 4800,N,8,1", "END"}), "", "", "",
       "4800,N,8,1", "END"},
      {"a key alone gives the empty value", Lines({"[CallSign] ", "END"}), "", "", "", "", "END"},
      {"trailing blanks are part of the value",
       Lines({"[CallSign] K1ABC   ", "[CommPort] COM2 ", "END"}), "", "K1ABC   ", "COM2", "",
       "END"},
      {"END with a trailing blank is not the end", Lines({"[CommPort] COM2", "END "}), "", "",
       "COM2", "", "END "},
      {"end in lower case is not the end", Lines({"[CommPort] COM2", "end"}), "", "", "COM2", "",
       "end"},
      {"an empty line after END", Lines({"[CommPort] COM2", "END", ""}), "", "", "COM2", "", ""},
      {"no line end after END", "[CommPort] COM2\r\nEND", "", "", "COM2", "", "END"},
      {"line feeds alone", "[CommPort] COM3\n[CallSign] W1AW\nEND\n", "", "W1AW", "COM3", "",
       "END"},
      {"empty file", "", "", "", "", "", ""},
      {"binary bytes are kept as bytes",
       std::string("[CallSign] K1\0\xFF\x7F", 16) + "\r\n" + std::string("\x01\x02\xFE", 3) +
           "\r\nEND\r\n",
       "", std::string("K1\0\xFF\x7F", 5), "", "", "END"},
      {"a very long line", longLine + "\r\nEND\r\n", "", "WWWWWWWWWW", "", "", "END"},
      {"a very long last line", "[CommPort] COM2\r\n" + std::string(70000, 'x'), "", "", "COM2", "",
       std::string(70000, 'x')},
  };
  for (const ReaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    program.reset();
    ControlProgram& p = Program();
    WriteFile("KESTRA.INI", c.contents);
    const ConfigReading reading = ReadConfigFile(p);
    EXPECT_TRUE(reading.opened);
    EXPECT_EQ(reading.lastLine, c.lastLine);
    EXPECT_EQ(p.station.DeftFile, c.deftFile);
    EXPECT_EQ(p.station.CallSign, c.callSign);
    EXPECT_EQ(p.station.CommPort, c.commPort);
    EXPECT_EQ(p.station.CommBaud, c.commBaud);
    EXPECT_FALSE(p.station.ConfigMissing);
    EXPECT_TRUE(desktop.boxes.empty());
  }
}

TEST_F(ConfigFileTest, ReaderFindsTheFileWhateverTheCaseOfItsName) {
  ControlProgram& p = Program();
  WriteFile("kestra.ini", Lines({"[CallSign] G4XYZ", "END"}));
  EXPECT_EQ(ReadConfigFile(p).lastLine, "END");
  EXPECT_EQ(p.station.CallSign, "G4XYZ");
}

TEST_F(ConfigFileTest, MissingFileIsReportedCreatedEmptyAndMarkedMissing) {
  ControlProgram& p = Program();
  const ConfigReading reading = ReadConfigFile(p);
  EXPECT_FALSE(reading.opened);
  EXPECT_EQ(reading.lastLine, "");
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Open Config File Error");
  EXPECT_EQ(desktop.boxes[0].text,
            "Error Code 53 ... File not found ... KESTRA.INI ... Input ... File will be created.");
  EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
  EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::Ok);
  EXPECT_TRUE(p.station.ConfigMissing);
  ASSERT_TRUE(std::filesystem::exists(PathOf("KESTRA.INI")));
  EXPECT_EQ(ReadFile("KESTRA.INI"), "");
}

TEST_F(ConfigFileTest, UnreadableFileGetsTheUnexpectedErrorBox) {
  ControlProgram& p = Program();
  std::filesystem::create_directory(PathOf("KESTRA.INI"));
  const ConfigReading reading = ReadConfigFile(p);
  EXPECT_FALSE(reading.opened);
  EXPECT_EQ(reading.lastLine, "");
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Unexpected Open Config File Error");
  EXPECT_EQ(desktop.boxes[0].text,
            "Error Code 75 ... Path/File access error ... KESTRA.INI ... Input");
  EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
  EXPECT_FALSE(p.station.ConfigMissing);
}

TEST_F(ConfigFileTest, OnlyInputAndOutputOpenAnything) {
  ControlProgram& p = Program();
  WriteFile("KESTRA.INI", "END\r\n");
  for (const char* mode : {"input", "Append", "", "Binary"}) {
    SCOPED_TRACE(mode);
    const ConfigFile file = OpenConfigFile(p, "KESTRA.INI", mode);
    EXPECT_EQ(file.input, nullptr);
    EXPECT_EQ(file.output, nullptr);
  }
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(ReadFile("KESTRA.INI"), "END\r\n");
}

TEST_F(ConfigFileTest, WriterProducesTheEightLines) {
  ControlProgram& p = Program();
  p.station.DeftFile = "KESTRA.TXT";
  p.station.CallSign = "K1ABC";
  p.station.CommPort = "COM2";
  p.station.CommBaud = "9600,N,8,1";
  ASSERT_TRUE(WriteConfigFile(p));
  EXPECT_EQ(ReadFile("KESTRA.INI"),
            "KESTRA CONFIGURATION FILE (KESTRA.INI)\r\n"
            " \r\n"
            "[DeftFile] KESTRA.TXT\r\n"
            "[CallSign] K1ABC\r\n"
            "[CommPort] COM2\r\n"
            "[CommBaud] 9600,N,8,1\r\n"
            " \r\n"
            "END\r\n");
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ConfigFileTest, WriterFillsDefaultsAndReducesTheDataFileToItsName) {
  struct Case {
    std::string deftFile, callSign, commPort, commBaud;
    std::string writtenFile, writtenCall, writtenPort, writtenBaud;
  };
  const std::vector<Case> cases = {
      {"", "", "", "", "KESTRA.TXT", kDefaultCallSign, "COM1", "19200,N,8,1"},
      {"C:\\DATA\\my.txt", "W1AW", "COM3", "4800,N,8,1", "MY.TXT", "W1AW", "COM3", "4800,N,8,1"},
      {"/home/op/nets.txt", "k1abc", "COM4", "1200,E,7,2", "NETS.TXT", "k1abc", "COM4",
       "1200,E,7,2"},
      {"C:\\DATA\\.txt", "x", "COM1", "19200,N,8,1", ".TXT", "x", "COM1", "19200,N,8,1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.deftFile);
    program.reset();
    ControlProgram& p = Program();
    p.station.DeftFile = c.deftFile;
    p.station.CallSign = c.callSign;
    p.station.CommPort = c.commPort;
    p.station.CommBaud = c.commBaud;
    ASSERT_TRUE(WriteConfigFile(p));
    EXPECT_EQ(ReadFile("KESTRA.INI"),
              Lines({kTitle, " ", "[DeftFile] " + c.writtenFile, "[CallSign] " + c.writtenCall,
                     "[CommPort] " + c.writtenPort, "[CommBaud] " + c.writtenBaud, " ", "END"}));
    EXPECT_EQ(p.station.DeftFile, c.writtenFile);
    EXPECT_EQ(p.station.CallSign, c.writtenCall);
  }
}

TEST_F(ConfigFileTest, WhatTheWriterWritesTheReaderReadsBack) {
  struct Case {
    std::string deftFile, callSign, commPort, commBaud;
    std::string deftBack, callBack, portBack, baudBack;
  };
  const std::vector<Case> cases = {
      {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1", "KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"},
      {"nets.txt", "VE3ABC/QRP", "COM3", "4800,N,8,1", "NETS.TXT", "VE3ABC/QRP", "COM3",
       "4800,N,8,1"},
      {"", "", "", "", "KESTRA.TXT", kDefaultCallSign, "COM1", "19200,N,8,1"},
      // Within the reader's limits only.
      {"LONGERNAME12.TXT", "DL1ABC/MOBILE", "COM12", "115200,N,8,1", "LONGERNAME12", "DL1ABC/MOB",
       "COM1", "115200,N,8,"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.deftFile + "|" + c.callSign);
    program.reset();
    ControlProgram& writer = Program();
    writer.station.DeftFile = c.deftFile;
    writer.station.CallSign = c.callSign;
    writer.station.CommPort = c.commPort;
    writer.station.CommBaud = c.commBaud;
    ASSERT_TRUE(WriteConfigFile(writer));
    program.reset();
    ControlProgram& reader = Program();
    EXPECT_EQ(ReadConfigFile(reader).lastLine, "END");
    EXPECT_EQ(reader.station.DeftFile, c.deftBack);
    EXPECT_EQ(reader.station.CallSign, c.callBack);
    EXPECT_EQ(reader.station.CommPort, c.portBack);
    EXPECT_EQ(reader.station.CommBaud, c.baudBack);
  }
}

TEST_F(ConfigFileTest, WriterThatCannotOpenTheFileWritesNothing) {
  ControlProgram& p = Program();
  std::filesystem::create_directory(PathOf("KESTRA.INI"));
  p.station.DeftFile = "c:\\x\\list.txt";
  p.station.CallSign = "";
  EXPECT_FALSE(WriteConfigFile(p));
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, "Unexpected Open Config File Error");
  EXPECT_EQ(desktop.boxes[0].text,
            "Error Code 75 ... Path/File access error ... KESTRA.INI ... Output");
  // The settings stay as they were: nothing was saved.
  EXPECT_EQ(p.station.DeftFile, "c:\\x\\list.txt");
  EXPECT_EQ(p.station.CallSign, "");
  EXPECT_TRUE(std::filesystem::is_directory(PathOf("KESTRA.INI")));
}

}  // namespace
}  // namespace tavrin
