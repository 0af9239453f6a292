// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state that all windows of a control program share, under the names the windows and the
// operators' documentation use. One instance per running program, owned by ControlProgram;
// texts are byte strings (one char per byte). The link's state and the decoders' state are
// parts of it that the link and the decoders keep.
#include <string>

#include "civ/decoder_state.h"
#include "civ/link_state.h"

namespace tavrin {

struct Station : LinkState, DecoderState {
  // Station settings, named after their KESTRA.INI keys.
  std::string DeftFile;
  std::string CallSign;
  std::string CommPort;
  std::string CommBaud;
  bool ConfigMissing = false;

  // The memory data file in use (file number 1).
  std::string DataFilePath;
  std::string DataFileName;
  bool DataFileOpen = false;

  int SyncStep = 0;  // 1..6 during the start-up synchronisation, else 0

  // CI-V field buffers (byte strings): what the commands last sent.
  std::string SelectChannelField;  // 2 bytes, the channel code of "Msel" and "Mrd"
  std::string VfoFrequencyField;   // 5 bytes, the frequency of "SetFq"
  std::string TimeField;           // 2 bytes, the time of "Set Time"
  std::string MemoryRecordField;   // 27 bytes, the record of "Mset"

  // Prompted commands.
  std::string LastManualCommand;

  // A filter option (1 to 3) waiting for the answer to the mode query it sent first, else 0.
  int FilterAwaitingMode = 0;

  // The error that ReportError shows.
  int ErrorNumber = 0;
  std::string ErrorDescription;

  // Set once the program has been ended; timers and chained actions stop working.
  bool Ended = false;
};

}  // namespace tavrin
