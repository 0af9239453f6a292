// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state that all windows of a control program share, under the names the windows and the
// operators' documentation use. One instance per running program, owned by ControlProgram;
// texts are byte strings (one char per byte).
#include <string>

namespace tavrin {

struct Station {
  // CI-V frame head and tail: FE FE 64 E0 and FD.
  std::string CivPreamble;
  std::string CivTail;

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

  // Link state.
  int PortOpened = 0;  // 1 after a successful OpenCommPort
  int SyncStep = 0;    // 1..6 during the start-up synchronisation, else 0
  bool AutoStatusOn = true;
  // The device behind the port is not there (gone while open, or missing when opened): the
  // program looks for it about once a second and re-opens it when it is back.
  bool PortGone = false;
  // The start-up synchronisation found no transceiver: the program asks for its identity
  // about once a second and synchronises when it answers.
  bool AwaitingRadio = false;

  // Decoded state.
  std::string LastAntenna;
  std::string LastRxTx;
  int SquelchState = 0;
  bool EdgeUpper = false;
  std::string FrequencyText;
  std::string DecodedLabel;

  // CI-V field buffers (byte strings).
  std::string SelectChannelField;  // 2 bytes
  std::string VfoFrequencyField;   // 5 bytes
  std::string TimeField;           // 2 bytes
  std::string ToneField;           // 7 bytes
  std::string MemoryRecordField;   // 27 bytes

  // Values handed to the memory commands.
  std::string MemChannelText;
  std::string MemFrequencyDigits;
  std::string MemModeText;
  std::string MemFilterText;
  std::string MemSelectedText;
  std::string MemLabelText;
  bool MemorySequenceBusy = false;
  bool ClearAfterSelect = false;

  // The memory window's sequences.
  bool CreateFileActive = false;
  bool ViewFileActive = false;
  bool UpdateRigActive = false;
  bool ViewRigActive = false;
  bool BlankRigActive = false;
  bool ScanRigActive = false;
  int SequenceChannel = 0;
  std::string RangeStart;
  std::string RangeEnd;
  double ScanSpeed = 0;
  std::string ScanSelectMode;
  bool ScanStopRequested = false;
  bool ScanSkipRequested = false;
  int ScanDwellCount = 0;
  bool AwaitingSquelch = false;

  // Prompted commands.
  std::string LastManualCommand;

  // The transceiver's operating mode as last learnt (the answers to mode queries, the mode
  // broadcasts and the mode frames sent), -1 when unknown; the filter options send it with
  // their filter. A filter option (1 to 3) waiting for the answer to the mode query it sent
  // first, else 0.
  int LastOperatingMode = -1;
  int FilterAwaitingMode = 0;

  // The error that ReportError shows.
  int ErrorNumber = 0;
  std::string ErrorDescription;

  // Set once the program has been ended; timers and chained actions stop working.
  bool Ended = false;
};

}  // namespace tavrin
