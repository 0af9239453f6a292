// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The comma-separated form that CHIRP and spreadsheets write: a record of fields split at
// commas, a field in double quotes may hold commas, quotes (doubled) and line ends; and the
// letters of such files, UTF-8 as a rule, turned into the program's single-byte text (Latin-1)
// and back.
#include <string>
#include <vector>

namespace tavrin {

// One record taken apart. `quoteOpen` says that the text ends inside a quoted field: the
// line end that follows belongs to the field, and the record goes on in the next line.
struct CsvRecordFields {
  std::vector<std::string> fields;
  bool quoteOpen = false;
};

// Splits a record at the commas outside quotes. A quote opens a quoted field only at the
// start of a field; inside it two quotes stand for one, and what follows the closing quote up
// to the next comma is kept as written (as Python's csv module reads it).
CsvRecordFields SplitCsvRecord(const std::string& record);

// A field as written into a record: in quotes (its quotes doubled) when it holds a comma, a
// quote, a CR or an LF, else as it is.
std::string CsvField(const std::string& text);

// A text read from a file, in the program's single-byte letters. A text that is valid UTF-8
// is decoded (CHIRP and spreadsheets write UTF-8); one that is not is a file saved in
// Latin-1 and taken byte for byte.
struct Latin1Text {
  std::string bytes;
  // The first character that has no Latin-1 byte (it stands as "?" in `bytes`), or 0.
  char32_t firstBeyond = 0;
};
Latin1Text Latin1OfFileText(const std::string& text);

// The program's single-byte text as UTF-8, as the file is written.
std::string Utf8OfLatin1(const std::string& bytes);

}  // namespace tavrin
