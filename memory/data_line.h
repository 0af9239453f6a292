// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One line of the memory data file. Every line is six fields in print zones of 14 columns
// (fields start in columns 1, 15, 29, 43, 57 and 71); the sixth, the channel label, runs to the
// end of the line. A line that begins with "*" is a comment, one that begins with three blanks
// carries no channel, and "END" in columns 1 to 3 or 2 to 4 ends the file. People edit these
// files: a line of blanks only (or none at all, as editors that strip trailing blanks leave it)
// carries no channel either, and a comment stays a comment whatever follows its star.
#include <string>
#include <vector>

namespace tavrin {

// What a data file line is.
enum class DataLineKind { End, Comment, NoChannel, Channel };

// A line taken apart; the texts are those handed to the memory-set command.
struct ParsedDataLine {
  DataLineKind kind = DataLineKind::NoChannel;
  std::string MemChannelText;  // "7 " (a one-digit channel keeps its blank), "42", "100"
  // Six digits MMkkkh read by the dots: 14.225.0, 7.050 and 7.05 give "142250", "070500" and
  // "070500"; a frequency written without dots keeps its digits as typed.
  std::string MemFrequencyDigits;
  // Why a frequency with dots could not be read that way (then it is never uploaded).
  std::string FrequencyProblem;
  std::string MemModeText;      // the whole mode zone without blanks: "USB", "CWr", "RTTYr"
  std::string MemFilterText;    // the digit that ends "Fil 2"
  std::string MemSelectedText;  // "1" for "Yes" in the select column, else "0"
  std::string MemLabelText;     // the first ten characters of the label
};

ParsedDataLine ParseDataLine(const std::string& line);

// Why the memory-set command could not store a channel line (channel outside 1 to 101,
// frequency not three to six digits, unknown mode word, filter not 1 to 3, a label letter
// whose byte is a link code), or the empty text
// when the line can be uploaded. Checked before a line is sent, so that a hand-edited line is
// skipped instead of ending the program or writing a wrong channel.
std::string UploadProblem(const ParsedDataLine& parsed);

// The memory window's fields for a line as it is shown by "View File" and "Update Rig": each
// field its fixed columns of the line, the progress line the whole line.
struct DataLineDisplay {
  std::string Text1;  // columns 2 to 4: channel
  std::string Text2;  // column 57: "Y" or a blank
  std::string Text3;  // columns 15 to 22: frequency
  std::string Text4;  // the mode zone (columns 29 to 42) up to its last letter, at least 4 columns
  std::string Text5;  // columns 43 to 47: filter
  std::string Text6;  // columns 71 to 82: label
  std::string Text7;  // the whole line
};
DataLineDisplay DisplayDataLine(const std::string& line);

// One field of a print-zone line: a text, a number (written with a leading and a trailing
// blank, the leading one standing for the sign), or nothing.
struct DataField {
  enum class Kind { Nothing, Text, Number };
  Kind kind = Kind::Nothing;
  std::string text;
  long number = 0;
  static DataField Empty() { return {}; }
  static DataField OfText(std::string t) { return {Kind::Text, std::move(t), 0}; }
  static DataField OfNumber(long n) { return {Kind::Number, {}, n}; }
};

inline constexpr std::size_t kPrintZoneWidth = 14;
inline constexpr std::size_t kDataLineFields = 6;

// The fields laid out in their zones. Fields 1 to 5 are followed by blanks up to the start of
// the next zone (a field that reaches a zone start moves on to the zone after it); the sixth is
// written as it is. Missing fields count as nothing; fields beyond the sixth are dropped.
std::string FormatDataLine(const std::vector<DataField>& fields);

// The fixed lines of a file written by "Create File".
std::vector<DataField> DataFileTitleFields(const std::string& dataFileName);
std::vector<DataField> DataFileEmptyFields();
std::vector<DataField> DataFileHeaderFields();
std::vector<DataField> DataFileEndFields();
// A channel line from what the memory window shows: the number, the frequency, mode and
// filter texts, the select mark ("*" writes "Yes", a single blank three blanks, anything else
// nothing) and the label.
std::vector<DataField> DataFileChannelFields(long channel, const std::string& frequency,
                                             const std::string& mode, const std::string& filter,
                                             const std::string& selectedMark,
                                             const std::string& label);

}  // namespace tavrin
