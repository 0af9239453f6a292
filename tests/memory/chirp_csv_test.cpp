// SPDX-License-Identifier: GPL-3.0-or-later
// CHIRP's comma-separated channel lists as a data file: the files CHIRP writes, the ones people
// make in spreadsheets and by hand, the records a memory channel cannot hold, and the lines
// written for what "Create File" reads, back through the reader.
#include "memory/chirp_csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "civ/mode_table.h"
#include "memory/chirp_csv_fields.h"
#include "memory/data_file_format.h"

namespace tavrin {
namespace {

const std::string kHeader = kChirpCsvHeader;
// The header of CHIRP's later releases.
const std::string kNewerHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

// A record in one line: "comment", "none", "skip: <reason>", or the values handed to the
// memory-set command (channel, digits, mode, filter, selected, label) and a note.
std::string Summary(const ChirpCsvRecord& record) {
  switch (record.parsed.kind) {
    case DataLineKind::Comment:
      return "comment";
    case DataLineKind::NoChannel:
      return "none";
    case DataLineKind::End:
      return "end";
    case DataLineKind::Channel:
      break;
  }
  if (!record.problem.empty()) return "skip: " + record.problem;
  const ParsedDataLine& p = record.parsed;
  std::string summary = p.MemChannelText + "|" + p.MemFrequencyDigits + "|" + p.MemModeText + "|" +
                        p.MemFilterText + "|" + p.MemSelectedText + "|" + p.MemLabelText;
  if (!record.note.empty()) summary += " note: " + record.note;
  return summary;
}

std::vector<std::string> Summaries(const std::string& file) {
  std::vector<std::string> all;
  for (const ChirpCsvRecord& record : ReadChirpCsv(file)) all.push_back(Summary(record));
  return all;
}

// A row of CHIRP's own header with the values that matter here and CHIRP's neutral others.
std::string Row(const std::string& location, const std::string& name, const std::string& mhz,
                const std::string& mode, const std::string& comment = "",
                const std::string& duplex = "", const std::string& offset = "0.600000",
                const std::string& tone = "") {
  return location + "," + name + "," + mhz + "," + duplex + "," + offset + "," + tone +
         ",88.5,88.5,023,NN," + mode + ",5.00,," + comment + ",,,,\r\n";
}

TEST(FormatOfDataFile, ANameEndingInCsvInAnyCaseIsACHIRPCsvFile) {
  const struct {
    const char* name;
    DataFileFormat format;
  } cases[] = {{"KESTRA.TXT", DataFileFormat::Text},
               {"club.csv", DataFileFormat::ChirpCsv},
               {"/home/op/NETS.CSV", DataFileFormat::ChirpCsv},
               {"C:\\RADIO\\Nets.Csv", DataFileFormat::ChirpCsv},
               {".csv", DataFileFormat::ChirpCsv},
               {"csv", DataFileFormat::Text},
               {"list.csv.txt", DataFileFormat::Text},
               {"listcsv", DataFileFormat::Text},
               {"", DataFileFormat::Text}};
  for (const auto& c : cases) EXPECT_EQ(FormatOfDataFile(c.name), c.format) << c.name;
}

TEST(SplitCsvRecord, SplitsAtCommasOutsideQuotes) {
  const struct {
    std::string record;
    std::vector<std::string> fields;
    bool open;
  } cases[] = {
      {"1,DX NET,14.195000", {"1", "DX NET", "14.195000"}, false},
      {"", {""}, false},
      {",,", {"", "", ""}, false},
      {R"("a,b","say ""hi""",c)", {"a,b", R"(say "hi")", "c"}, false},
      // A quote inside an unquoted field is a letter; text after a closing quote is kept.
      {R"(5" dish,"ab"cd,x)", {R"(5" dish)", "abcd", "x"}, false},
      {"\"\"", {""}, false},
      {"1,\"two\nlines\"", {"1", "two\nlines"}, false},
      {"1,\"open", {"1", "open"}, true},
      {"1,\"ends in a doubled quote\"\"", {"1", "ends in a doubled quote\""}, true},
  };
  for (const auto& c : cases) {
    const CsvRecordFields split = SplitCsvRecord(c.record);
    EXPECT_EQ(split.fields, c.fields) << c.record;
    EXPECT_EQ(split.quoteOpen, c.open) << c.record;
  }
  // What CsvField writes comes back as one field, whatever it holds.
  for (const std::string text : {"plain", "a,b", "\"", "two\r\nlines", "", " blank "}) {
    const CsvRecordFields split = SplitCsvRecord(CsvField(text) + "," + CsvField(text));
    EXPECT_EQ(split.fields, (std::vector<std::string>{text, text})) << text;
  }
}

TEST(Latin1OfFileText, DecodesUtf8AndTakesOtherBytesAsTheyAre) {
  const struct {
    std::string text;
    std::string bytes;
    char32_t beyond;
  } cases[] = {
      {"DX NET", "DX NET", 0},
      {"M\xC3\xBCller", "M\xFCller", 0},               // UTF-8 ü
      {"M\xFCller", "M\xFCller", 0},                   // saved in Latin-1
      {"\xE2\x82\xAC 5", "? 5", 0x20AC},               // the euro sign has no byte
      {"\xF0\x9F\x93\xBB\xC3\xA9", "?\xE9", 0x1F4FB},  // a radio emoji, then é
      {"\xC0\xAF", "\xC0\xAF", 0},                     // overlong: not UTF-8
      {"\xED\xA0\x80", "\xED\xA0\x80", 0},             // a surrogate: not UTF-8
      {"\xC3", "\xC3", 0},                             // cut short
  };
  for (const auto& c : cases) {
    const Latin1Text text = Latin1OfFileText(c.text);
    EXPECT_EQ(text.bytes, c.bytes) << c.text;
    EXPECT_EQ(text.firstBeyond, c.beyond) << c.text;
  }
  std::string every;
  for (int byte = 1; byte < 256; ++byte) every.push_back(static_cast<char>(byte));
  EXPECT_EQ(Latin1OfFileText(Utf8OfLatin1(every)).bytes, every);
}

TEST(ChirpCsvReader, ReadsWhatCHIRPAndSpreadsheetsWrite) {
  const struct {
    const char* name;
    std::string file;
    std::vector<std::string> records;
  } cases[] = {
      {"CHIRP's own file: CR LF, neutral offset and tones, its mode words",
       kHeader + "\r\n" + Row("1", "DX NET", "14.195000", "USB", "Fil 2; Select") +
           Row("2", "40M", "7.050000", "LSB") + Row("100", "P ONE", "28.400000", "FM", "Fil 3") +
           Row("7", "", "3.560000", "CWR", "Fil 1") + Row("8", "", "14.080000", "RTTYR"),
       {"comment", "1|141950|USB|2|1|DX NET", "2|070500|LSB|2|0|40M", "100|284000|FM|3|0|P ONE",
        "7|035600|CWr|1|0|", "8|140800|RTTYr|2|0|"}},
      {"CHIRP's later header, LF only",
       kNewerHeader + "\n5,6M CALL,50.125000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,USB,"
                      "5.00,,50W,Fil 1,,,,\n",
       {"comment", "5|501250|USB|1|0|6M CALL"}},
      {"a spreadsheet: byte order mark, every field quoted, columns of its own choosing and "
       "order, blanks round the names, empty rows at the end",
       "\xEF\xBB\xBF\"Frequency\",\" name \",\"MODE\",\"location\"\r\n"
       "\"14.195\",\"DX NET\",\"usb\",\"1\"\r\n"
       "\"7.05\",\"K\xC3\xB6ln\",\"Lsb\",\"002\"\r\n"
       "\"21\",\"\",\"am\",\"3\"\r\n"
       "\"28.4 MHz\",\"\",\"FM\",\"4\"\r\n"
       "\"\",\"\",\"\",\"\"\r\n,,,\r\n",
       {"comment", "1|141950|USB|2|0|DX NET", "2|070500|LSB|2|0|K\xF6ln", "3|210000|AM|2|0|",
        "4|284000|FM|2|0|", "none", "none"}},
      {"made by hand: comments, empty lines, quotes and a comment over two lines",
       "# club nets\n\n" + kHeader + "\n# HF\n" +
           "9,\"NET, \"\"A\"\"\",3.690000,,0.000000,,88.5,88.5,023,NN,LSB,5.00,,"
           "\"Tuesdays;\nFil 3; Select\",,,,\n" +
           "10,  TRAILING   ,3.700000,,,,,,,,AM,,,Club net; Selected; Filter wide; Fil 2,,,,\n",
       {"comment", "none", "comment", "comment", "9|036900|LSB|3|1|NET, \"A\"",
        "10|037000|AM|2|0|  TRAILING"}},
      {"a name of more than ten letters is cut, with a note",
       kHeader + "\n" + Row("11", "REPEATER NORTH", "29.620000", "FM"),
       {"comment", "11|296200|FM|2|0|REPEATER N note: name REPEATER NORTH cut to REPEATER N"}},
      {"a file saved in Latin-1 keeps its letters",
       kHeader + "\n" + Row("12", "\xC5s", "7.100000", "CW"),
       {"comment", "12|071000|CW|2|0|\xC5s"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Summaries(c.file), c.records) << c.name;
}

TEST(ChirpCsvReader, SkipsWhatAMemoryChannelCannotHoldWithItsReason) {
  const struct {
    std::string row;
    std::string reason;
  } cases[] = {
      {Row("0", "", "14.195000", "USB"), "location 0 is not 1 to 101"},
      {Row("102", "", "14.195000", "USB"), "location 102 is not 1 to 101"},
      {Row("99999999999999999999", "", "14.195000", "USB"),
       "location 99999999999999999999 is not 1 to 101"},
      {Row("P1", "", "14.195000", "USB"), "location P1 is not a number"},
      {Row("", "", "14.195000", "USB"), "no location"},
      {Row("3", "", "", "USB"), "no frequency"},
      {Row("3", "", "\"14,195\"", "USB"), "frequency 14,195 is not a number of MHz"},
      {Row("3", "", "1e7", "USB"), "frequency 1e7 is not a number of MHz"},
      {Row("3", "", "146.520000", "FM"), "frequency 146.520000 MHz is outside 0.03 to 99.9999 MHz"},
      {Row("3", "", "0.029900", "AM"), "frequency 0.029900 MHz is outside 0.03 to 99.9999 MHz"},
      {Row("3", "", "123456789012.5", "AM"),
       "frequency 123456789012.5 MHz is outside 0.03 to 99.9999 MHz"},
      {Row("3", "", "14.074150", "USB"), "frequency 14.074150 MHz is finer than 100 Hz"},
      {Row("3", "", "14.0741000001", "USB"), "frequency 14.0741000001 MHz is finer than 100 Hz"},
      {Row("3", "", "14.195000", ""), "no mode"},
      {Row("3", "", "145.500000", "NFM"),
       "frequency 145.500000 MHz is outside 0.03 to 99.9999 MHz"},
      {Row("3", "", "29.600000", "NFM"), "mode NFM is not one this transceiver has"},
      {Row("3", "", "88.100000", "WFM"), "mode WFM is not one this transceiver has"},
      {Row("3", "", "14.195000", "DIG"), "mode DIG is not one this transceiver has"},
      {Row("3", "", "29.620000", "FM", "", "-", "0.100000"),
       "repeater offset -0.100000 MHz cannot be stored"},
      {Row("3", "", "29.620000", "FM", "", "split", "29.520000"),
       "split transmit frequency 29.520000 MHz cannot be stored"},
      {Row("3", "", "29.620000", "FM", "", "off"), "transmitter off cannot be stored"},
      {Row("3", "", "29.620000", "FM", "", "x"), "duplex x cannot be stored"},
      {Row("3", "", "29.620000", "FM", "", "", "0.600000", "TSQL"),
       "tone mode TSQL cannot be stored"},
      {Row("3", "", "29.620000", "FM", "", "", "0.600000", "Tone"),
       "tone mode Tone cannot be stored"},
      {Row("3", "", "14.195000", "USB", "Fil 4"), "filter 4 is not 1, 2 or 3"},
      {Row("3", "", "14.195000", "USB", "Fil wide"), "filter wide is not 1, 2 or 3"},
      {Row("100", "", "14.195000", "USB", "Fil 2; Select"),
       "P1 and P2 cannot be selected channels"},
      {Row("3", "5 \xE2\x82\xAC", "14.195000", "USB"),
       "name holds U+20AC, a letter the transceiver does not have"},
      {Row("3", "A\tB", "14.195000", "USB"), "name holds a control character"},
      // ú is the byte FA in the program's letters, one of the link's own codes.
      {Row("3", "J\xC3\xBAlia", "14.195000", "USB"),
       "label holds \xFA, whose byte is one of the link's own codes"},
  };
  for (const auto& c : cases) {
    const std::vector<ChirpCsvRecord> records = ReadChirpCsv(kHeader + "\n" + c.row);
    ASSERT_EQ(records.size(), 2U) << c.row;
    EXPECT_EQ(Summary(records[1]), "skip: " + c.reason) << c.row;
    EXPECT_EQ(records[1].shown.Text7, Latin1OfFileText(c.row.substr(0, c.row.size() - 2)).bytes);
  }
  // What a skip leaves untouched: the same values in the neutral form are stored.
  const std::vector<std::string> stored = {Row("3", "", "29.620000", "FM", "", "+", "0"),
                                           Row("3", "", "29.620000", "FM", "", "-", "0.000000"),
                                           Row("3", "", "29.620000", "FM", "", "split", "29.62"),
                                           Row("3", "", "29.620000000", "FM", "Fil 2"),
                                           Row("0003", "", "29.62", "fm", "fil2")};
  for (const std::string& row : stored)
    EXPECT_EQ(Summaries(kHeader + "\n" + row)[1], "3|296200|FM|2|0|") << row;
}

TEST(ChirpCsvReader, RefusesRecordsItCannotRead) {
  const struct {
    const char* name;
    std::string file;
    std::vector<std::string> records;
  } cases[] = {
      {"a header without a mode column",
       "Location,Name,Frequency\n1,A,14.195\n2,B,7.050\n",
       {"comment", "skip: the header has no Mode column", "skip: the header has no Mode column"}},
      {"a file that ends inside a quote",
       kHeader + "\n1,\"DX NET,14.195000\n2,B\n",
       {"comment", "skip: a quoted field is not closed"}},
      {"a stray quote takes ten lines at most, then reading goes on",
       kHeader + "\n1,\"A\n" + std::string(8, '\n') + "x\n" + Row("4", "B", "7.05", "LSB"),
       {"comment", "skip: a quoted field is not closed", "4|070500|LSB|2|0|B"}},
      {"a row shorter than the header",
       kHeader + "\n1,A,14.195000\n",
       {"comment", "skip: no mode"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Summaries(c.file), c.records) << c.name;
}

TEST(ChirpCsvReader, ShowsARecordInTheMemoryWindowsFields) {
  const std::vector<ChirpCsvRecord> records = ReadChirpCsv(
      kHeader + "\n" + Row("1", "K\xC3\xB6ln net", "14.195000", "CWR", "Fil 3; Select") +
      Row("2", "X", "146.52", "FM"));
  ASSERT_EQ(records.size(), 3U);
  const DataLineDisplay& stored = records[1].shown;
  EXPECT_EQ((std::vector<std::string>{stored.Text1, stored.Text2, stored.Text3, stored.Text4,
                                      stored.Text5, stored.Text6}),
            (std::vector<std::string>{"1", "Y", "14.195.0", "CWr", "Fil 3", "K\xF6ln net"}));
  EXPECT_EQ(stored.Text7,
            "1,K\xF6ln net,14.195000,,0.600000,,88.5,88.5,023,NN,CWR,5.00,,"
            "Fil 3; Select,,,,");
  const DataLineDisplay& skipped = records[2].shown;
  EXPECT_EQ((std::vector<std::string>{skipped.Text1, skipped.Text3, skipped.Text4, skipped.Text6}),
            (std::vector<std::string>{"2", "146.52", "FM", "X"}));
  EXPECT_EQ(records[0].shown.Text7, kHeader);
}

TEST(ChirpCsvChannelLine, WritesCHIRPsColumnsWithItsNeutralValues) {
  EXPECT_EQ(ChirpCsvChannelLine(1, "14.195.0", "USB", "Fil 2", "*", "DX NET"),
            "1,DX NET,14.195000,,0.000000,,88.5,88.5,023,NN,USB,5.00,,Fil 2; Select,,,,");
  EXPECT_EQ(
      ChirpCsvChannelLine(101, "07.050.0", "RTTYr", "Fil 1", " ", "A,\"B\" \xE9"),
      "101,\"A,\"\"B\"\" \xC3\xA9\",7.050000,,0.000000,,88.5,88.5,023,NN,RTTYR,5.00,,Fil 1,,,,");
}

// Every mode, filter and select mark the memory window can show, written and read back.
TEST(ChirpCsvChannelLine, ReadsBackAsWritten) {
  std::string file = kHeader + "\r\n";
  std::vector<std::string> expected = {"comment"};
  long channel = 0;
  for (const civ::Mode& mode : civ::Modes()) {
    for (const std::string filter : {"1", "2", "3"}) {
      for (const bool selected : {false, true}) {
        ++channel;
        const std::string label = "CH" + std::to_string(channel) + (selected ? " \xC4" : "");
        file += ChirpCsvChannelLine(channel, "29.999.9", mode.shown, "Fil " + filter,
                                    selected ? "*" : " ", label) +
                "\r\n";
        expected.push_back(std::to_string(channel) + "|299999|" + mode.shown + "|" + filter + "|" +
                           (selected ? "1" : "0") + "|" + label);
      }
    }
  }
  file += ChirpCsvChannelLine(100, "00.030.0", "AM", "Fil 2", " ", "") + "\r\n";
  expected.push_back("100|000300|AM|2|0|");
  EXPECT_EQ(Summaries(file), expected);
}

}  // namespace
}  // namespace tavrin
