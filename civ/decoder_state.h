// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shared state the decoders read and write, under the names the windows use; the program's
// shared state holds it.
#include <string>

namespace tavrin {

struct DecoderState {
  std::string LastAntenna;  // decimal text of the last antenna byte
  std::string LastRxTx;     // decimal text of the last receive/transmit byte
  int SquelchState = 0;     // 0 closed, 1 open
  // The scan has moved to a channel and wants its squelch state; a squelch answer clears it.
  bool AwaitingSquelch = false;
  bool EdgeUpper = false;  // the next band-edge answer shows the upper edge
  std::string FrequencyText;
  std::string DecodedLabel;
  // The last mode, filter and select bytes decoded, as decimal lists (" 7").
  std::string MemModeText;
  std::string MemFilterText;
  std::string MemSelectedText;
  // The memory channel last asked for: a blank channel's display shows it.
  std::string MemChannelText;
  // The transceiver's operating mode as last learnt (the answers to mode queries, the mode
  // broadcasts and the mode frames sent), -1 when unknown; the filter options send it with
  // their filter.
  int LastOperatingMode = -1;
};

}  // namespace tavrin
