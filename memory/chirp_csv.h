// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A memory data file in CHIRP's comma-separated form, the format radio amateurs trade channel
// lists in. One record a channel under a header that names the columns: Location (the channel,
// 100 and 101 for P1 and P2), Name (the label), Frequency (MHz), Mode (CHIRP's word, in
// civ/mode_table.h), and columns for repeater offsets, tones, tuning step and the like, which
// a memory channel of this transceiver does not hold. What CHIRP has no column for, the filter
// and the select mark, is written into Comment as "Fil 2" or "Fil 2; Select".
//
// Reading gives for every record what the text data file's line reader gives for a line: the
// values for the memory-set command, or the reason the record cannot be stored. Nothing is
// stored as another value than the file says: a record this transceiver cannot hold is
// skipped with its reason.
#include <optional>
#include <string>
#include <vector>

#include "memory/data_line.h"

namespace tavrin {

// The header line CHIRP writes (its release of November 2022), the columns in its order.
inline constexpr const char* kChirpCsvHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,"
    "TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

// One record of the file as "View File" and "Update Rig" take it.
struct ChirpCsvRecord {
  // The record as read: its lines joined by LF (a quoted field may hold a line end).
  std::string text;
  // kind Comment for the header and "#" lines, NoChannel for an empty record, Channel for
  // every other; a channel record's values are those handed to the memory-set command.
  ParsedDataLine parsed;
  // Why a channel record cannot be stored, or the empty text when it can.
  std::string problem;
  // What was changed on the way in a record that can be stored (a name cut to ten letters).
  std::string note;
  // The memory window's fields for the record.
  DataLineDisplay shown;
};

// Takes a CHIRP CSV file line by line, as the data file is read: a UTF-8 byte order mark in
// front of the first line is dropped, "#" lines are comments, the first other non-empty
// record is the header, whose column names (in any order, case and blanks around them aside)
// say where each value stands. The header of CHIRP's later releases (with RxDtcsCode,
// CrossMode and Power) and a spreadsheet's selection of columns read alike.
class ChirpCsvReader {
 public:
  // A record runs over at most this many lines; one that would run longer holds a quote that
  // is never closed and is refused, so that one stray quote cannot swallow the whole file.
  static constexpr int kMostLinesOfRecord = 10;

  // The next line of the file, without its line end (a CR before it is dropped). Gives the
  // record the line completes, or nothing while a quoted field goes on in the next line.
  std::optional<ChirpCsvRecord> TakeLine(std::string line);
  // At the end of the file: a record still open (its quote never closed), refused.
  std::optional<ChirpCsvRecord> TakeEnd();

 private:
  ChirpCsvRecord ReadRecord(const std::string& text, bool quoteOpen);
  void TakeHeader(const std::vector<std::string>& fields);

  bool firstLine_ = true;
  bool haveHeader_ = false;
  std::vector<std::string> columns_;
  std::string pending_;
  int pendingLines_ = 0;
};

// A whole file read with ChirpCsvReader, its lines split at LF: every record in order.
std::vector<ChirpCsvRecord> ReadChirpCsv(const std::string& bytes);

// The line for one channel, from what "Create File" has for it: the channel number, the
// frequency, mode and filter texts the memory window shows ("14.195.0", "CWr", "Fil 2"), its
// select mark ("*" for a selected channel) and its label (the program's single-byte letters,
// written as UTF-8). The columns a memory channel does not hold get CHIRP's neutral values.
std::string ChirpCsvChannelLine(long channel, const std::string& frequency, const std::string& mode,
                                const std::string& filter, const std::string& selectedMark,
                                const std::string& label);

}  // namespace tavrin
