// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One long operation of the memory window ("Create File", "Scan Rig", ...): a small class whose
// buttons prepare it and whose step does one unit of work (a channel, a file line) each time
// the runner steps it. A step that asks the transceiver says so, and the next step comes as
// soon as the answer is in; the period is only the longest wait. None of them blocks the
// window.
#include <string>

namespace tavrin {

class ControlProgram;
class MemoryMain;
class OperationRunner;

class MemoryOperation {
 public:
  MemoryOperation(ControlProgram& program, MemoryMain& window, OperationRunner& runner)
      : program_(program), window_(window), runner_(runner) {}
  virtual ~MemoryOperation() = default;
  MemoryOperation(const MemoryOperation&) = delete;
  MemoryOperation& operator=(const MemoryOperation&) = delete;

  // Its name, as its button and its boxes say it: "Create File".
  [[nodiscard]] virtual const char* Title() const = 0;
  // The time between two steps, in milliseconds.
  [[nodiscard]] virtual int PeriodMs() const = 0;
  // Whether a button (design name) belongs to it.
  [[nodiscard]] virtual bool Answers(const std::string& button) const = 0;
  // A click on one of its buttons: asks its questions and, when it is to run, starts it
  // (OperationRunner::Start).
  virtual void Click(const std::string& button) = 0;
  // What the runner waits for after a step before it takes the next.
  enum class Next {
    End,          // the operation has ended
    AfterPeriod,  // the period (the operations for reading, and the scan, keep their pace)
    // The answer the step asked for (IsAwaitedAnswer): the next step comes as soon as it is in
    // and decoded, and when it does not come, when the period is over.
    AfterAnswer,
    AtOnce,  // nothing: the step sent nothing
  };
  // One step.
  virtual Next Step() = 0;
  // Whether the bytes of a reply (from the echo of the frame the step sent first) hold the
  // answer the last step waits for, whole and well-formed.
  [[nodiscard]] virtual bool IsAwaitedAnswer(const std::string& /*reply*/) const { return false; }
  // "S t o p" ended it (after the window has cleared its fields and closed the data file).
  virtual void Stopped() {}

 protected:
  // A Yes/No box without icon: true for Yes.
  bool AskedYes(const std::string& title, const std::string& text);
  // An input box whose empty answer (or Cancel) means the default.
  std::string AskWithDefault(const std::string& title, const std::string& prompt,
                             const std::string& defaultAnswer);
  // Asks a channel number for a range; the default replaces an empty answer. False (after
  // telling the user) when the answer is not a whole number of up to three digits, which
  // would make the steps compare text with channel numbers.
  bool AskChannel(const std::string& title, const std::string& prompt,
                  const std::string& defaultAnswer, std::string& answer);
  // Whether a data file has been chosen; tells the user when none has.
  bool DataFileChosen();

  ControlProgram& program_;
  MemoryMain& window_;
  OperationRunner& runner_;
};

}  // namespace tavrin
