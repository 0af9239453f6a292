// SPDX-License-Identifier: GPL-3.0-or-later
// The six long operations of the memory window, one unit of work per timer tick. A step never
// waits for the transceiver: it sends through the radio window's memory commands, the reply
// timer (50 ms) decodes the answer into this window's fields, and the next step (100 to
// 500 ms later) works with what the decoder left there.
#include "app/control_program.h"
#include "app/text_functions.h"
#include "memory/memory_main.h"

namespace tavrin {

namespace {

constexpr int kLastOrdinaryChannel = 99;

}  // namespace

void MemoryMain::ShowDataLine(const std::string& line) {
  const DataLineDisplay shown = DisplayDataLine(line);
  Text1 = shown.Text1;
  Text2 = shown.Text2;
  Text3 = shown.Text3;
  Text4 = shown.Text4;
  Text5 = shown.Text5;
  Text6 = shown.Text6;
  Text7 = shown.Text7;
}

// View File: one line of the file per step, shown in the fields, up to the end line.
void MemoryMain::ViewFileStep() {
  Station& s = program_.station;
  if (!s.ViewFileActive || s.Ended) return Timer2.SetEnabled(false);
  DataFile& file = program_.dataFile;
  if (!file.AtEnd()) {
    std::string line;
    file.ReadDataLine(line);
    ShowDataLine(line);
    // A comment ends nothing, whatever its star is followed by.
    if (Text1 != "END" || line.front() == '*') return;
  }
  s.ViewFileActive = false;
  s.MemorySequenceBusy = false;
}

// View Rig: channels 1 to 99 read one by one; nothing is written.
void MemoryMain::ViewRigStep() {
  Station& s = program_.station;
  if (!s.ViewRigActive || s.Ended) return Timer4.SetEnabled(false);
  if (s.SequenceChannel >= kLastOrdinaryChannel) {
    s.SequenceChannel = 0;
    s.MemorySequenceBusy = false;
    s.ViewRigActive = false;
    ShowEndDisplay();
    return;
  }
  s.SequenceChannel += 1;
  s.MemChannelText = std::to_string(s.SequenceChannel);
  s.MemorySequenceBusy = true;
  program_.radio.Mrd();
}

// Blank Rig: one channel of the range cleared per step (select, then clear); channels 100
// and 101 are never cleared.
void MemoryMain::BlankRigStep() {
  Station& s = program_.station;
  if (!s.BlankRigActive || s.Ended) return Timer5.SetEnabled(false);
  if (s.SequenceChannel > LeadingNumber(s.RangeEnd) || s.SequenceChannel > kLastOrdinaryChannel) {
    ShowEndDisplay();
    s.SequenceChannel = 0;
    s.BlankRigActive = false;
    s.MemorySequenceBusy = false;
    s.ClearAfterSelect = false;
    return;
  }
  s.MemChannelText = std::to_string(s.SequenceChannel);
  Text1 = s.MemChannelText;
  s.SequenceChannel += 1;
  Text7 = "Clearing Memory Channel " + s.MemChannelText;
  s.MemorySequenceBusy = true;
  s.ClearAfterSelect = true;
  program_.radio.Msel();
  // Memory clear has normally lowered it already; when the select refused the channel it is
  // still raised, and a later select (a scan, the radio window) would clear its channel.
  s.ClearAfterSelect = false;
}

// Scan Rig: move to a channel (select and read), ask its squelch, and either move on or hold
// while a wanted channel is busy, asking again every ScanSpeed steps. Runs until stopped.
void MemoryMain::ScanRigStep() {
  Station& s = program_.station;
  if (!s.ScanRigActive || s.Ended) return Timer6.SetEnabled(false);
  // The channel moved to at the step before wants its squelch state; a blank one is left.
  if (s.AwaitingSquelch) {
    s.SquelchState = 0;
    if (Text7 != "Blank") {
      program_.radio.SquelchStatus();
      return;
    }
  }
  if (s.ScanStopRequested) {
    ShowEndDisplay();
    s.SequenceChannel = static_cast<int>(LeadingNumber(s.RangeStart));
    s.SquelchState = 0;
    s.ScanStopRequested = s.ScanSkipRequested = s.AwaitingSquelch = false;
    s.MemorySequenceBusy = false;
    s.ScanRigActive = false;
    s.AutoStatusOn = true;
    return;
  }
  const bool selected = Text2 == "*";
  const bool wanted =
      (s.ScanSelectMode == "1" && selected) || (s.ScanSelectMode == "0" && !selected);
  const bool busy = wanted && !s.ScanSkipRequested && s.SquelchState == 1;
  if (busy) {
    s.ScanDwellCount += 1;
    if (s.ScanDwellCount < s.ScanSpeed) return;
  }
  s.ScanDwellCount = 0;
  if (busy) {
    s.AwaitingSquelch = true;
    return;
  }
  s.MemChannelText = std::to_string(s.SequenceChannel);
  s.SequenceChannel += 1;
  s.ScanSkipRequested = false;
  if (s.SequenceChannel > LeadingNumber(s.RangeEnd) + 1 ||
      s.SequenceChannel > kLastOrdinaryChannel + 1) {
    // The pass is complete; the next step starts the range again.
    s.SequenceChannel = static_cast<int>(LeadingNumber(s.RangeStart));
    s.AwaitingSquelch = s.ScanSkipRequested = s.ScanStopRequested = false;
    s.ScanDwellCount = 0;
    s.SquelchState = 0;
    Text7.clear();
    return;
  }
  // A "Blank" shown for an earlier channel must not count for this one.
  Text7.clear();
  s.AwaitingSquelch = true;
  s.MemorySequenceBusy = true;
  program_.radio.Msel();
}

}  // namespace tavrin
