// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns what the transceiver sends into window text and shared state: the reply to a command
// (recognised by its echo at the head of the buffer), the start-up synchronisation, and the
// unsolicited transceive frames.
//
// A reply that the 50 ms reply window cut short (a byte that a layout needs lies beyond the end
// of the buffer) is treated as a missing answer: nothing is decoded from it and no flag
// changes; the status line has already shown what came. The same holds for the bytes that are
// tested without a guard (the FF and 0B tests, antenna, squelch and mode bytes): a byte that is
// not there matches nothing. At 9600 baud and below a memory read does not fit in the window,
// so this keeps the program running where a strict reading would end it.
#include <string>

namespace tavrin {

class ControlProgram;

class ReplyDecoder {
 public:
  explicit ReplyDecoder(ControlProgram& program);

  // The reply collected by the reply timer after a command: at most one row of the decoding
  // table applies, chosen by the echoed command bytes 5 to 11.
  void DecodeReply(const std::string& reply);
  // One step of the start-up synchronisation (tavrin, korvid), with the reply just collected:
  // steps 1 to 5 send the next query, step 6 checks the identity answer and marks the radio
  // window's options to the transceiver's state, or ends the program (error 99).
  void SynchronisationStep(const std::string& reply);
  // One step of belmarq's identity exchange: step 1 sends the "Rig Id" query, step 2 ends the
  // program (error 99) when the answer did not come.
  void IdentityExchangeStep(const std::string& reply);
  // One unsolicited frame (front-panel mode or frequency change), cut by the transceive timer.
  void DecodeTransceive(const std::string& frame);
  // Marks the mode and filter options of a mode and a filter as the mode and filter fields
  // show them ("CWr", "Fil 3"), without running their actions: the transceiver is already
  // there (a mode a network client has set). An empty text leaves its group as it is.
  void ShowModeMarks(const std::string& modeText, const std::string& filterText);

 private:
  // Marks the radio window's mode option matching the mode field (Text4), and the filter
  // option matching the filter field (Text5); other texts leave the group unchanged.
  void MarkModeOption();
  void MarkFilterOption();

  ControlProgram& program_;
};

}  // namespace tavrin
