// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/chirp_csv.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

#include "app/text_functions.h"
#include "civ/mode_table.h"
#include "memory/chirp_csv_fields.h"

namespace tavrin {

namespace {

// What a memory channel holds: the 100 Hz digit is the finest, two MHz digits the coarsest
// (the record's 100 MHz digit is never written), and the transceiver tunes from 30 kHz.
constexpr long long kLowestHz = 30'000;
constexpr long long kHighestHz = 99'999'900;
constexpr long long kFinestHz = 100;
constexpr long long kHzPerMHz = 1'000'000;
constexpr int kFirstChannel = 1;
constexpr int kLastChannel = 101;
constexpr std::size_t kLabelLength = 10;
constexpr std::size_t kShownLabelLength = 12;
constexpr std::size_t kQuotedValueLength = 24;
// A filter the file does not name is the normal one, as the memory-set command offers it.
constexpr const char* kDefaultFilter = "2";
constexpr const char* kSelectWord = "Select";

std::string Trimmed(const std::string& text) {
  constexpr const char* kBlanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool OnlyDigits(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

// A value of the file inside a reason, in the program's letters and not too long.
std::string Shown(const std::string& value) {
  std::string text = Latin1OfFileText(value).bytes;
  if (text.size() > kQuotedValueLength) text = text.substr(0, kQuotedValueLength) + "...";
  return text;
}

std::string Hex(char32_t code) {
  char text[32];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
  return text;
}

// A frequency in MHz as CHIRP writes and reads it ("14.195000", "7.05", "14", "14.195 MHz"),
// in Hz. A number of MHz too large to be a frequency gives the largest value.
struct Hertz {
  long long value = 0;
  bool finerThanHertz = false;  // nonzero digits beyond the sixth after the point
};
std::optional<Hertz> HertzOfMegahertz(const std::string& written) {
  std::string text = Trimmed(written);
  if (const std::string lower = Lowered(text);
      lower.size() > 3 && lower.compare(lower.size() - 3, 3, "mhz") == 0)
    text = Trimmed(text.substr(0, text.size() - 3));
  const std::size_t dot = text.find('.');
  std::string whole = text.substr(0, dot);
  const std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
  if ((whole.empty() && fraction.empty()) || !OnlyDigits(whole) || !OnlyDigits(fraction))
    return std::nullopt;
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  Hertz hz;
  if (whole.size() > 6) return Hertz{std::numeric_limits<long long>::max(), false};
  const std::string micro = (fraction + "000000").substr(0, 6);
  hz.value = (whole.empty() ? 0 : std::stoll(whole)) * kHzPerMHz + std::stoll(micro);
  hz.finerThanHertz =
      fraction.size() > 6 && fraction.find_first_not_of('0', 6) != std::string::npos;
  return hz;
}

// Hz as CHIRP writes it: "14.195000".
std::string MegahertzText(long long hz) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%06lld", hz / kHzPerMHz, hz % kHzPerMHz);
  return text;
}

// The memory window's frequency text "14.195.0" in Hz, or nothing when it is not in that form.
std::optional<long long> HertzOfWindowText(const std::string& text) {
  if (text.size() != 8 || text[2] != '.' || text[6] != '.') return std::nullopt;
  const std::string digits = text.substr(0, 2) + text.substr(3, 3) + text.substr(7, 1);
  if (!OnlyDigits(digits)) return std::nullopt;
  return std::stoll(digits) * kFinestHz;
}

// Hz (below 100 MHz) as the memory window's "14.195.0" and as the memory-set digits "141950".
std::string WindowText(long long hz) {
  char text[64];
  std::snprintf(text, sizeof text, "%02lld.%03lld.%lld", hz / kHzPerMHz, hz / 1000 % 1000,
                hz / kFinestHz % 10);
  return text;
}

std::string FrequencyDigits(long long hz) {
  std::string text = WindowText(hz);
  text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
  return text;
}

// CHIRP's word for a mode the memory window shows ("CWr" is "CWR"); a text that is no mode is
// written as it is.
std::string ChirpWordOfShown(const std::string& shown) {
  const civ::Mode* mode = civ::ModeShownAs(shown);
  return mode != nullptr ? mode->chirp : shown;
}

// What the Comment column says of the filter and the select mark: pieces separated by ";",
// "Fil 2" (or "Fil2") naming the filter and "Select" marking the channel; other pieces are
// the operator's own words and are left alone.
struct CommentMarks {
  std::string filter = kDefaultFilter;
  bool selected = false;
  std::string problem;
};
CommentMarks MarksOfComment(const std::string& comment) {
  CommentMarks marks;
  for (const std::string& part : SplitAt(comment, ';')) {
    const std::string piece = Lowered(Trimmed(part));
    if (piece == Lowered(kSelectWord)) {
      marks.selected = true;
      continue;
    }
    if (piece.size() < 4 || piece.compare(0, 3, "fil") != 0) continue;
    const std::string word = Trimmed(piece.substr(3));
    const bool blankBefore = piece[3] == ' ' || piece[3] == '\t';
    if (word.find_first_of(" \t") != std::string::npos || (!blankBefore && !OnlyDigits(word)))
      continue;
    if (word != "1" && word != "2" && word != "3") {
      marks.problem = "filter " + Shown(Trimmed(Trimmed(part).substr(3))) + " is not 1, 2 or 3";
      return marks;
    }
    marks.filter = word;
  }
  return marks;
}

// One data record's values by column name; a column the header lacks is nothing, a record
// shorter than the header gives empty texts.
class RowValues {
 public:
  RowValues(const std::vector<std::string>& columns, const std::vector<std::string>& fields)
      : columns_(columns), fields_(fields) {}
  [[nodiscard]] bool Has(const char* name) const { return Index(name) < columns_.size(); }
  [[nodiscard]] std::string Of(const char* name) const {
    const std::size_t i = Index(name);
    return i < fields_.size() ? fields_[i] : std::string();
  }

 private:
  [[nodiscard]] std::size_t Index(const char* name) const {
    const std::string lower = Lowered(name);
    return static_cast<std::size_t>(std::find(columns_.begin(), columns_.end(), lower) -
                                    columns_.begin());
  }
  const std::vector<std::string>& columns_;
  const std::vector<std::string>& fields_;
};

std::string LocationProblem(const std::string& written, int& channel) {
  std::string digits = Trimmed(written);
  if (digits.empty()) return "no location";
  if (!OnlyDigits(digits)) return "location " + Shown(digits) + " is not a number";
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  channel = digits.size() > 3 ? kLastChannel + 1 : (digits.empty() ? 0 : std::stoi(digits));
  if (channel < kFirstChannel || channel > kLastChannel)
    return "location " + Shown(Trimmed(written)) + " is not 1 to 101";
  return {};
}

std::string FrequencyProblem(const std::string& written, long long& hz) {
  if (Trimmed(written).empty()) return "no frequency";
  const std::optional<Hertz> read = HertzOfMegahertz(written);
  if (!read) return "frequency " + Shown(Trimmed(written)) + " is not a number of MHz";
  hz = read->value;
  const std::string shown = "frequency " + Shown(Trimmed(written)) + " MHz";
  if (hz < kLowestHz || hz > kHighestHz) return shown + " is outside 0.03 to 99.9999 MHz";
  if (read->finerThanHertz || hz % kFinestHz != 0) return shown + " is finer than 100 Hz";
  return {};
}

// A repeater offset, a split or a transmitter switched off: a memory channel of this
// transceiver transmits where it receives. "+" or "-" by nothing, and a split to the receive
// frequency itself, are that too.
std::string DuplexProblem(const RowValues& row, long long hz) {
  const std::string duplex = Trimmed(row.Of("Duplex"));
  if (duplex.empty()) return {};
  const std::string offsetText = Trimmed(row.Of("Offset"));
  const std::optional<Hertz> offset = HertzOfMegahertz(offsetText);
  if (duplex == "+" || duplex == "-") {
    if (offset && offset->value == 0 && !offset->finerThanHertz) return {};
    return "repeater offset " + duplex + Shown(offsetText) + " MHz cannot be stored";
  }
  if (Lowered(duplex) == "split") {
    if (offset && offset->value == hz && !offset->finerThanHertz) return {};
    return "split transmit frequency " + Shown(offsetText) + " MHz cannot be stored";
  }
  if (Lowered(duplex) == "off") return "transmitter off cannot be stored";
  return "duplex " + Shown(duplex) + " cannot be stored";
}

// The name in the program's letters, its trailing blanks dropped; a letter that has no byte
// of its own or is a control character refuses the record.
std::string NameProblem(const std::string& written, std::string& name) {
  const Latin1Text text = Latin1OfFileText(written);
  if (text.firstBeyond != 0)
    return "name holds " + Hex(text.firstBeyond) + ", a letter the transceiver does not have";
  name = text.bytes;
  name.erase(std::min(name.find_last_not_of(' ') + 1, name.size()));
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) return "name holds a control character";
  }
  return {};
}

// The column names, trimmed and in small letters.
std::vector<std::string> ColumnNames(const std::vector<std::string>& fields) {
  std::vector<std::string> names;
  for (const std::string& field : fields) names.push_back(Lowered(Trimmed(field)));
  return names;
}

bool AllEmpty(const std::vector<std::string>& fields) {
  return std::all_of(fields.begin(), fields.end(),
                     [](const std::string& f) { return Trimmed(f).empty(); });
}

// The fields of the memory window for a record: the values as read where they could be, else
// as written.
DataLineDisplay DisplayOf(const std::string& text, const RowValues* row,
                          const ParsedDataLine* parsed) {
  DataLineDisplay shown;
  shown.Text7 = Latin1OfFileText(text).bytes;
  if (row == nullptr) return shown;
  shown.Text1 = Shown(Trimmed(row->Of("Location"))).substr(0, 3);
  shown.Text3 = Shown(Trimmed(row->Of("Frequency")));
  shown.Text4 = Shown(Trimmed(row->Of("Mode")));
  shown.Text6 = Latin1OfFileText(row->Of("Name")).bytes.substr(0, kShownLabelLength);
  if (parsed == nullptr) return shown;
  shown.Text1 = parsed->MemChannelText;
  shown.Text2 = parsed->MemSelectedText == "1" ? "Y" : " ";
  shown.Text3 = parsed->MemFrequencyDigits.substr(0, 2) + "." +
                parsed->MemFrequencyDigits.substr(2, 3) + "." +
                parsed->MemFrequencyDigits.substr(5);
  shown.Text4 = parsed->MemModeText;
  shown.Text5 = "Fil " + parsed->MemFilterText;
  return shown;
}

// A data record: the channel for the memory-set command, or why it cannot be one.
ChirpCsvRecord ReadChannelRecord(const std::string& text, const std::vector<std::string>& columns,
                                 const std::vector<std::string>& fields) {
  ChirpCsvRecord record;
  record.text = text;
  record.parsed.kind = DataLineKind::Channel;
  const RowValues row(columns, fields);
  record.shown = DisplayOf(text, &row, nullptr);
  for (const char* needed : {"Location", "Frequency", "Mode"}) {
    if (row.Has(needed)) continue;
    record.problem = std::string("the header has no ") + needed + " column";
    return record;
  }
  int channel = 0;
  long long hz = 0;
  std::string name;
  const std::string mode = Trimmed(row.Of("Mode"));
  const civ::Mode* word = civ::ModeOfChirp(mode);
  const std::string tone = Trimmed(row.Of("Tone"));
  const CommentMarks marks = MarksOfComment(row.Of("Comment"));
  std::string problem = LocationProblem(row.Of("Location"), channel);
  if (problem.empty()) problem = FrequencyProblem(row.Of("Frequency"), hz);
  if (problem.empty() && mode.empty()) problem = "no mode";
  if (problem.empty() && word == nullptr)
    problem = "mode " + Shown(mode) + " is not one this transceiver has";
  if (problem.empty()) problem = DuplexProblem(row, hz);
  if (problem.empty() && !tone.empty()) problem = "tone mode " + Shown(tone) + " cannot be stored";
  if (problem.empty()) problem = marks.problem;
  if (problem.empty() && marks.selected && channel > 99)
    problem = "P1 and P2 cannot be selected channels";
  if (problem.empty()) problem = NameProblem(row.Of("Name"), name);
  if (!problem.empty()) {
    record.problem = problem;
    return record;
  }
  ParsedDataLine& parsed = record.parsed;
  parsed.MemChannelText = std::to_string(channel);
  parsed.MemFrequencyDigits = FrequencyDigits(hz);
  parsed.MemModeText = word->shown;
  parsed.MemFilterText = marks.filter;
  parsed.MemSelectedText = marks.selected ? "1" : "0";
  parsed.MemLabelText = name.substr(0, kLabelLength);
  if (name.size() > kLabelLength) record.note = "name " + name + " cut to " + parsed.MemLabelText;
  // The text data file's own check, so that a record is stored only as a line would be.
  record.problem = UploadProblem(parsed);
  if (record.problem.empty()) {
    record.shown = DisplayOf(text, &row, &parsed);
  } else {
    record.note.clear();
  }
  return record;
}

}  // namespace

