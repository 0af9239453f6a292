// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test double of the window system: answers boxes from a script and records every box.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tavrin {

struct RecordedBox {
  enum class Kind { Message, Input, File };
  Kind kind = Kind::Message;
  std::string title;
  std::string text;  // message text, input prompt, or file filter
  BoxIcon icon = BoxIcon::None;
  BoxButtons buttons = BoxButtons::Ok;
  std::string defaultAnswer;  // input boxes
  int filterIndex = 0;        // file dialogs
};

class FakeDesktop : public Desktop {
 public:
  // Scripted answers, taken in order. A message box with no scripted answer gets its default
  // button (Yes for YesNo, No for YesNoDefaultNo) or Ok; an input box with none gets Cancel
  // (the empty text); a file dialog gets "".
  void AnswerYes() { messageAnswers_.push_back(BoxAnswer::Yes); }
  void AnswerNo() { messageAnswers_.push_back(BoxAnswer::No); }
  void Type(std::string text) { inputAnswers_.push_back(std::move(text)); }
  void ChooseFile(std::string path) { fileAnswers_.push_back(std::move(path)); }

  BoxAnswer MessageBox(const std::string& title, const std::string& text, BoxIcon icon,
                       BoxButtons buttons) override;
  std::string InputBox(const std::string& title, const std::string& prompt,
                       const std::string& defaultAnswer) override;
  std::string FileDialog(const std::string& filter, int filterIndex) override;
  void EndProgram() override { ended = true; }

  std::vector<RecordedBox> boxes;  // every box shown, in order
  bool ended = false;
  // Runs while a message box is up, as the time a person takes to read it: the program's
  // timers go on meanwhile, as they do behind a real modal box.
  std::function<void()> whileShown;

  // Boxes of one kind, for short assertions.
  [[nodiscard]] std::vector<RecordedBox> MessageBoxes() const;
  [[nodiscard]] std::vector<RecordedBox> InputBoxes() const;
  [[nodiscard]] std::size_t PendingInputs() const { return inputAnswers_.size(); }

 private:
  std::deque<BoxAnswer> messageAnswers_;
  std::deque<std::string> inputAnswers_;
  std::deque<std::string> fileAnswers_;
};

}  // namespace tavrin
