// SPDX-License-Identifier: GPL-3.0-or-later
// The answer text: plain answers carry the values one a line, or "RPRT n" for a setting or an
// error; extended answers name the command and its arguments first, label every value and end
// with "RPRT n", their lines joined by the separator the client chose. A command that is none
// of the protocol's has no name to tell: it is answered "RPRT -4" in either form.
#include <numeric>

#include "share/rigctl_answers.h"

namespace tavrin::share {

namespace {

bool IsSetting(RigctlCommand command) {
  switch (command) {
    case RigctlCommand::SetFreq:
    case RigctlCommand::SetMode:
    case RigctlCommand::SetVfo:
    case RigctlCommand::SetPtt:
    case RigctlCommand::SetSplitVfo:
    case RigctlCommand::SetSplitFreq:
    case RigctlCommand::SetSplitMode:
    case RigctlCommand::SetLockMode:
    case RigctlCommand::Quit:
      return true;
    default:
      return false;
  }
}

std::string Report(int error) { return "RPRT " + std::to_string(error == 0 ? 0 : -error); }

std::string ValueLine(const std::pair<std::string, std::string>& value) {
  return value.first.empty() ? value.second : value.first + ": " + value.second;
}

}  // namespace

std::string ErrorLine(int error) { return Report(error) + "\n"; }

std::string FormatAnswer(const RigctlRequest& request, const RigctlAnswer& answer) {
  const RigctlCommand command = request.command;
  const bool unnamed = command == RigctlCommand::Unknown;
  if (!request.extended) {
    if (answer.error != kRigOk || IsSetting(command) || unnamed) return ErrorLine(answer.error);
    std::string text;
    for (const auto& value : answer.values) text += value.second + "\n";
    // The plain answers of the lock mode and the capabilities carry their report too.
    if (command == RigctlCommand::GetLockMode || command == RigctlCommand::DumpCaps)
      text += ErrorLine(kRigOk);
    return text;
  }
  if (unnamed || command == RigctlCommand::Quit) return ErrorLine(answer.error);
  // The VFO check answers with its one labelled line alone.
  if (command == RigctlCommand::ChkVfo && answer.error == kRigOk)
    return ValueLine(answer.values.front()) + "\n";

  std::vector<std::string> lines;
  std::string head = request.name + ":";
  for (const std::string& arg : request.args) head += " " + arg;
  lines.push_back(head);
  if (answer.error == kRigOk) {
    for (const auto& value : answer.values) lines.push_back(ValueLine(value));
  }
  lines.push_back(Report(answer.error));
  std::string text = lines.front();
  for (std::size_t i = 1; i < lines.size(); ++i) text += request.separator + lines[i];
  return text + "\n";
}

}  // namespace tavrin::share
