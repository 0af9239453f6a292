// SPDX-License-Identifier: GPL-3.0-or-later
// View Rig: channels 1 to 99 read one by one, one each half second; nothing is written.
#include <memory>

#include "app/control_program.h"
#include "memory/memory_main.h"
#include "memory/memory_operation.h"

namespace tavrin {

namespace {

constexpr int kLastOrdinaryChannel = 99;

class ViewRig final : public MemoryOperation {
 public:
  using MemoryOperation::MemoryOperation;

  const char* Title() const override { return "View Rig"; }
  int PeriodMs() const override { return 500; }
  bool Answers(const std::string& button) const override { return button == "Command4"; }

  void Click(const std::string& /*button*/) override {
    if (runner_.AnotherRuns(Title())) return;
    channel_ = 0;
    runner_.Start(*this);
  }

  Next Step() override {
    if (channel_ >= kLastOrdinaryChannel) {
      channel_ = 0;
      window_.ShowEndDisplay();
      return Next::End;
    }
    program_.radio.ReadMemoryChannel(std::to_string(++channel_));
    // The channels are for reading: one each period.
    return Next::AfterPeriod;
  }

  void Stopped() override { channel_ = 0; }

 private:
  int channel_ = 0;  // the channel last read
};

}  // namespace

std::unique_ptr<MemoryOperation> MakeViewRig(ControlProgram& program, MemoryMain& window,
                                             OperationRunner& runner) {
  return std::make_unique<ViewRig>(program, window, runner);
}

}  // namespace tavrin
