// SPDX-License-Identifier: GPL-3.0-or-later
// Scan Rig: move to a channel (select and read), ask its squelch, and either move on or hold
// while a wanted channel is busy, asking again every ScanSpeed steps. Runs until stopped. Its
// "=" scans the last range again without asking; "Skip" leaves a busy channel at once, or asks
// whether to stop on a quiet one.
#include <memory>

#include "app/control_program.h"
#include "app/leading_number.h"
#include "app/text_functions.h"
#include "memory/memory_main.h"
#include "memory/memory_operation.h"

namespace tavrin {

namespace {

constexpr int kLastOrdinaryChannel = 99;

class ScanRig final : public MemoryOperation {
 public:
  using MemoryOperation::MemoryOperation;

  const char* Title() const override { return "Scan Rig"; }
  int PeriodMs() const override { return 100; }
  bool Answers(const std::string& button) const override {
    return button == "Command6" || button == "Command13" || button == "Command11";
  }

  void Click(const std::string& button) override {
    if (button == "Command11") return Skip();
    window_.FocusedControl = "Command11";
    if (button == "Command13") return Repeat();
    if (runner_.Runs(Title())) return AskStop();
    if (runner_.AnotherRuns(Title())) return;
    if (!AskedYes(Title(), "Are you sure?")) return;
    std::string start;
    std::string end;
    if (!AskChannel(Title(), "STARTING Channel (1-101)", "1", start)) return;
    if (!AskChannel(Title(), "ENDING Channel (1-101)", "99", end)) return;
    rangeStart_ = window_.LastScanStart = start;
    rangeEnd_ = window_.LastScanEnd = end;
    // A speed without leading digits reads as 0: the scan then asks a busy channel again at
    // every second step.
    speed_ = LeadingNumber(AskWithDefault(Title(), "Scan SPEED (1-100)", "25"));
    window_.LastScanSpeed = NumberText(speed_);
    selectMode_ = window_.LastScanSelectMode =
        AskWithDefault(Title(), "Scan ONLY Select or SKIP Select (1=Only, 0=Skip)", "0");
    Begin();
  }

  // The scan keeps its pace: its dwell on a busy channel is counted in periods.
  Next Step() override {
    // It holds still while the stop question is open.
    if (askingToStop_) return Next::AfterPeriod;
    Station& s = program_.station;
    // The channel moved to at the step before wants its squelch state; a blank one is left.
    if (s.AwaitingSquelch) {
      s.SquelchState = 0;
      if (window_.Text7 != "Blank") {
        program_.radio.SquelchStatus();
        return Next::AfterPeriod;
      }
    }
    if (stopRequested_) {
      window_.ShowEndDisplay();
      channel_ = static_cast<int>(LeadingNumber(rangeStart_));
      s.SquelchState = 0;
      stopRequested_ = skipRequested_ = s.AwaitingSquelch = false;
      s.AutoStatusOn = true;
      return Next::End;
    }
    const bool selected = window_.Text2 == "*";
    const bool wanted = (selectMode_ == "1" && selected) || (selectMode_ == "0" && !selected);
    const bool busy = wanted && !skipRequested_ && s.SquelchState == 1;
    if (busy) {
      dwellCount_ += 1;
      if (dwellCount_ < speed_) return Next::AfterPeriod;
    }
    dwellCount_ = 0;
    if (busy) {
      s.AwaitingSquelch = true;
      return Next::AfterPeriod;
    }
    const std::string channel = std::to_string(channel_++);
    skipRequested_ = false;
    if (channel_ > LeadingNumber(rangeEnd_) + 1 || channel_ > kLastOrdinaryChannel + 1) {
      // The pass is complete; the next step starts the range again.
      channel_ = static_cast<int>(LeadingNumber(rangeStart_));
      s.AwaitingSquelch = skipRequested_ = stopRequested_ = false;
      dwellCount_ = 0;
      s.SquelchState = 0;
      window_.Text7.clear();
      return Next::AfterPeriod;
    }
    // A "Blank" shown for an earlier channel must not count for this one.
    window_.Text7.clear();
    s.AwaitingSquelch = true;
    program_.radio.SelectMemoryChannel(channel, AfterSelect::Read);
    return Next::AfterPeriod;
  }

  void Stopped() override {
    channel_ = 0;
    stopRequested_ = skipRequested_ = askingToStop_ = false;
  }

 private:
  // "=": the last scan again, without any question.
  void Repeat() {
    if (window_.LastScanStart.empty() || window_.LastScanEnd.empty() ||
        window_.LastScanSpeed.empty() || window_.LastScanSelectMode.empty())
      return;
    if (runner_.AnotherRuns(Title())) return;
    rangeStart_ = window_.LastScanStart;
    rangeEnd_ = window_.LastScanEnd;
    speed_ = LeadingNumber(window_.LastScanSpeed);
    selectMode_ = window_.LastScanSelectMode;
    Begin();
  }

  void Begin() {
    Station& s = program_.station;
    channel_ = static_cast<int>(LeadingNumber(rangeStart_));
    stopRequested_ = skipRequested_ = false;
    dwellCount_ = 0;
    s.SquelchState = 0;
    s.AutoStatusOn = false;
    runner_.Start(*this);
    program_.radio.Mem();
  }

  void Skip() {
    if (!runner_.Runs(Title())) return;
    if (program_.station.SquelchState == 1) {
      skipRequested_ = true;
    } else {
      AskStop();
    }
  }

  void AskStop() {
    askingToStop_ = true;
    if (AskedYes(Title(), "STOP Scan Rig?")) stopRequested_ = true;
    askingToStop_ = false;
  }

  std::string rangeStart_;  // the first and last channel, as typed
  std::string rangeEnd_;
  double speed_ = 0;        // steps to hold on a busy channel before asking again
  std::string selectMode_;  // "1": only selected channels; "0": only the others
  int channel_ = 0;         // the channel the next move goes to
  bool stopRequested_ = false;
  bool skipRequested_ = false;
  bool askingToStop_ = false;
  int dwellCount_ = 0;  // steps on a busy channel since its squelch was last asked
};

}  // namespace

std::unique_ptr<MemoryOperation> MakeScanRig(ControlProgram& program, MemoryMain& window,
                                             OperationRunner& runner) {
  return std::make_unique<ScanRig>(program, window, runner);
}

}  // namespace tavrin
