// SPDX-License-Identifier: GPL-3.0-or-later
// KESTRA.INI: what the reader takes from a file line by line, what the last line means, the
// boxes of a missing or unreadable file, and the eight lines the writer produces.
#include "app/config_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "support/program_fixture.h"

namespace tavrin {
namespace {

using testing::BoxTexts;
using testing::IniText;
using testing::ProgramFixture;
using testing::Settings;
using testing::SettingsOf;
namespace fs = std::filesystem;

class ConfigFileTest : public ProgramFixture {
 protected:
  // A fresh program with no box shown yet.
  ControlProgram& Fresh() {
    program.reset();
    desktop.boxes.clear();
    return Program();
  }
};

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

TEST_F(ConfigFileTest, ReaderTakesKeysByTheirExactElevenCharacters) {
  struct Case {
    const char* name;
    std::string contents;
    Settings read;
    std::string lastLine;
  };
  const std::string longLine = "[CallSign] " + std::string(100000, 'W');
  const std::string binaryLine = std::string("[CallSign] K1\0\xFF\x7F", 16);
  const std::string x70000(70000, 'x');
  // clang-format off
  const std::vector<Case> cases = {
      {"as written", IniText({"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"}),
       {"KESTRA.TXT", "K1ABC", "COM1", "19200,N,8,1"}, "END"},
      {"any order, last one wins", Lines({"[CommBaud] 9600,N,8,1", "[CallSign] AA1AA",
       "[CallSign] BB2BB", "[CommPort] COM3", "[DeftFile] A.TXT", "END"}),
       {"A.TXT", "BB2BB", "COM3", "9600,N,8,1"}, "END"},
      // The port name is read whole (COM12 is not COM1); the others are cut to their lengths.
      {"values cut to their lengths", Lines({"[DeftFile] ABCDEFGHIJKLMNOP.TXT",
       "[CallSign] K1ABCDEFGHIJ", "[CommPort] COM12", "[CommBaud] 19200,N,8,1,X", "END"}),
       {"ABCDEFGHIJKL", "K1ABCDEFGH", "COM12", "19200,N,8,1"}, "END"},
      {"keys in the wrong case or without their blank are ignored", Lines({"[callsign] K1ABC",
       "[DEFTFILE] X.TXT", "[CallSign]K1ABC", "[CommPort]COM2", "[CommBaud] 4800,N,8,1", "END"}),
       {"", "", "", "4800,N,8,1"}, "END"},
      {"a key alone gives the empty value, trailing blanks are kept", Lines({"[DeftFile] OLD.TXT",
       "[DeftFile] ", "[CallSign] K1ABC   ", "[CommPort] COM2 ", "END"}),
       {"", "K1ABC   ", "COM2 ", ""}, "END"},
      {"END with a trailing blank", Lines({"[CommPort] COM2", "END "}), {"", "", "COM2", ""},
       "END "},
      {"end in lower case", Lines({"[CommPort] COM2", "end"}), {"", "", "COM2", ""}, "end"},
      {"an empty line after END", Lines({"[CommPort] COM2", "END", ""}), {"", "", "COM2", ""}, ""},
      {"no line end after END", "[CommPort] COM2\r\nEND", {"", "", "COM2", ""}, "END"},
      {"line feeds alone", "[CommPort] COM3\n[CallSign] W1AW\nEND\n", {"", "W1AW", "COM3", ""},
       "END"},
      {"empty file", "", {}, ""},
      {"binary bytes are kept as bytes", binaryLine + "\r\n\x01\x02\xFE\r\nEND\r\n",
       {"", binaryLine.substr(11), "", ""}, "END"},
      {"a very long line", longLine + "\r\nEND\r\n", {"", "WWWWWWWWWW", "", ""}, "END"},
      {"a very long last line", "[CommPort] COM2\r\n" + x70000, {"", "", "COM2", ""}, x70000},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ControlProgram& p = Fresh();
    WriteFile("KESTRA.INI", c.contents);
    const ConfigReading reading = ReadConfigFile(p);
    EXPECT_TRUE(reading.opened);
    EXPECT_EQ(reading.lastLine, c.lastLine);
    EXPECT_EQ(SettingsOf(p.station), c.read);
    EXPECT_FALSE(p.station.ConfigMissing);
    EXPECT_TRUE(desktop.boxes.empty());
  }
  // The file is found whatever the case of its name.
  fs::remove(PathOf("KESTRA.INI"));
  WriteFile("kestra.ini", Lines({"[CallSign] G4XYZ", "END"}));
  ControlProgram& p = Fresh();
  EXPECT_EQ(ReadConfigFile(p).lastLine, "END");
  EXPECT_EQ(p.station.CallSign, "G4XYZ");
}

TEST_F(ConfigFileTest, MissingFileIsCreatedEmptyAndUnreadableFileIsReported) {
  for (const bool unreadable : {false, true}) {
    SCOPED_TRACE(unreadable ? "unreadable" : "missing");
    ControlProgram& p = Fresh();
    fs::remove_all(PathOf("KESTRA.INI"));
    if (unreadable) fs::create_directory(PathOf("KESTRA.INI"));
    const ConfigReading reading = ReadConfigFile(p);
    EXPECT_FALSE(reading.opened);
    EXPECT_EQ(reading.unreadable, unreadable);
    EXPECT_EQ(reading.lastLine, "");
    EXPECT_EQ(BoxTexts(desktop),
              std::vector<std::string>{
                  unreadable ? "Unexpected Open Config File Error: Error Code 75 ... Path/File "
                               "access error ... KESTRA.INI ... Input ... The port stays closed "
                               "... Run SETUP (menu) and Save to write a complete file."
                             : "Open Config File Error: Error Code 53 ... File not found ... "
                               "KESTRA.INI ... Input ... File will be created."});
    ASSERT_FALSE(desktop.boxes.empty());
    EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(desktop.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(p.station.ConfigMissing, !unreadable);
    // The missing file was created, empty.
    EXPECT_EQ(fs::is_regular_file(PathOf("KESTRA.INI")), !unreadable);
    if (!unreadable) {
      EXPECT_EQ(ReadFile("KESTRA.INI"), "");
    }
  }
}

TEST_F(ConfigFileTest, WriterWritesTheEightLinesAndTheReaderReadsThemBack) {
  struct Case {
    Settings set, written;
    Settings readBack;  // empty: as written
  };
  // clang-format off
  const std::vector<Case> cases = {
      {{"KESTRA.TXT", "K1ABC", "COM2", "9600,N,8,1"},
       {"KESTRA.TXT", "K1ABC", "COM2", "9600,N,8,1"}, {}},
      {{"", "", "", ""}, {"KESTRA.TXT", kDefaultCallSign, "COM1", "19200,N,8,1"}, {}},
      {{"C:\\DATA\\my.txt", "W1AW", "COM3", "4800,N,8,1"},
       {"MY.TXT", "W1AW", "COM3", "4800,N,8,1"}, {}},
      {{"/home/op/nets.txt", "k1abc", "COM4", "1200,E,7,2"},
       {"NETS.TXT", "k1abc", "COM4", "1200,E,7,2"}, {}},
      // Written whole, read back within the reader's limits.
      {{"LONGERNAME12.TXT", "DL1ABC/MOBILE", "COM12", "115200,N,8,1"},
       {"LONGERNAME12.TXT", "DL1ABC/MOBILE", "COM12", "115200,N,8,1"},
       {"LONGERNAME12", "DL1ABC/MOB", "COM12", "115200,N,8,"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set.deftFile + "|" + c.set.callSign);
    ControlProgram& writer = Fresh();
    testing::Apply(c.set, writer.station);
    ASSERT_TRUE(WriteConfigFile(writer));
    EXPECT_EQ(ReadFile("KESTRA.INI"), IniText(c.written));
    EXPECT_EQ(writer.station.DeftFile, c.written.deftFile);
    EXPECT_EQ(writer.station.CallSign, c.written.callSign);
    EXPECT_TRUE(desktop.boxes.empty());
    ControlProgram& reader = Fresh();
    EXPECT_EQ(ReadConfigFile(reader).lastLine, "END");
    EXPECT_EQ(SettingsOf(reader.station), c.readBack.deftFile.empty() ? c.written : c.readBack);
  }
}

TEST_F(ConfigFileTest, WriterThatCannotOpenTheFileWritesNothing) {
  ControlProgram& p = Program();
  fs::create_directory(PathOf("KESTRA.INI"));
  p.station.DeftFile = "c:\\x\\list.txt";
  p.station.CallSign = "";
  EXPECT_FALSE(WriteConfigFile(p));
  EXPECT_EQ(BoxTexts(desktop),
            std::vector<std::string>{"Save Config File Error: Error Code 75 ... Path/File access "
                                     "error ... " +
                                     PathOf("KESTRA.INI") +
                                     " ... Output ... The settings were not saved ... KESTRA.INI "
                                     "was kept as it was."});
  // The settings stay as they were: nothing was saved.
  EXPECT_EQ(p.station.DeftFile, "c:\\x\\list.txt");
  EXPECT_EQ(p.station.CallSign, "");
  EXPECT_TRUE(fs::is_directory(PathOf("KESTRA.INI")));
}

TEST_F(ConfigFileTest, AWriteThatFailsLeavesTheOldFileByteForByte) {
  const std::string old = IniText({"OLD.TXT", "K1ABC", "COM2", "9600,N,8,1"});
  struct Case {
    const char* name;
    WriteFault fault;
    std::string error;
  };
  const Case cases[] = {
      {"disk full",
       {WriteFault::Stage::Write, ENOSPC, 30},
       "Error Code 61 ... No space left on device"},
      {"read-only folder",
       {WriteFault::Stage::Create, EROFS, 0},
       "Error Code 75 ... Read-only file system"},
      {"not put in place",
       {WriteFault::Stage::Commit, EIO, 0},
       "Error Code 57 ... Input/output error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile("KESTRA.INI", old);
    ControlProgram& p = Fresh();
    testing::Apply({"NEW.TXT", "W1AW", "COM1", "19200,N,8,1"}, p.station);
    files.InjectWriteFault(c.fault);
    EXPECT_FALSE(WriteConfigFile(p));
    files.InjectWriteFault(std::nullopt);
    EXPECT_EQ(ReadFile("KESTRA.INI"), old);
    EXPECT_EQ(BoxTexts(desktop),
              std::vector<std::string>{"Save Config File Error: " + c.error + " ... " +
                                       PathOf("KESTRA.INI") +
                                       " ... Output ... The settings were not "
                                       "saved ... KESTRA.INI was kept as it was."});
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1)
        << "no temporary file is left";
  }
}

}  // namespace
}  // namespace tavrin