std::optional<ChirpCsvRecord> ChirpCsvReader::TakeLine(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (firstLine_ && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  firstLine_ = false;
  std::string text = pendingLines_ == 0 ? line : pending_ + "\n" + line;
  const bool open = SplitCsvRecord(text).quoteOpen;
  if (open && pendingLines_ + 1 < kMostLinesOfRecord) {
    pending_ = std::move(text);
    ++pendingLines_;
    return std::nullopt;
  }
  pending_.clear();
  pendingLines_ = 0;
  return ReadRecord(text, open);
}

std::optional<ChirpCsvRecord> ChirpCsvReader::TakeEnd() {
  if (pendingLines_ == 0) return std::nullopt;
  const std::string text = pending_;
  pending_.clear();
  pendingLines_ = 0;
  return ReadRecord(text, true);
}

ChirpCsvRecord ChirpCsvReader::ReadRecord(const std::string& text, bool quoteOpen) {
  ChirpCsvRecord record;
  record.text = text;
  record.shown = DisplayOf(text, nullptr, nullptr);
  const std::string trimmed = Trimmed(text);
  if (!quoteOpen && !trimmed.empty() && trimmed[0] == '#') {
    record.parsed.kind = DataLineKind::Comment;
    return record;
  }
  const CsvRecordFields split = SplitCsvRecord(text);
  if (quoteOpen) {
    record.parsed.kind = DataLineKind::Channel;
    record.problem = "a quoted field is not closed";
    return record;
  }
  if (AllEmpty(split.fields)) {
    record.parsed.kind = DataLineKind::NoChannel;
    return record;
  }
  if (!haveHeader_) {
    TakeHeader(split.fields);
    record.parsed.kind = DataLineKind::Comment;
    return record;
  }
  return ReadChannelRecord(text, columns_, split.fields);
}

void ChirpCsvReader::TakeHeader(const std::vector<std::string>& fields) {
  columns_ = ColumnNames(fields);
  haveHeader_ = true;
}

std::vector<ChirpCsvRecord> ReadChirpCsv(const std::string& bytes) {
  std::vector<ChirpCsvRecord> records;
  ChirpCsvReader reader;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    if (auto record = reader.TakeLine(bytes.substr(start, end - start)))
      records.push_back(std::move(*record));
    start = end + 1;
  }
  if (auto record = reader.TakeEnd()) records.push_back(std::move(*record));
  return records;
}

