// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns what the transceiver sends into window text and shared state: the reply to a command
// (recognised by its echo at the head of the buffer) and the unsolicited transceive frames.
//
// A reply that the 50 ms reply window cut short (a byte that a layout needs lies beyond the end
// of the buffer) is treated as a missing answer: nothing is decoded from it and no flag
// changes; the status line has already shown what came. The same holds for the bytes that are
// tested without a guard (the FF and 0B tests, antenna, squelch and mode bytes): a byte that is
// not there matches nothing. At 9600 baud and below a memory read does not fit in the window,
// so this keeps the program running where a strict reading would end it.
#include <string>

#include "civ/decoder_displays.h"

namespace tavrin {

class ReplyDecoder {
 public:
  explicit ReplyDecoder(DecoderTargets targets);

  // The reply collected by the reply timer after a command: at most one row of the decoding
  // table applies, chosen by the echoed command bytes 5 to 11.
  void DecodeReply(const std::string& reply);
  // One unsolicited frame (front-panel mode or frequency change), cut by the transceive timer.
  void DecodeTransceive(const std::string& frame);
  // Marks the radio window's mode option matching the mode field (Text4), and the filter
  // option matching the filter field (Text5), as program code does; other texts leave the
  // group unchanged.
  void MarkModeOption();
  void MarkFilterOption();
  // Marks the mode and filter options of a mode and a filter as the mode and filter fields
  // show them ("CWr", "Fil 3"), without running their actions: the transceiver is already
  // there (a mode a network client has set). An empty text leaves its group as it is.
  void ShowModeMarks(const std::string& modeText, const std::string& filterText);

  [[nodiscard]] const DecoderTargets& Targets() const { return to_; }

 private:
  DecoderTargets to_;
};

}  // namespace tavrin
