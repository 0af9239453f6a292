// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/rigctl_request.h"

#include <algorithm>
#include <array>

namespace tavrin::share {

namespace {

struct CommandRow {
  char letter;
  const char* name;
  RigctlCommand command;
  std::size_t arguments;
};

constexpr std::array<CommandRow, 17> kCommands{{
    {'f', "get_freq", RigctlCommand::GetFreq, 0},
    {'F', "set_freq", RigctlCommand::SetFreq, 1},
    {'m', "get_mode", RigctlCommand::GetMode, 0},
    {'M', "set_mode", RigctlCommand::SetMode, 2},
    {'v', "get_vfo", RigctlCommand::GetVfo, 0},
    {'V', "set_vfo", RigctlCommand::SetVfo, 1},
    {'t', "get_ptt", RigctlCommand::GetPtt, 0},
    {'T', "set_ptt", RigctlCommand::SetPtt, 1},
    {'s', "get_split_vfo", RigctlCommand::GetSplitVfo, 0},
    {'S', "set_split_vfo", RigctlCommand::SetSplitVfo, 2},
    {'\0', "dump_state", RigctlCommand::DumpState, 0},
    {'\0', "chk_vfo", RigctlCommand::ChkVfo, 0},
    {'\0', "get_powerstat", RigctlCommand::GetPowerstat, 0},
    {'\0', "get_info", RigctlCommand::GetInfo, 0},
    {'\0', "get_lock_mode", RigctlCommand::GetLockMode, 0},
    {'\0', "set_lock_mode", RigctlCommand::SetLockMode, 1},
    {'q', "quit", RigctlCommand::Quit, 0},
}};

// The other one-letter commands of the protocol (levels, functions, memories, RIT, tones,
// ...): the transceiver behind this port does not offer them.
constexpr std::string_view kOtherLetters = "IiXxJjZzRrOoCcDdNnLlUuPpGgAaHhEeBbYyWw128_";
// And the long names of a few that clients ask for at start.
constexpr std::array<std::string_view, 12> kOtherNames{
    "get_vfo_info", "get_level",     "set_level", "get_func",  "set_func",       "get_rit",
    "get_xit",      "set_powerstat", "get_clock", "dump_caps", "get_split_mode", "send_cmd"};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    const std::size_t start = at;
    while (at < text.size() && !IsBlank(text[at])) ++at;
    if (at > start) words.emplace_back(text.substr(start, at - start));
  }
  return words;
}

}  // namespace

bool IsRequestText(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x20 && byte < 0x7F) || byte == '\t' || byte == '\r';
  });
}

std::optional<RigctlRequest> ParseRequestLine(std::string_view line) {
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
  if (line.empty()) return std::nullopt;

  RigctlRequest request;
  const char first = line.front();
  if (first == '+' || first == ';' || first == '|' || first == ',') {
    request.extended = true;
    request.separator = first == '+' ? '\n' : first;
    line.remove_prefix(1);
  }
  if (line.empty()) {
    request.error = kRigNotImplemented;
    return request;
  }

  std::string_view rest;
  const CommandRow* row = nullptr;
  if (line.front() == '\\') {
    const std::size_t end = std::min(line.find_first_of(" \t"), line.size());
    const std::string_view name = line.substr(1, end - 1);
    rest = line.substr(end);
    request.name = std::string(name);
    for (const CommandRow& candidate : kCommands) {
      if (name == candidate.name) row = &candidate;
    }
    if (row == nullptr) {
      const bool known =
          std::find(kOtherNames.begin(), kOtherNames.end(), name) != kOtherNames.end();
      request.command = known ? RigctlCommand::Unsupported : RigctlCommand::Unknown;
      request.error = known ? kRigNotAvailable : kRigNotImplemented;
      return request;
    }
    // "\quit" is the long form of "q".
  } else {
    const char letter = line.front();
    rest = line.substr(1);
    for (const CommandRow& candidate : kCommands) {
      if (candidate.letter != '\0' && letter == candidate.letter) row = &candidate;
    }
    if (letter == 'Q') row = &kCommands.back();
    if (row == nullptr) {
      const bool known = kOtherLetters.find(letter) != std::string_view::npos;
      request.command = known ? RigctlCommand::Unsupported : RigctlCommand::Unknown;
      request.error = known ? kRigNotAvailable : kRigNotImplemented;
      return request;
    }
  }
  request.command = row->command;
  request.name = row->name;
  request.args = Words(rest);
  if (request.args.size() != row->arguments) request.error = kRigInvalid;
  return request;
}

}  // namespace tavrin::share
