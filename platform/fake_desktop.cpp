// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake_desktop.h"

namespace tavrin {

BoxAnswer FakeDesktop::MessageBox(const std::string& title, const std::string& text, BoxIcon icon,
                                  BoxButtons buttons) {
  boxes.push_back({RecordedBox::Kind::Message, title, text, icon, buttons, "", 0});
  if (whileShown) whileShown();
  BoxAnswer answer = buttons == BoxButtons::YesNo            ? BoxAnswer::Yes
                     : buttons == BoxButtons::YesNoDefaultNo ? BoxAnswer::No
                                                             : BoxAnswer::Ok;
  if (buttons != BoxButtons::Ok && !messageAnswers_.empty()) {
    answer = messageAnswers_.front();
    messageAnswers_.pop_front();
  }
  return answer;
}

std::string FakeDesktop::InputBox(const std::string& title, const std::string& prompt,
                                  const std::string& defaultAnswer) {
  boxes.push_back({RecordedBox::Kind::Input, title, prompt, BoxIcon::None, BoxButtons::Ok,
                   defaultAnswer, 0});
  if (inputAnswers_.empty()) return {};
  std::string answer = inputAnswers_.front();
  inputAnswers_.pop_front();
  return answer;
}

std::string FakeDesktop::FileDialog(const std::string& filter, int filterIndex) {
  boxes.push_back(
      {RecordedBox::Kind::File, "", filter, BoxIcon::None, BoxButtons::Ok, "", filterIndex});
  if (fileAnswers_.empty()) return {};
  std::string answer = fileAnswers_.front();
  fileAnswers_.pop_front();
  return answer;
}

std::vector<RecordedBox> FakeDesktop::MessageBoxes() const {
  std::vector<RecordedBox> result;
  for (const auto& box : boxes)
    if (box.kind == RecordedBox::Kind::Message) result.push_back(box);
  return result;
}

std::vector<RecordedBox> FakeDesktop::InputBoxes() const {
  std::vector<RecordedBox> result;
  for (const auto& box : boxes)
    if (box.kind == RecordedBox::Kind::Input) result.push_back(box);
  return result;
}

}  // namespace tavrin
