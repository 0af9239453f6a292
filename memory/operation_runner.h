// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory window's operations behind one runner: it holds the list of them, owns which one
// runs (one at a time: they share the window's fields and the data file) and the timer that
// steps it. Adding an operation is writing its class and adding it to the list
// (operation_runner.cpp).
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
  // Runs `operation` from now on, one step each of its periods.
  void Start(MemoryOperation& operation);
  // True, after telling the user in a box titled `title`, while an operation runs.
  bool AnotherRuns(const std::string& title);
  // "S t o p": the running operation ends at once.
  void Stop();
  // The program starts up again, or ends: nothing runs any more, nothing is said.
  void Drop();

  // The running operation, or none.
  [[nodiscard]] const MemoryOperation* Running() const { return running_; }
  [[nodiscard]] bool Runs(const std::string& title) const;

  Timer StepTimer;

 private:
  void Tick();

  struct Listed {
    std::unique_ptr<MemoryOperation> operation;
    // The shared flag that says it runs, or none.
    bool Station::*flag;
  };
  void SetFlag(const MemoryOperation* operation, bool value);

  ControlProgram& program_;
  std::vector<Listed> operations_;
  MemoryOperation* running_ = nullptr;
};

}  // namespace tavrin
