// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory/operation_runner.h"

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

// The list: each operation and the shared flag that says it runs.
struct Entry {
  std::unique_ptr<MemoryOperation> (*make)(ControlProgram&, MemoryMain&, OperationRunner&);
  bool Station::*flag;
};
constexpr Entry kOperations[] = {
    {MakeCreateFile, &Station::CreateFileActive}, {MakeViewFile, &Station::ViewFileActive},
    {MakeUpdateRig, &Station::UpdateRigActive},   {MakeViewRig, &Station::ViewRigActive},
    {MakeBlankRig, &Station::BlankRigActive},     {MakeScanRig, &Station::ScanRigActive},
};

}  // namespace

OperationRunner::OperationRunner(ControlProgram& program, MemoryMain& window)
    : StepTimer(program.platform.clock, 1000, [this] { Tick(); }), program_(program) {
  for (const Entry& entry : kOperations)
    operations_.push_back({entry.make(program, window, *this), entry.flag});
}

void OperationRunner::SetFlag(const MemoryOperation* operation, bool value) {
  for (const Listed& listed : operations_) {
    if (listed.operation.get() == operation && listed.flag != nullptr)
      program_.station.*listed.flag = value;
  }
}

OperationRunner::~OperationRunner() = default;

bool OperationRunner::Click(const std::string& button) {
  for (const Listed& listed : operations_) {
    if (!listed.operation->Answers(button)) continue;
    listed.operation->Click(button);
    return true;
  }
  return false;
}

void OperationRunner::Start(MemoryOperation& operation) {
  if (program_.station.Ended) return;
  SetFlag(running_, false);
  running_ = &operation;
  SetFlag(running_, true);
  StepTimer.SetEnabled(false);
  StepTimer.SetInterval(operation.PeriodMs());
  StepTimer.SetEnabled(true);
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
  if (running_ == nullptr || program_.station.Ended) return Drop();
  if (!running_->Step()) Drop();
}

void OperationRunner::Stop() {
  MemoryOperation* stopped = running_;
  Drop();
  if (stopped != nullptr) stopped->Stopped();
}

void OperationRunner::Drop() {
  SetFlag(running_, false);
  running_ = nullptr;
  StepTimer.SetEnabled(false);
}

}  // namespace tavrin
