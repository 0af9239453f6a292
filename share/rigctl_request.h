// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The request lines of the rigctld text protocol, as logging and digital-mode programs send
// them to a network rig. A line holds one command or several, each a one-letter command
// ("f", "F 14074000") or a long one ("\get_freq") followed by its arguments, separated by
// blanks or written one after another ("fmv"). A command is answered plain, or in the extended
// form when a prefix stands before it: "+f" (answer lines joined by line ends), ";f", "|f" or
// ",f" (joined by that character); the prefix holds for that command alone.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::share {

enum class RigctlCommand {
  GetFreq,
  SetFreq,
  GetMode,
  SetMode,
  GetVfo,
  SetVfo,
  GetPtt,
  SetPtt,
  GetSplitVfo,
  SetSplitVfo,
  GetSplitFreq,
  SetSplitFreq,
  GetSplitMode,
  SetSplitMode,
  GetVfoInfo,
  DumpState,
  DumpCaps,
  ChkVfo,
  GetPowerstat,
  GetInfo,
  GetLockMode,
  SetLockMode,
  Quit,
  Unsupported,  // a command of the protocol that this transceiver does not offer
  Unknown,      // no command of the protocol at all
};

// Hamlib's error numbers, as the answers carry them ("RPRT -9").
enum RigctlError {
  kRigOk = 0,
  kRigInvalid = 1,  // an argument that is not a value of its kind
  kRigNotImplemented = 4,
  kRigTimeout = 5,        // the transceiver did not answer
  kRigProtocol = 8,       // an answer that is not a well-formed frame
  kRigRejected = 9,       // the transceiver refused (FA) or did not take the value
  kRigNotAvailable = 11,  // the transceiver has no such feature
  kRigBusy = 14,          // the link stayed busy (synchronisation, memory sequence)
};

struct RigctlRequest {
  RigctlCommand command = RigctlCommand::Unknown;
  std::string name;               // long name: "get_freq"
  std::vector<std::string> args;  // as typed
  bool extended = false;
  char separator = '\n';  // between the lines of an extended answer
  int error = kRigOk;     // set: answered at once with this error, nothing is sent
};

// True when the line holds only what a request line may: printable ASCII, tabs and the
// carriage return of a CR LF line end. Any other line is answered "RPRT -1" unread.
bool IsRequestText(std::string_view line);

// The requests on one line (without its line end), in order; none for an empty or blank line.
// Each command takes as many of the following words as it has arguments. A command that is
// none of the protocol's, or one whose arguments are missing, is the last request read from
// the line (its error set): what follows it cannot be told apart from its arguments.
std::vector<RigctlRequest> ParseRequestLine(std::string_view line);

// At most this many commands are read from one line; a longer line is one request whose error
// is kRigInvalid, and nothing of it is sent.
inline constexpr std::size_t kMostCommandsOnALine = 32;

}  // namespace tavrin::share
