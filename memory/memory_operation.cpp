// SPDX-License-Identifier: GPL-3.0-or-later
// The questions the memory window's operations ask before they start.
#include "memory/memory_operation.h"

#include <algorithm>
#include <cctype>

#include "app/control_program.h"

namespace tavrin {

namespace {

bool IsChannelAnswer(const std::string& answer) {
  const std::size_t first = answer.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const std::size_t last = answer.find_last_not_of(' ');
  const std::string digits = answer.substr(first, last - first + 1);
  return digits.size() <= 3 && std::all_of(digits.begin(), digits.end(), [](char c) {
           return std::isdigit(static_cast<unsigned char>(c)) != 0;
         });
}

}  // namespace

bool MemoryOperation::AskedYes(const std::string& title, const std::string& text) {
  return program_.platform.desktop.MessageBox(title, text, BoxIcon::None, BoxButtons::YesNo) ==
         BoxAnswer::Yes;
}

std::string MemoryOperation::AskWithDefault(const std::string& title, const std::string& prompt,
                                            const std::string& defaultAnswer) {
  std::string answer = program_.platform.desktop.InputBox(title, prompt, defaultAnswer);
  return answer.empty() ? defaultAnswer : answer;
}

bool MemoryOperation::AskChannel(const std::string& title, const std::string& prompt,
                                 const std::string& defaultAnswer, std::string& answer) {
  answer = AskWithDefault(title, prompt, defaultAnswer);
  if (IsChannelAnswer(answer)) return true;
  program_.platform.desktop.MessageBox(
      title, answer + " ... is not a channel number ... Nothing was started.", BoxIcon::Exclamation,
      BoxButtons::Ok);
  return false;
}

bool MemoryOperation::DataFileChosen() {
  if (!program_.station.DataFilePath.empty()) return true;
  program_.platform.desktop.MessageBox(
      Title(), "No data file in use ... Choose one with Change Data File or SETUP",
      BoxIcon::Critical, BoxButtons::Ok);
  return false;
}

}  // namespace tavrin
