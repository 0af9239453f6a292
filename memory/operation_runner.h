// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory window's operations behind one runner: it holds the list of them, owns which one
// runs (one at a time: they share the window's fields and the data file) and the timers that
// step it. A step that waits for an answer is followed by the next as soon as the answer is in
// and decoded (the link ends the reply then); the operation's period is the longest wait, so a
// transceiver that is silent or slow is given the whole period, and its steps keep that pace.
// Adding an operation is writing its class and adding it to the list (operation_runner.cpp).
#include <memory>
#include <string>
#include <vector>

#include "app/station.h"
#include "memory/memory_operation.h"
#include "platform/clock.h"

namespace tavrin {

class OperationRunner {
 public:
  OperationRunner(ControlProgram& program, MemoryMain& window);
  ~OperationRunner();
  OperationRunner(const OperationRunner&) = delete;
  OperationRunner& operator=(const OperationRunner&) = delete;

  // A click on a button of an operation; false when no operation has that button.
  bool Click(const std::string& button);
  // Runs `operation` from now on: its first step when its period is over, or (`atOnce`, for
  // an operation whose steps follow the answers) at once.
  void Start(MemoryOperation& operation, bool atOnce = false);
  // True, after telling the user in a box titled `title`, while an operation runs.
  bool AnotherRuns(const std::string& title);
  // "S t o p": the running operation ends at once.
  void Stop();
  // The reply to a command has been decoded: when it holds the answer the running operation's
  // last step waits for, the next step comes now.
  void AnswerDecoded(const std::string& reply);
  // The program starts up again, or ends: nothing runs any more, nothing is said.
  void Drop();

  // The running operation, or none.
  [[nodiscard]] const MemoryOperation* Running() const { return running_; }
  [[nodiscard]] bool Runs(const std::string& title) const;

  // The period, counted from the last step; and the next step at once.
  Timer StepTimer;
  Timer SoonTimer;

 private:
  void Tick();

  ControlProgram& program_;
  std::vector<std::unique_ptr<MemoryOperation>> operations_;
  MemoryOperation* running_ = nullptr;
  bool awaitingAnswer_ = false;
  bool stepping_ = false;
};

}  // namespace tavrin
