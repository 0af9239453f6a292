// SPDX-License-Identifier: GPL-3.0-or-later
// Blank Rig: one channel of a range cleared per step (select, then clear); channels 100 and
// 101 are never cleared this way. Its "=" repeats the last range without asking.
#include <memory>

#include "app/control_program.h"
#include "app/text_functions.h"
#include "civ/command_bytes.h"
#include "civ/frame.h"
#include "memory/memory_main.h"
#include "memory/memory_operation.h"

namespace tavrin {

namespace {

constexpr int kLastOrdinaryChannel = 99;
constexpr const char* kRangeTitle = "Blank Rig Memories";

class BlankRig final : public MemoryOperation {
 public:
  using MemoryOperation::MemoryOperation;

  const char* Title() const override { return "Blank Rig"; }
  int PeriodMs() const override { return 200; }
  bool Answers(const std::string& button) const override {
    return button == "Command5" || button == "Command12";
  }

  void Click(const std::string& button) override {
    if (button == "Command12") return Repeat();
    if (runner_.AnotherRuns(Title())) return;
    if (!AskedYes(Title(), "Are you sure?")) return;
    std::string start;
    std::string end;
    if (!AskChannel(kRangeTitle, "Enter STARTING Channel Number (1-101)", "1", start)) return;
    if (!AskChannel(kRangeTitle, "Enter ENDING Channel Number (1-101)", "99", end)) return;
    window_.LastBlankStart = start;
    window_.LastBlankEnd = end;
    Begin(start, end);
  }

  Next Step() override {
    if (channel_ > LeadingNumber(rangeEnd_) || channel_ > kLastOrdinaryChannel) {
      window_.ShowEndDisplay();
      channel_ = 0;
      return Next::End;
    }
    const std::string channel = std::to_string(channel_++);
    window_.Text1 = channel;
    window_.Text7 = "Clearing Memory Channel " + channel;
    program_.radio.SelectMemoryChannel(channel, AfterSelect::Clear);
    return Next::AfterAnswer;
  }

  // The transceiver's "accepted" behind the echo of the clear: the transceiver answers the last
  // frame of the select and clear it was sent.
  bool IsAwaitedAnswer(const std::string& reply) const override {
    static const std::string kCleared = civ::ControllerFrame(civ::Bytes({civ::kMemoryClear})) +
                                        civ::AnswerHead() + civ::Bytes({civ::kAccepted, civ::kEnd});
    return reply.find(kCleared) != std::string::npos;
  }

  void Stopped() override { channel_ = 0; }

 private:
  // "=": the last range again, without any question.
  void Repeat() {
    if (window_.LastBlankStart.empty() || window_.LastBlankEnd.empty()) return;
    if (runner_.AnotherRuns(Title())) return;
    Begin(window_.LastBlankStart, window_.LastBlankEnd);
  }

  void Begin(const std::string& start, const std::string& end) {
    rangeEnd_ = end;
    channel_ = static_cast<int>(LeadingNumber(start));
    runner_.Start(*this, true);
  }

  std::string rangeEnd_;  // the last channel, as typed
  int channel_ = 0;       // the channel the next step clears
};

}  // namespace

std::unique_ptr<MemoryOperation> MakeBlankRig(ControlProgram& program, MemoryMain& window,
                                              OperationRunner& runner) {
  return std::make_unique<BlankRig>(program, window, runner);
}

}  // namespace tavrin
