// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/operation_runner.h"

#include <algorithm>

#include "app/control_program.h"

namespace tavrin {

// The operations, each defined in its own file.
std::unique_ptr<MemoryOperation> MakeCreateFile(ControlProgram&, MemoryMain&, OperationRunner&);
std::unique_ptr<MemoryOperation> MakeViewFile(ControlProgram&, MemoryMain&, OperationRunner&);
std::unique_ptr<MemoryOperation> MakeUpdateRig(ControlProgram&, MemoryMain&, OperationRunner&);
std::unique_ptr<MemoryOperation> MakeViewRig(ControlProgram&, MemoryMain&, OperationRunner&);
std::unique_ptr<MemoryOperation> MakeBlankRig(ControlProgram&, MemoryMain&, OperationRunner&);
std::unique_ptr<MemoryOperation> MakeScanRig(ControlProgram&, MemoryMain&, OperationRunner&);

namespace {

// The list of the operations.
using MakeOperation = std::unique_ptr<MemoryOperation> (*)(ControlProgram&, MemoryMain&,
                                                           OperationRunner&);
constexpr MakeOperation kOperations[] = {MakeCreateFile, MakeViewFile, MakeUpdateRig,
                                         MakeViewRig,    MakeBlankRig, MakeScanRig};

}  // namespace

OperationRunner::OperationRunner(ControlProgram& program, MemoryMain& window)
    : StepTimer(program.platform.clock, 1000, [this] { Tick(); }),
      SoonTimer(program.platform.clock, 0, [this] { Tick(); }),
      program_(program) {
  for (const MakeOperation make : kOperations) operations_.push_back(make(program, window, *this));
}

OperationRunner::~OperationRunner() = default;

bool OperationRunner::Click(const std::string& button) {
  for (const std::unique_ptr<MemoryOperation>& operation : operations_) {
    if (!operation->Answers(button)) continue;
    operation->Click(button);
    return true;
  }
  return false;
}

void OperationRunner::Start(MemoryOperation& operation, bool atOnce) {
  if (program_.station.Ended) return;
  running_ = &operation;
  awaitingAnswer_ = false;
  SoonTimer.SetEnabled(false);
  StepTimer.SetEnabled(false);
  // On a slow line the reply window is longer than at 19200 baud: a step never comes before
  // the window of the last one is over, with as much to spare as the window at 19200.
  StepTimer.SetInterval(std::max(operation.PeriodMs(),
                                 program_.link.ReplyWindowMs() + CivLink::kShortestReplyWindowMs));
  StepTimer.SetEnabled(true);
  SoonTimer.SetEnabled(atOnce);
}

bool OperationRunner::AnotherRuns(const std::string& title) {
  if (running_ == nullptr) return false;
  program_.platform.desktop.MessageBox(
      title,
      std::string(running_->Title()) + " is running ... Wait for it to end or press Clear / Stop",
      BoxIcon::Exclamation, BoxButtons::Ok);
  return true;
}

bool OperationRunner::Runs(const std::string& title) const {
  return running_ != nullptr && title == running_->Title();
}

void OperationRunner::Tick() {
  // A box the step shows lets other events in before the step returns: no step may begin then.
  if (stepping_) return;
  SoonTimer.SetEnabled(false);
  StepTimer.SetEnabled(false);
  awaitingAnswer_ = false;
  if (running_ == nullptr || program_.station.Ended) return Drop();
  MemoryOperation* const stepped = running_;
  stepping_ = true;
  const MemoryOperation::Next next = stepped->Step();
  stepping_ = false;
  // Stopped, or the program ended, while the step's box was open.
  if (running_ != stepped || program_.station.Ended) return;
  if (next == MemoryOperation::Next::End) return Drop();
  // The period counts from this step.
  StepTimer.SetEnabled(true);
  if (next == MemoryOperation::Next::AtOnce) {
    SoonTimer.SetEnabled(true);
  } else if (next == MemoryOperation::Next::AfterAnswer && program_.link.ReplyTimerArmed()) {
    // (Nothing went out when the port is closed or gone: then the period.)
    awaitingAnswer_ = true;
    // The answer may take most of the period (broadcasts or noise ahead of it on the line):
    // the window ends with the answer, or a reply window before the next step.
    program_.link.EndReplyWhen(
        [stepped](const std::string& bytes) { return stepped->IsAwaitedAnswer(bytes); },
        StepTimer.Interval() - CivLink::kShortestReplyWindowMs);
  }
}

void OperationRunner::AnswerDecoded(const std::string& reply) {
  if (!awaitingAnswer_ || running_ == nullptr) return;
  awaitingAnswer_ = false;
  if (running_->IsAwaitedAnswer(reply)) SoonTimer.SetEnabled(true);
}

void OperationRunner::Stop() {
  MemoryOperation* stopped = running_;
  Drop();
  if (stopped != nullptr) stopped->Stopped();
}

void OperationRunner::Drop() {
  running_ = nullptr;
  awaitingAnswer_ = false;
  StepTimer.SetEnabled(false);
  SoonTimer.SetEnabled(false);
}

}  // namespace tavrin