std::string ChirpCsvChannelLine(long channel, const std::string& frequency, const std::string& mode,
                                const std::string& filter, const std::string& selectedMark,
                                const std::string& label) {
  const std::optional<long long> hz = HertzOfWindowText(frequency);
  std::string comment = filter;
  if (selectedMark == "*") comment += std::string("; ") + kSelectWord;
  const std::vector<std::string> fields = {std::to_string(channel),
                                           Utf8OfLatin1(label),
                                           hz ? MegahertzText(*hz) : Utf8OfLatin1(frequency),
                                           "",          // Duplex: none
                                           "0.000000",  // Offset
                                           "",          // Tone: none
                                           "88.5",      // rToneFreq
                                           "88.5",      // cToneFreq
                                           "023",       // DtcsCode
                                           "NN",        // DtcsPolarity
                                           Utf8OfLatin1(ChirpWordOfShown(mode)),
                                           "5.00",  // TStep
                                           "",      // Skip
                                           Utf8OfLatin1(comment),
                                           "",
                                           "",
                                           "",
                                           ""};  // URCALL, RPT1CALL, RPT2CALL, DVCODE
  std::string line = CsvField(fields.front());
  for (std::size_t i = 1; i < fields.size(); ++i) line += "," + CsvField(fields[i]);
  return line;
}

}  // namespace tavrin
