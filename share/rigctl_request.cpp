// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/rigctl_request.h"

#include <algorithm>
#include <array>

namespace tavrin::share {

namespace {

struct CommandRow {
  char letter;  // '\0': the command has a long name only
  const char* name;
  RigctlCommand command;
  std::size_t arguments;
};

using C = RigctlCommand;

// Every command of the protocol with its letter, long name and number of arguments. The rows
// marked Unsupported are commands this transceiver does not offer (RIT, levels, tones,
// memories, ...): they are read with their arguments and answered "not available".
constexpr std::array<CommandRow, 68> kCommands{{
    {'f', "get_freq", C::GetFreq, 0},
    {'F', "set_freq", C::SetFreq, 1},
    {'m', "get_mode", C::GetMode, 0},
    {'M', "set_mode", C::SetMode, 2},
    {'v', "get_vfo", C::GetVfo, 0},
    {'V', "set_vfo", C::SetVfo, 1},
    {'t', "get_ptt", C::GetPtt, 0},
    {'T', "set_ptt", C::SetPtt, 1},
    {'s', "get_split_vfo", C::GetSplitVfo, 0},
    {'S', "set_split_vfo", C::SetSplitVfo, 2},
    {'i', "get_split_freq", C::GetSplitFreq, 0},
    {'I', "set_split_freq", C::SetSplitFreq, 1},
    {'x', "get_split_mode", C::GetSplitMode, 0},
    {'X', "set_split_mode", C::SetSplitMode, 2},
    {'1', "dump_caps", C::DumpCaps, 0},
    {'_', "get_info", C::GetInfo, 0},
    {'q', "quit", C::Quit, 0},
    {'Q', "quit", C::Quit, 0},
    {'\0', "get_vfo_info", C::GetVfoInfo, 1},
    {'\0', "dump_state", C::DumpState, 0},
    {'\0', "chk_vfo", C::ChkVfo, 0},
    {'\0', "get_powerstat", C::GetPowerstat, 0},
    {'\0', "get_lock_mode", C::GetLockMode, 0},
    {'\0', "set_lock_mode", C::SetLockMode, 1},
    {'J', "set_rit", C::Unsupported, 1},
    {'j', "get_rit", C::Unsupported, 0},
    {'Z', "set_xit", C::Unsupported, 1},
    {'z', "get_xit", C::Unsupported, 0},
    {'Y', "set_ant", C::Unsupported, 2},
    {'y', "get_ant", C::Unsupported, 1},
    {'b', "send_morse", C::Unsupported, 1},
    {'R', "set_rptr_shift", C::Unsupported, 1},
    {'r', "get_rptr_shift", C::Unsupported, 0},
    {'O', "set_rptr_offs", C::Unsupported, 1},
    {'o', "get_rptr_offs", C::Unsupported, 0},
    {'C', "set_ctcss_tone", C::Unsupported, 1},
    {'c', "get_ctcss_tone", C::Unsupported, 0},
    {'D', "set_dcs_code", C::Unsupported, 1},
    {'d', "get_dcs_code", C::Unsupported, 0},
    {'N', "set_ts", C::Unsupported, 1},
    {'n', "get_ts", C::Unsupported, 0},
    {'U', "set_func", C::Unsupported, 2},
    {'u', "get_func", C::Unsupported, 1},
    {'L', "set_level", C::Unsupported, 2},
    {'l', "get_level", C::Unsupported, 1},
    {'P', "set_parm", C::Unsupported, 2},
    {'p', "get_parm", C::Unsupported, 1},
    {'B', "set_bank", C::Unsupported, 1},
    {'E', "set_mem", C::Unsupported, 1},
    {'e', "get_mem", C::Unsupported, 0},
    {'G', "vfo_op", C::Unsupported, 1},
    {'g', "scan", C::Unsupported, 2},
    {'H', "set_channel", C::Unsupported, 1},
    {'h', "get_channel", C::Unsupported, 1},
    {'A', "set_trn", C::Unsupported, 1},
    {'a', "get_trn", C::Unsupported, 0},
    {'*', "reset", C::Unsupported, 1},
    {'2', "power2mW", C::Unsupported, 3},
    {'4', "mW2power", C::Unsupported, 3},
    {'w', "send_cmd", C::Unsupported, 1},
    {'W', "send_cmd_rx", C::Unsupported, 2},
    {'\0', "set_powerstat", C::Unsupported, 1},
    {'\0', "get_clock", C::Unsupported, 0},
    {'\0', "set_clock", C::Unsupported, 1},
    {'\0', "get_rig_info", C::Unsupported, 0},
    {'\0', "get_dcd", C::Unsupported, 0},
    {'\0', "send_dtmf", C::Unsupported, 1},
    {'\0', "recv_dtmf", C::Unsupported, 0},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsPrefix(char c) { return c == '+' || c == ';' || c == '|' || c == ','; }

const CommandRow* RowByLetter(char letter) {
  const auto row = std::find_if(kCommands.begin(), kCommands.end(),
                                [letter](const CommandRow& r) { return r.letter == letter; });
  return row == kCommands.end() || letter == '\0' ? nullptr : &*row;
}

const CommandRow* RowByName(std::string_view name) {
  const auto row = std::find_if(kCommands.begin(), kCommands.end(),
                                [name](const CommandRow& r) { return name == r.name; });
  return row == kCommands.end() ? nullptr : &*row;
}

// Reads the requests of a line one after another.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  std::vector<RigctlRequest> Requests() {
    std::vector<RigctlRequest> requests;
    SkipBlanks();
    while (!AtEnd()) {
      if (requests.size() == kMostCommandsOnALine) {
        RigctlRequest tooMany;
        tooMany.error = kRigInvalid;
        return {tooMany};
      }
      requests.push_back(Next());
      const RigctlRequest& last = requests.back();
      if (last.command == RigctlCommand::Unknown || last.command == RigctlCommand::Quit ||
          last.error == kRigInvalid)
        break;
      SkipBlanks();
    }
    return requests;
  }

 private:
  [[nodiscard]] bool AtEnd() const { return at_ >= line_.size(); }
  void SkipBlanks() {
    while (!AtEnd() && IsBlank(line_[at_])) ++at_;
  }
  std::string_view Word() {
    const std::size_t start = at_;
    while (!AtEnd() && !IsBlank(line_[at_])) ++at_;
    return line_.substr(start, at_ - start);
  }

  RigctlRequest Next() {
    RigctlRequest request;
    if (IsPrefix(line_[at_])) {
      request.extended = true;
      request.separator = line_[at_] == '+' ? '\n' : line_[at_];
      ++at_;
    }
    if (AtEnd() || IsBlank(line_[at_])) {  // a prefix alone
      request.error = kRigNotImplemented;
      return request;
    }
    const CommandRow* row = nullptr;
    if (line_[at_] == '\\') {
      ++at_;
      const std::string_view name = Word();
      request.name = std::string(name);
      row = RowByName(name);
    } else {
      row = RowByLetter(line_[at_++]);
    }
    if (row == nullptr) {
      request.error = kRigNotImplemented;
      return request;
    }
    request.command = row->command;
    request.name = row->name;
    for (std::size_t i = 0; i < row->arguments; ++i) {
      SkipBlanks();
      if (AtEnd()) {
        request.error = kRigInvalid;
        return request;
      }
      request.args.emplace_back(Word());
    }
    if (row->command == RigctlCommand::Unsupported) request.error = kRigNotAvailable;
    return request;
  }

  std::string_view line_;
  std::size_t at_ = 0;
};

}  // namespace

bool IsRequestText(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x20 && byte < 0x7F) || byte == '\t' || byte == '\r';
  });
}

std::vector<RigctlRequest> ParseRequestLine(std::string_view line) {
  return LineReader(line).Requests();
}

}  // namespace tavrin::share
